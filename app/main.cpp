// Entry point: hands the command line to the program and reports what escapes it.
#include "app/Program.h"
#include "ui/Window.h"

#include <windows.h>

#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        std::vector<std::string> args;
        for (int i = 1; i < __argc; ++i)
            args.emplace_back(__argv[i]);
        return app::RunProgram(args);
    } catch (const std::exception& e) {
        ui::reportError(e.what());
    }
    return 1;
}
