#include "shortcuts/LinkFormat.h"

#include <array>

namespace shortcuts {

namespace {

using Bytes = std::span<const std::uint8_t>;

// Every read goes through these: an offset and a length from the file are only trusted
// once they are known to lie inside the bytes at hand. Written as `length <= size - at`
// so that no sum of two file values can wrap around.
bool fits(Bytes bytes, std::size_t at, std::size_t length) {
    return at <= bytes.size() && length <= bytes.size() - at;
}

bool readU16(Bytes bytes, std::size_t at, std::uint32_t& value) {
    if (!fits(bytes, at, 2))
        return false;
    value = static_cast<std::uint32_t>(bytes[at] | (bytes[at + 1] << 8));
    return true;
}

bool readU32(Bytes bytes, std::size_t at, std::uint32_t& value) {
    if (!fits(bytes, at, 4))
        return false;
    value = static_cast<std::uint32_t>(bytes[at]) |
            (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
            (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
            (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
    return true;
}

// A zero-terminated string of bytes that starts at `at` and ends inside `bytes`.
bool hasAnsiString(Bytes bytes, std::size_t at) {
    for (std::size_t i = at; i < bytes.size(); ++i)
        if (bytes[i] == 0)
            return true;
    return false;
}

// A zero-terminated string of UTF-16 units that starts at `at` and ends inside `bytes`.
bool hasUnicodeString(Bytes bytes, std::size_t at) {
    for (std::size_t i = at; fits(bytes, i, 2); i += 2)
        if (bytes[i] == 0 && bytes[i + 1] == 0)
            return true;
    return false;
}

constexpr std::size_t HeaderSize = 0x4C;
constexpr std::array<std::uint8_t, 16> LinkClsid = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlags : std::uint32_t {
    HasLinkTargetIdList = 0x01,
    HasLinkInfo = 0x02,
    HasName = 0x04,
    HasRelativePath = 0x08,
    HasWorkingDir = 0x10,
    HasArguments = 0x20,
    HasIconLocation = 0x40,
    IsUnicode = 0x80,
};

// An item ID list whose items fill `list` exactly, the last two bytes being the
// terminal ID. An item's size counts its own two bytes.
bool isIdList(Bytes list) {
    std::size_t at = 0;
    for (;;) {
        std::uint32_t itemSize = 0;
        if (!readU16(list, at, itemSize))
            return false;
        if (itemSize == 0)
            return at + 2 == list.size();
        if (itemSize < 2 || !fits(list, at, itemSize))
            return false;
        at += itemSize;
    }
}

// The network location inside the link information: its fixed fields, then the share
// and device names, which must end inside it.
bool isNetworkLink(Bytes link) {
    constexpr std::uint32_t ValidDevice = 0x01;
    std::uint32_t size = 0, flags = 0, netName = 0, deviceName = 0;
    if (!readU32(link, 0, size) || size < 0x14 || !fits(link, 0, size))
        return false;
    link = link.first(size);
    readU32(link, 4, flags);
    readU32(link, 8, netName);
    readU32(link, 12, deviceName);
    if (!hasAnsiString(link, netName))
        return false;
    if ((flags & ValidDevice) ? !hasAnsiString(link, deviceName) : deviceName != 0)
        return false;
    // Share names beyond the fixed fields mean the Unicode offsets follow them.
    if (netName > 0x14) {
        std::uint32_t netNameUnicode = 0, deviceNameUnicode = 0;
        if (!readU32(link, 0x14, netNameUnicode) || !readU32(link, 0x18, deviceNameUnicode))
            return false;
        if (!hasUnicodeString(link, netNameUnicode))
            return false;
        if ((flags & ValidDevice) && !hasUnicodeString(link, deviceNameUnicode))
            return false;
    }
    return true;
}

// The volume the target lay on: its size, and the label string inside it.
bool isVolumeId(Bytes volume) {
    std::uint32_t size = 0, label = 0;
    if (!readU32(volume, 0, size) || size <= 0x10 || !fits(volume, 0, size))
        return false;
    volume = volume.first(size);
    readU32(volume, 12, label);
    if (label != 0x14)
        return hasAnsiString(volume, label);
    std::uint32_t labelUnicode = 0;
    return readU32(volume, 0x10, labelUnicode) && hasUnicodeString(volume, labelUnicode);
}

// The link information: `info` starts at its size field and runs to the end of the file.
// Every offset counts from its start and everything must lie inside its stated size.
// Returns that size, or 0 when it does not add up.
std::size_t linkInfoSize(Bytes info) {
    constexpr std::uint32_t VolumeIdAndLocalBasePath = 0x01;
    constexpr std::uint32_t CommonNetworkRelativeLinkAndPathSuffix = 0x02;
    constexpr std::uint32_t ShortHeader = 0x1C, LongHeader = 0x24;

    std::uint32_t size = 0, headerSize = 0;
    if (!readU32(info, 0, size) || size < ShortHeader || !fits(info, 0, size))
        return 0;
    info = info.first(size);
    readU32(info, 4, headerSize);
    if ((headerSize != ShortHeader && headerSize < LongHeader) || headerSize > size)
        return 0;
    std::uint32_t flags = 0, volumeId = 0, localBasePath = 0, network = 0, commonSuffix = 0;
    readU32(info, 8, flags);
    readU32(info, 12, volumeId);
    readU32(info, 16, localBasePath);
    readU32(info, 20, network);
    readU32(info, 24, commonSuffix);

    // An offset whose part the flags do not announce must be zero: readers that look at
    // the offset rather than the flag would otherwise follow it.
    if (flags & VolumeIdAndLocalBasePath) {
        if (!fits(info, volumeId, 0) || !isVolumeId(info.subspan(volumeId)) ||
            !hasAnsiString(info, localBasePath))
            return 0;
    } else if (volumeId != 0 || localBasePath != 0) {
        return 0;
    }
    if (flags & CommonNetworkRelativeLinkAndPathSuffix) {
        if (!fits(info, network, 0) || !isNetworkLink(info.subspan(network)))
            return 0;
    } else if (network != 0) {
        return 0;
    }
    if (!hasAnsiString(info, commonSuffix))
        return 0;

    if (headerSize >= LongHeader) {
        std::uint32_t localBasePathUnicode = 0, commonSuffixUnicode = 0;
        readU32(info, 28, localBasePathUnicode);
        readU32(info, 32, commonSuffixUnicode);
        if ((flags & VolumeIdAndLocalBasePath) ? !hasUnicodeString(info, localBasePathUnicode)
                                               : localBasePathUnicode != 0)
            return 0;
        if (!hasUnicodeString(info, commonSuffixUnicode))
            return 0;
    }
    return size;
}

// The serialized property storages of a property store block: each storage's size
// (counting its own field) and its values' sizes must add up to a terminating zero.
bool isPropertyStore(Bytes store) {
    constexpr std::uint32_t StorageHeader = 0x18; // size, version, format ID
    std::size_t at = 0;
    for (;;) {
        std::uint32_t storageSize = 0;
        if (!readU32(store, at, storageSize))
            return false;
        if (storageSize == 0)
            return true;
        if (storageSize < StorageHeader || !fits(store, at, storageSize))
            return false;
        const Bytes storage = store.subspan(at, storageSize);
        for (std::size_t value = StorageHeader;;) {
            std::uint32_t valueSize = 0;
            if (!readU32(storage, value, valueSize))
                return false;
            if (valueSize == 0)
                break;
            if (valueSize < 4 || !fits(storage, value, valueSize))
                return false;
            value += valueSize;
        }
        at += storageSize;
    }
}

// One extra data block of `size` bytes (signature included): the blocks whose layout the
// format fixes must have exactly that size; the others need only lie inside the file.
bool isExtraBlock(Bytes block) {
    std::uint32_t signature = 0;
    readU32(block, 4, signature);
    const std::size_t size = block.size();
    switch (signature) {
    case 0xA0000001: // environment variables: ANSI and Unicode paths of fixed length
    case 0xA0000006: // Darwin (installer) identifier, the same layout
    case 0xA0000007: // icon environment, the same layout
        return size == 0x314 && hasAnsiString(block.first(0x10C), 8) &&
               hasUnicodeString(block, 0x10C);
    case 0xA0000002: // console
        return size == 0xCC;
    case 0xA0000003: { // distributed link tracker
        std::uint32_t length = 0;
        readU32(block, 8, length);
        return size == 0x60 && length == 0x58;
    }
    case 0xA0000004: // console code page
        return size == 0x0C;
    case 0xA0000005: // special folder
        return size == 0x10;
    case 0xA0000008: // shim layer name
        return size >= 0x88;
    case 0xA0000009: // property store
        return size >= 0x0C && isPropertyStore(block.subspan(8));
    case 0xA000000B: // known folder
        return size == 0x1C;
    case 0xA000000C: // the item ID list as Vista and later write it
        return size >= 0x0A && isIdList(block.subspan(8));
    default:
        return true;
    }
}

// The extra data: blocks of at least a size and a signature, each inside the file, until
// the terminal block, whose size field is below 4.
bool isExtraData(Bytes data) {
    std::size_t at = 0;
    for (;;) {
        std::uint32_t blockSize = 0;
        if (!readU32(data, at, blockSize))
            return false;
        if (blockSize < 4)
            return true;
        if (blockSize < 8 || !fits(data, at, blockSize) ||
            !isExtraBlock(data.subspan(at, blockSize)))
            return false;
        at += blockSize;
    }
}

} // namespace

bool IsWellFormedLink(std::span<const std::uint8_t> bytes) {
    if (bytes.size() > MaxLinkFileSize || bytes.size() < HeaderSize)
        return false;
    std::uint32_t headerSize = 0, flags = 0;
    readU32(bytes, 0, headerSize);
    readU32(bytes, 20, flags);
    if (headerSize != HeaderSize)
        return false;
    for (std::size_t i = 0; i < LinkClsid.size(); ++i)
        if (bytes[4 + i] != LinkClsid[i])
            return false;

    std::size_t at = HeaderSize;
    if (flags & HasLinkTargetIdList) {
        std::uint32_t listSize = 0;
        if (!readU16(bytes, at, listSize) || !fits(bytes, at + 2, listSize) ||
            !isIdList(bytes.subspan(at + 2, listSize)))
            return false;
        at += 2 + listSize;
    }
    if (flags & HasLinkInfo) {
        const std::size_t infoSize = linkInfoSize(bytes.subspan(at));
        if (infoSize == 0)
            return false;
        at += infoSize;
    }
    const std::size_t unitSize = (flags & IsUnicode) ? 2 : 1;
    for (const std::uint32_t stringFlag :
         {HasName, HasRelativePath, HasWorkingDir, HasArguments, HasIconLocation}) {
        if (!(flags & stringFlag))
            continue;
        std::uint32_t characters = 0;
        if (!readU16(bytes, at, characters) || !fits(bytes, at + 2, characters * unitSize))
            return false;
        at += 2 + characters * unitSize;
    }
    return isExtraData(bytes.subspan(at));
}

} // namespace shortcuts
