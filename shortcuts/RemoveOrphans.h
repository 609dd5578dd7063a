#pragma once
// Removing the orphaned shortcuts the user kept ticked.
#include <string>
#include <vector>

namespace shortcuts {

// The folder that directly holds `path`: everything before its last "\", keeping that "\"
// when it follows a drive's ":" or another "\" (C:\x.lnk gives C:\). "" without one.
std::wstring FolderOfShortcut(const std::wstring& path);

// Deletes each shortcut that can be opened for exclusive writing, in order; with
// `removeEmptyFolders`, then tries to remove the folder that held it, which the system
// refuses while anything is left in it. A shell folder itself (the Desktop, the Start
// Menu...) is never removed. Failures pass in silence.
void RemoveOrphanedShortcuts(const std::vector<std::wstring>& paths, bool removeEmptyFolders);

} // namespace shortcuts
