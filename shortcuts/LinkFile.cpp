#include "shortcuts/LinkFile.h"

#include "engine/Handles.h"
#include "shortcuts/ComPtr.h"
#include "shortcuts/LinkFormat.h"

#include <shlwapi.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace shortcuts {

namespace {

std::optional<std::vector<std::uint8_t>> readLinkFile(const std::wstring& path) {
    // Read sharing only: no one can be writing the file while it is open, so the size
    // asked for is the size read.
    const engine::FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file.valid() || !GetFileSizeEx(file.get(), &size) ||
        size.QuadPart > static_cast<LONGLONG>(MaxLinkFileSize))
        return std::nullopt;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) ||
        read != bytes.size())
        return std::nullopt;
    return bytes;
}

} // namespace

bool LoadCheckedLink(IPersistStream* link, const std::wstring& path) {
    const std::optional<std::vector<std::uint8_t>> bytes = readLinkFile(path);
    if (!bytes || !IsWellFormedLink(*bytes))
        return false;
    const ComPtr<IStream> stream(
        SHCreateMemStream(bytes->data(), static_cast<UINT>(bytes->size())));
    return stream && SUCCEEDED(link->Load(stream.get()));
}

} // namespace shortcuts
