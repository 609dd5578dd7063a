#pragma once
// Emptying one folder through handles. The folder is opened once; everything in it is listed,
// opened and deleted relative to that handle, so no path is ever parsed again from the drive
// root: no name can lead the wipe elsewhere and no path length limit applies.
//
// Files that can be opened for exclusive writing go, "desktop.ini" stays; when asked,
// sub-folders are emptied the same way, to any depth, and removed once empty. Links to folders
// are neither entered nor removed. The folder itself always stays. Nothing is reported and
// nothing is retried: whatever cannot go stays where it is.
#include <windows.h>

#include <string>
#include <string_view>

namespace engine {

// Empties the folder behind `folder`, a synchronous handle open for listing (as OpenFolder
// opens it). The handle stays open.
void WipeOpenFolder(HANDLE folder, bool includeSubFolders);

// Deletes the file `name` inside the open folder `folder` through one open for exclusive
// writing, as the wipe deletes each file (no attribute changed, a link's target never
// touched); true when it goes. `name` is used as it stands, never parsed as a path.
bool DeleteFileIn(HANDLE folder, std::wstring_view name);

// Opens `path` with OpenFolder (a link at the path itself is followed) and empties it;
// nothing happens when it cannot be opened.
void WipeFolderAt(const std::wstring& path, bool includeSubFolders);

} // namespace engine
