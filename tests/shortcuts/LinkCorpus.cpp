#include "tests/shortcuts/LinkCorpus.h"

#include "engine/Handles.h"
#include "tests/support/TestSupport.h"

#include <windows.h>

#include <random>
#include <stdexcept>

namespace linkcorpus {

namespace {

Bytes readWholeFile(const std::wstring& path) {
    engine::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size))
        throw std::runtime_error("the shortcut corpus cannot be read; pass lnk-corpus.pack");
    Bytes bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
        got != bytes.size())
        throw std::runtime_error("the shortcut corpus was not read whole");
    return bytes;
}

std::uint32_t get(const Bytes& bytes, std::size_t at, std::size_t width) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width && at + i < bytes.size(); ++i)
        value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

} // namespace

std::vector<Shortcut> load() {
    const Bytes pack = readWholeFile(testsupport::argumentEndingWith(L"lnk-corpus.pack"));
    std::size_t at = 0;
    const auto next = [&] {
        const std::size_t length = get(pack, at, 4);
        if (pack.size() - at < 4 || pack.size() - at - 4 < length)
            throw std::runtime_error("the shortcut corpus pack is damaged");
        const auto begin = pack.begin() + static_cast<std::ptrdiff_t>(at + 4);
        at += 4 + length;
        return Bytes(begin, begin + static_cast<std::ptrdiff_t>(length));
    };
    std::vector<Shortcut> corpus;
    while (at < pack.size()) {
        const Bytes name = next();
        corpus.push_back({std::string(name.begin(), name.end()), next()});
    }
    return corpus;
}

std::vector<SizeField> sizeFields(const Bytes& link) {
    std::vector<SizeField> fields;
    // Each field is taken only when it lies inside the file.
    const auto add = [&](const char* name, std::size_t at, std::size_t width) {
        if (at + width <= link.size())
            fields.push_back({name, at, width});
        return get(link, at, width);
    };
    add("HeaderSize", 0, 4);
    const std::uint32_t flags = get(link, 20, 4);
    std::size_t at = 0x4C;
    if (flags & 0x01) {
        const std::size_t listEnd = at + 2 + add("IDListSize", at, 2);
        for (at += 2; at + 2 <= listEnd && at + 2 <= link.size();) {
            const std::uint32_t item = add("ItemIDSize", at, 2);
            if (item == 0)
                break;
            at += item;
        }
        at = listEnd;
    }
    if (flags & 0x02) {
        const std::uint32_t infoSize = add("LinkInfoSize", at, 4);
        const std::uint32_t headerSize = add("LinkInfoHeaderSize", at + 4, 4);
        const char* offsets[] = {"VolumeIDOffset",
                                 "LocalBasePathOffset",
                                 "CommonNetworkRelativeLinkOffset",
                                 "CommonPathSuffixOffset",
                                 "LocalBasePathOffsetUnicode",
                                 "CommonPathSuffixOffsetUnicode"};
        for (std::size_t i = 0; i < (headerSize >= 0x24 ? 6u : 4u); ++i)
            add(offsets[i], at + 12 + 4 * i, 4);
        const std::uint32_t volume = get(link, at + 12, 4);
        if (volume != 0) {
            add("VolumeIDSize", at + volume, 4);
            add("VolumeLabelOffset", at + volume + 12, 4);
        }
        at += infoSize;
    }
    const std::size_t unit = (flags & 0x80) ? 2 : 1;
    for (std::uint32_t stringFlag : {0x04u, 0x08u, 0x10u, 0x20u, 0x40u})
        if (flags & stringFlag)
            at += 2 + unit * add("CountCharacters", at, 2);
    while (at + 4 <= link.size()) {
        const std::uint32_t blockSize = add("BlockSize", at, 4);
        if (blockSize < 4)
            break;
        at += blockSize;
    }
    return fields;
}

SizeField findField(const Bytes& link, const std::string& name) {
    for (const SizeField& field : sizeFields(link))
        if (field.name == name)
            return field;
    throw std::runtime_error("no field " + name);
}

std::uint32_t getField(const Bytes& link, const SizeField& field) {
    return get(link, field.offset, field.width);
}

void setField(Bytes& link, const SizeField& field, std::uint32_t value) {
    for (std::size_t i = 0; i < field.width; ++i)
        link[field.offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::vector<Bytes> mutants(const std::vector<Shortcut>& corpus, std::size_t count,
                           std::uint32_t seed) {
    std::vector<const Bytes*> links;
    for (const Shortcut& shortcut : corpus)
        if (shortcut.bytes.size() >= 0x4C && shortcut.bytes[0] == 0x4C)
            links.push_back(&shortcut.bytes);
    if (links.empty())
        throw std::runtime_error("no shell links in the corpus");
    // Plain modulo on the engine's output: the same damage on every standard library.
    std::mt19937 random(seed);
    const auto below = [&](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    std::vector<Bytes> result;
    while (result.size() < count) {
        Bytes link = *links[below(links.size())];
        switch (below(4)) {
        case 0: // a few bits flipped anywhere
            for (std::size_t flips = 1 + below(4); flips > 0; --flips)
                link[below(link.size())] ^= static_cast<std::uint8_t>(1u << below(8));
            break;
        case 1: // cut short
            link.resize(below(link.size()));
            break;
        default: { // a size field set to a value that breaks it
            const std::vector<SizeField> fields = sizeFields(link);
            const SizeField& field = fields[below(fields.size())];
            const std::uint32_t old = get(link, field.offset, field.width);
            const std::uint32_t values[] = {0,          1,       2,       3,           0xFFFF,
                                            0xFFFFFFFF, old + 1, old - 1, old + 0x100, old * 2};
            setField(link, field, values[below(std::size(values))]);
        }
        }
        result.push_back(std::move(link));
    }
    return result;
}

} // namespace linkcorpus
