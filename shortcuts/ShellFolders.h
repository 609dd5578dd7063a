#pragma once
// The shell's "Shell Folders" key: where the Desktop, the Start Menu and the other shell
// folders are. Every read of it goes through here.
#include <windows.h>

#include <string>
#include <vector>

namespace shortcuts {

inline constexpr const wchar_t* ShellFoldersKey =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// The path stored under `valueName` in the key of `root`, as stored ("" when the key or the
// value is missing). A value of another type raises the registry's "Invalid data type for
// '%s'".
std::wstring ReadShellFolder(const std::wstring& valueName, HKEY root = HKEY_CURRENT_USER);

// Every folder named in the key, the user's and the machine's; unreadable values are left out.
std::vector<std::wstring> AllShellFolders();

} // namespace shortcuts
