// Opening the help file. It ships beside the exe, so it is opened by its full path:
// WinHelp would otherwise look for a bare name in the current folder and along the path.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// Asks WinHelp to show `helpFile` (a full path) at its contents (HELP_CONTENTS) or at a
// topic by number (HELP_CONTEXT). Returns false when there is no path or no viewer.
bool showHelp(HWND owner, const std::wstring& helpFile, UINT command, ULONG_PTR data);

} // namespace app
