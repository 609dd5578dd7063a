// Entry point: hands the command line to the program and reports what escapes it.
#include "app/Program.h"
#include "ui/Window.h"

#include <windows.h>

#include <shellapi.h>

#include <exception>
#include <string>
#include <vector>

namespace {

// The arguments after the program's name, as the system splits the wide command line.
std::vector<std::wstring> commandLineArguments() {
    std::vector<std::wstring> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return args;
    for (int i = 1; i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    try {
        return app::RunProgram(commandLineArguments());
    } catch (const std::exception& e) {
        ui::reportException(e);
    }
    return 1;
}
