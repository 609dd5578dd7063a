#pragma once
// The places no wipe may start from: drive roots, the Windows and system folders, Program
// Files, ProgramData, the Users folder, every profile and the user's own shell folders.
// A folder that is, or holds, one of them is refused as the root of a wipe; a folder inside
// one (a Temp folder, Downloads) is fine.
#include "engine/Handles.h"

#include <string>
#include <vector>

namespace engine {

// The protected places of this machine, each both as the system names it and as the final
// path it leads to when it exists, so that a place reached through a link is also known by
// what it really is.
std::vector<std::wstring> ProtectedPlaces();

// True when `finalPath` is a drive or share root, is not a plain "X:\..." or
// "\\server\share\..." path, or is or contains one of `places`. Letter case and trailing
// backslashes do not count; only whole components match ("C:\Users2" holds nothing of
// "C:\Users").
bool IsProtectedPath(const std::wstring& finalPath, const std::vector<std::wstring>& places);

// Opens `path` as the root of a wipe, following ".." and links to the folder it really is.
// Empty when it cannot be opened, when its final path cannot be read, or when that final
// path is protected. The wipe goes on through this handle, so nothing can be swapped in
// between the check and the wipe.
FileHandle OpenWipeRoot(const std::wstring& path);
// The same against a list of places the caller made once for several roots.
FileHandle OpenWipeRoot(const std::wstring& path, const std::vector<std::wstring>& places);

// Whether a folder offered for the user's list is protected: its final path when it can be
// opened, otherwise the full path as written.
bool IsProtectedFolder(const std::wstring& path);

} // namespace engine
