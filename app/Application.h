#pragma once
// What the entry point sets before any window exists.
#include <string>

namespace app {

inline constexpr const char* kApplicationTitle = "Quellmoor Brightsweep";
inline constexpr const char* kHelpFileName = "Tidyvane.hlp";

// The help file beside the program, so WinHelp finds it whatever the current folder is.
std::string HelpFilePath();

} // namespace app
