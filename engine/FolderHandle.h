#pragma once
// Opening a folder that is to be listed or wiped, and reading back where a handle really
// leads. Every later step works through the handle, never through the path again.
#include "engine/Handles.h"

#include <windows.h>

#include <string>

namespace engine {

// The folder with a trailing backslash, ready for a name to be appended.
inline std::wstring WithBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// The absolute form of `path` in the "\\?\" namespace, so that no length limit applies and
// names ending in a dot or a space are kept as they are; "" for a relative or empty path.
// ".." and "." are resolved first, textually.
std::wstring ExtendedPath(const std::wstring& path);
// The plain form of an extended path ("\\?\C:\x" gives "C:\x", "\\?\UNC\s\x" gives
// "\\s\x"); any other path as it stands.
std::wstring WithoutExtendedPrefix(const std::wstring& path);

// A folder of the system by the getter that names it (GetWindowsDirectoryW and its
// siblings); "" when there is no such folder.
using SystemFolderGetter = UINT(WINAPI*)(LPWSTR, UINT);
std::wstring SystemFolder(SystemFolderGetter get);

// Opens an existing folder for listing and for opening what it holds relative to it. The
// path itself may be a link (a moved Temp folder often is): it is followed. Other
// processes may go on reading, writing and deleting in it. Empty when it cannot be opened
// or is not a folder.
FileHandle OpenFolder(const std::wstring& path);

// The final path of an open file or folder, after every link and ".." ("C:\Users\x" or
// "\\server\share\x", without the "\\?\" prefix); "" when the system cannot tell.
std::wstring FinalPathOf(HANDLE handle);

// Removes the folder at `path` when it is empty, through a handle: never a link in its
// place, nor, when links lead elsewhere on the way, the folder they lead to (the handle
// must have reached `path` itself). False when it stays.
bool RemoveEmptyFolder(const std::wstring& path);

} // namespace engine
