// The help file ships beside the exe, so it is opened by its full path: WinHelp would
// otherwise look for a bare name in the current folder and along the path.
#pragma once

#include <windows.h>

#include <string>

namespace bs {

constexpr const char* kHelpFileName = "Tidyvane.hlp";

// The full path of the help file beside the running exe ("" if the exe path is unknown).
std::string helpFilePath();

// The folder part of an exe path, with its closing backslash, followed by `fileName`.
std::string besideExe(const std::string& exePath, const std::string& fileName);

// Asks WinHelp to show the help file's contents (HELP_CONTENTS) or a topic by number
// (HELP_CONTEXT). Returns false when the viewer could not be reached.
bool showHelp(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data);

inline bool showHelpContents(HWND owner) {
    return showHelp(owner, helpFilePath(), HELP_CONTENTS, 0);
}
inline bool showHelpTopic(HWND owner, DWORD topic) {
    return showHelp(owner, helpFilePath(), HELP_CONTEXT, topic);
}

} // namespace bs
