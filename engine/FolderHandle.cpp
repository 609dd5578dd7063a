#include "engine/FolderHandle.h"

#include <vector>

namespace engine {

namespace {

constexpr wchar_t kExtendedPrefix[] = L"\\\\?\\";
constexpr wchar_t kExtendedUncPrefix[] = L"\\\\?\\UNC\\";

bool startsWith(const std::wstring& text, const wchar_t* prefix) {
    return text.rfind(prefix, 0) == 0;
}

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// "X:\..." or "\\server\share...": anything else depends on the current drive or folder.
bool isAbsolute(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && isSeparator(path[2]))
        return (path[0] >= L'A' && path[0] <= L'Z') || (path[0] >= L'a' && path[0] <= L'z');
    return path.size() > 2 && isSeparator(path[0]) && isSeparator(path[1]) && path[2] != L'?' &&
           path[2] != L'.';
}

} // namespace

std::wstring ExtendedPath(const std::wstring& path) {
    if (startsWith(path, kExtendedPrefix))
        return path;
    if (!isAbsolute(path))
        return {};
    const DWORD needed = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return {};
    std::vector<wchar_t> full(needed + 1, L'\0');
    const DWORD length =
        GetFullPathNameW(path.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size())
        return {};
    const std::wstring resolved(full.data(), length);
    if (resolved.size() > 2 && isSeparator(resolved[0]) && isSeparator(resolved[1]))
        return kExtendedUncPrefix + resolved.substr(2);
    return kExtendedPrefix + resolved;
}

std::wstring WithoutExtendedPrefix(const std::wstring& path) {
    if (startsWith(path, kExtendedUncPrefix))
        return L"\\\\" + path.substr(8);
    if (startsWith(path, kExtendedPrefix))
        return path.substr(4);
    return path;
}

std::wstring SystemFolder(SystemFolderGetter get) {
    // The length without the zero when it fits, the size needed with the zero when it does
    // not, 0 when there is no such folder.
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
        const UINT length = get(buffer.data(), static_cast<UINT>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return std::wstring(buffer.data(), length);
        buffer.assign(length + 1, L'\0');
    }
    return {};
}

FileHandle OpenFolder(const std::wstring& path) {
    const std::wstring extended = ExtendedPath(path);
    if (extended.empty())
        return {};
    // Backup semantics is what lets CreateFile open a folder at all.
    FileHandle folder(CreateFileW(
        extended.c_str(), FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {};
    return folder;
}

std::wstring FinalPathOf(HANDLE handle) {
    std::vector<wchar_t> buffer(MAX_PATH + 1, L'\0');
    for (;;) {
        const DWORD length =
            GetFinalPathNameByHandleW(handle, buffer.data(), static_cast<DWORD>(buffer.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (length == 0)
            return {};
        if (length < buffer.size())
            return WithoutExtendedPrefix(std::wstring(buffer.data(), length));
        buffer.assign(length + 1, L'\0'); // too small: the length asked for, terminator included
    }
}

bool RemoveEmptyFolder(const std::wstring& path) {
    const std::wstring extended = ExtendedPath(path);
    if (extended.empty())
        return false;
    const FileHandle folder(
        CreateFileW(extended.c_str(), DELETE | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info;
    if (!folder.valid() || !GetFileInformationByHandle(folder.get(), &info) ||
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    // Wine opens a link's target even when asked for the link: only the path the handle
    // reached tells them apart.
    if (CompareStringOrdinal(FinalPathOf(folder.get()).c_str(), -1,
                             WithoutExtendedPrefix(extended).c_str(), -1, TRUE) != CSTR_EQUAL)
        return false;
    FILE_DISPOSITION_INFO disposition{TRUE};
    return SetFileInformationByHandle(folder.get(), FileDispositionInfo, &disposition,
                                      sizeof disposition) != FALSE;
}

} // namespace engine
