#include "engine/Wipe.h"

#include "engine/FolderEntries.h"
#include "engine/Handles.h"

#include <windows.h>

#include <cstring>

namespace engine {

namespace {

// The probe's copy of a file name: 260 characters and the terminating zero.
constexpr size_t kMaxFileName = 260;

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

bool isDesktopIni(const char* name) {
    static const char kName[] = "desktop.ini";
    for (size_t i = 0;; ++i) {
        char c = name[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != kName[i])
            return false;
        if (c == '\0')
            return true;
    }
}

// An empty path would name the root of the current drive and a relative one the current
// folder: neither is a folder anybody chose, so only "X:\..." and "\\server\share..."
// are wiped.
bool isAbsolutePath(const std::string& path) {
    if (path.size() >= 3 && path[1] == ':' && isSeparator(path[2])) {
        const char drive = path[0];
        return (drive >= 'A' && drive <= 'Z') || (drive >= 'a' && drive <= 'z');
    }
    if (path.size() < 5 || !isSeparator(path[0]) || !isSeparator(path[1]))
        return false;
    const size_t serverEnd = path.find_first_of("\\/", 2);
    return serverEnd != std::string::npos && serverEnd > 2 && serverEnd + 1 < path.size() &&
           !isSeparator(path[serverEnd + 1]);
}

// The first sub-folder as the enumeration returns it, with its attribute bits.
std::string firstSubFolder(const std::string& folder, DWORD& attributes) {
    const std::string base = WithBackslash(folder);
    std::string found;
    ForEachEntry(base, [&](const WIN32_FIND_DATAA& entry) {
        if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            return true;
        attributes = entry.dwFileAttributes;
        found = base + entry.cFileName;
        return false;
    });
    return found;
}

void wipeTree(const std::string& folder, bool includeSubFolders) {
    if (includeSubFolders) {
        std::string previous;
        DWORD attributes = 0;
        std::string current = firstSubFolder(folder, attributes);
        // A removed sub-folder changes the listing, so the parent is listed again from its
        // start each time; a sub-folder that stays comes back first and ends the loop.
        while (!current.empty() && current != previous) {
            // A junction, symbolic link or mount point leads out of the chosen folder: it
            // is neither entered nor removed, so it stays like any folder that stays.
            if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                wipeTree(current, true);
                RemoveDirectoryA(current.c_str()); // fails, harmlessly, while anything is left
            }
            previous = std::move(current);
            current = firstSubFolder(folder, attributes);
        }
    }
    DeleteFolderFiles(folder);
}

} // namespace

void WipeFolder(const std::string& folder, bool includeSubFolders) {
    if (!isAbsolutePath(folder))
        return;
    wipeTree(folder, includeSubFolders);
}

void DeleteFolderFiles(const std::string& folder) {
    if (!isAbsolutePath(folder))
        return;
    const std::string base = WithBackslash(folder);
    // Files go while the listing is open: no list of names is collected, so memory stays
    // flat however large the folder is.
    std::string fullName;
    ForEachEntry(base, [&](const WIN32_FIND_DATAA& entry) {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            return;
        fullName.assign(base).append(entry.cFileName);
        if (IsFileWritable(fullName) && !isDesktopIni(entry.cFileName))
            DeleteFileA(fullName.c_str()); // a file that will not go simply stays
    });
}

std::string FirstSubFolder(const std::string& folder) {
    DWORD attributes = 0;
    return firstSubFolder(folder, attributes);
}

bool IsFileWritable(const std::string& fileName) {
    // A longer name would be cut short and the probe would test some other file: a name
    // that does not fit is never probed, so its file stays.
    if (fileName.size() > kMaxFileName)
        return false;
    char name[kMaxFileName + 1];
    std::memcpy(name, fileName.c_str(), fileName.size() + 1);
    FileHandle file(CreateFileA(name, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file.valid())
        return false;
    return file.close();
}

} // namespace engine
