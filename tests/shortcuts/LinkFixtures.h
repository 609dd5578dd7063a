#pragma once
// Makes real shortcut files through the shell's shell-link object, the way Explorer does.
#include <windows.h>

#include <string>

namespace linkfixtures {

struct LinkOptions {
    std::wstring arguments;
    std::wstring workingDir;
    std::wstring description;
    std::wstring iconFile;
    int iconIndex = 0;
    int showCmd = SW_SHOWNORMAL;
    WORD hotKey = 0;
};

// Writes `linkPath` pointing at `target`. Throws std::runtime_error when the shell refuses.
void makeShortcut(const std::wstring& linkPath, const std::wstring& target,
                  const LinkOptions& options = {});
// Writes a shortcut to the target, which is made first (as a file) and deleted afterwards,
// as when a program has been uninstalled.
void makeOrphan(const std::wstring& linkPath, const std::wstring& target);
// A shortcut that holds only a shell item (My Computer): it has no file-system path.
void makeIdListShortcut(const std::wstring& linkPath);
// A file named like a shortcut that the shell cannot read.
void makeCorruptShortcut(const std::wstring& linkPath);

} // namespace linkfixtures
