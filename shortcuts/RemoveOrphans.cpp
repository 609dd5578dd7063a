#include "shortcuts/RemoveOrphans.h"

#include "engine/FolderHandle.h"
#include "engine/HandleWipe.h"
#include "shortcuts/ShellFolders.h"
#include "shortcuts/ShellLnk.h"

#include <windows.h>

#include <algorithm>

namespace shortcuts {

namespace {

std::wstring comparable(std::wstring path) {
    while (path.size() > 3 && path.back() == L'\\')
        path.pop_back();
    return AsciiUpper(path);
}

} // namespace

std::wstring FolderOfShortcut(const std::wstring& path) {
    const auto slash = path.find_last_of(L'\\');
    if (slash == std::wstring::npos)
        return {};
    if (slash > 0 && (path[slash - 1] == L':' || path[slash - 1] == L'\\'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

void RemoveOrphanedShortcuts(const std::vector<std::wstring>& paths, bool removeEmptyFolders) {
    // An orphan lying directly on the Desktop or in the Start Menu must not take that shell
    // folder with it when it was the folder's last item.
    std::vector<std::wstring> shellFolders;
    if (removeEmptyFolders)
        for (const auto& folder : AllShellFolders())
            shellFolders.push_back(comparable(folder));
    for (const auto& path : paths) {
        const std::wstring folder = FolderOfShortcut(path);
        // The program's rule for every deletion: only a file it could open for exclusive
        // writing goes, so a read-only or open shortcut stays (Wine would delete it). The name
        // is opened inside its folder, never parsed again as part of a path.
        if (const engine::FileHandle opened = engine::OpenFolder(folder))
            engine::DeleteFileIn(opened.get(), path.substr(path.find_last_of(L'\\') + 1));
        if (removeEmptyFolders && !folder.empty() &&
            std::find(shellFolders.begin(), shellFolders.end(), comparable(folder)) ==
                shellFolders.end())
            engine::RemoveEmptyFolder(folder);
    }
}

} // namespace shortcuts
