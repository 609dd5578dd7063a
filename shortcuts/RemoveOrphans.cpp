#include "shortcuts/RemoveOrphans.h"

#include "engine/Wipe.h"
#include "shortcuts/ShellFolders.h"
#include "shortcuts/ShellLnk.h"

#include <windows.h>

#include <algorithm>

namespace shortcuts {

namespace {

std::string comparable(std::string path) {
    while (path.size() > 3 && path.back() == '\\')
        path.pop_back();
    return AsciiUpper(path);
}

} // namespace

std::string FolderOfShortcut(const std::string& path) {
    const auto slash = path.find_last_of('\\');
    if (slash == std::string::npos)
        return {};
    if (slash > 0 && (path[slash - 1] == ':' || path[slash - 1] == '\\'))
        return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

void RemoveOrphanedShortcuts(const std::vector<std::string>& paths, bool removeEmptyFolders) {
    // An orphan lying directly on the Desktop or in the Start Menu must not take that shell
    // folder with it when it was the folder's last item.
    std::vector<std::string> shellFolders;
    if (removeEmptyFolders)
        for (const auto& folder : AllShellFolders())
            shellFolders.push_back(comparable(folder));
    for (const auto& path : paths) {
        // The program's rule for every deletion: only a file it could open for exclusive
        // writing goes, so a read-only or open shortcut stays (Wine would delete it).
        if (engine::IsFileWritable(path))
            DeleteFileA(path.c_str());
        const std::string folder = FolderOfShortcut(path);
        if (removeEmptyFolders && !folder.empty() &&
            std::find(shellFolders.begin(), shellFolders.end(), comparable(folder)) ==
                shellFolders.end())
            RemoveDirectoryA(folder.c_str());
    }
}

} // namespace shortcuts
