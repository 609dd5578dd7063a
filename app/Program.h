#pragma once
// The program from start to end: the application object, the main window, the removal
// dialog and the message loop. The entry point hands it the command-line arguments.
#include <string>
#include <vector>

namespace app {

// Runs the program with `args` (without the program name); returns the exit code.
int RunProgram(const std::vector<std::wstring>& args);

} // namespace app
