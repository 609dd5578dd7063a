#include "engine/Wipe.h"

#include "engine/FolderEntries.h"
#include "engine/Handles.h"

#include <windows.h>

#include <cstring>

namespace engine {

namespace {

// The probe's copy of a file name: 260 characters and the terminating zero.
constexpr size_t kMaxFileName = 260;

bool isSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

bool isDesktopIni(const wchar_t* name) {
    static const wchar_t kName[] = L"desktop.ini";
    for (size_t i = 0;; ++i) {
        wchar_t c = name[i];
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != kName[i])
            return false;
        if (c == L'\0')
            return true;
    }
}

// An empty path would name the root of the current drive and a relative one the current
// folder: neither is a folder anybody chose, so only "X:\..." and "\\server\share..."
// are wiped.
bool isAbsolutePath(const std::wstring& path) {
    if (path.size() >= 3 && path[1] == L':' && isSeparator(path[2])) {
        const wchar_t drive = path[0];
        return (drive >= L'A' && drive <= L'Z') || (drive >= L'a' && drive <= L'z');
    }
    if (path.size() < 5 || !isSeparator(path[0]) || !isSeparator(path[1]))
        return false;
    const size_t serverEnd = path.find_first_of(L"\\/", 2);
    return serverEnd != std::wstring::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
           !isSeparator(path[serverEnd + 1]);
}

// The first sub-folder as the enumeration returns it, with its attribute bits.
std::wstring firstSubFolder(const std::wstring& folder, DWORD& attributes) {
    const std::wstring base = WithBackslash(folder);
    std::wstring found;
    ForEachEntry(base, [&](const WIN32_FIND_DATAW& entry) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
        attributes = entry.dwFileAttributes;
        found = base + entry.cFileName;
        return false;
    });
    return found;
}

void wipeTree(const std::wstring& folder, bool includeSubFolders) {
    if (includeSubFolders) {
        std::wstring previous;
        DWORD attributes = 0;
        std::wstring current = firstSubFolder(folder, attributes);
        // A removed sub-folder changes the listing, so the parent is listed again from its
        // start each time; a sub-folder that stays comes back first and ends the loop.
        while (!current.empty() && current != previous) {
            // A junction, symbolic link or mount point leads out of the chosen folder: it
            // is neither entered nor removed, so it stays like any folder that stays.
            if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                wipeTree(current, true);
                RemoveDirectoryW(current.c_str()); // fails, harmlessly, while anything is left
            }
            previous = std::move(current);
            current = firstSubFolder(folder, attributes);
        }
    }
    DeleteFolderFiles(folder);
}

} // namespace

void WipeFolder(const std::wstring& folder, bool includeSubFolders) {
    if (!isAbsolutePath(folder))
        return;
    wipeTree(folder, includeSubFolders);
}

void DeleteFolderFiles(const std::wstring& folder) {
    if (!isAbsolutePath(folder))
        return;
    const std::wstring base = WithBackslash(folder);
    // Files go while the listing is open: no list of names is collected, so memory stays
    // flat however large the folder is.
    std::wstring fullName;
    ForEachEntry(base, [&](const WIN32_FIND_DATAW& entry) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return;
        fullName.assign(base).append(entry.cFileName);
        if (IsFileWritable(fullName) && !isDesktopIni(entry.cFileName))
            DeleteFileW(fullName.c_str()); // a file that will not go simply stays
    });
}

std::wstring FirstSubFolder(const std::wstring& folder) {
    DWORD attributes = 0;
    return firstSubFolder(folder, attributes);
}

bool IsFileWritable(const std::wstring& fileName) {
    // A longer name would be cut short and the probe would test some other file: a name
    // that does not fit is never probed, so its file stays.
    if (fileName.size() > kMaxFileName)
        return false;
    wchar_t name[kMaxFileName + 1];
    std::memcpy(name, fileName.c_str(), (fileName.size() + 1) * sizeof(wchar_t));
    FileHandle file(CreateFileW(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid())
        return false;
    return file.close();
}

} // namespace engine
