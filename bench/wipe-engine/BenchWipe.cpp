// Wipes one folder with its sub-folders and exits: the engine alone, for the wipe benchmark
// and for profiling it without the program around it.
#include "engine/HandleWipe.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count != 2) {
        std::fputs("usage: bench_wipe_engine FOLDER\n", stderr);
        return 2;
    }
    engine::WipeFolderAt(arguments[1], true);
    LocalFree(arguments);
    return 0;
}
