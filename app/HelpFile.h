// Opening the help file. It ships beside the exe, so it is opened by its full path:
// WinHelp would otherwise look for a bare name in the current folder and along the path.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// The folder part of an exe path, with its closing backslash, followed by `fileName`;
// "" when the path has no folder part.
std::string besideExe(const std::string& exePath, const std::string& fileName);

// Asks WinHelp to show `helpFile` (a full path) at its contents (HELP_CONTENTS) or at a
// topic by number (HELP_CONTEXT). Returns false when there is no path or no viewer.
bool showHelp(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data);

} // namespace app
