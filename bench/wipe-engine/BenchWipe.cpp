// Wipes one folder with its sub-folders and exits: the engine alone, for the wipe benchmark
// and for profiling it without the program around it.
#include "engine/Wipe.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2) {
        std::fputs("usage: bench_wipe_engine FOLDER\n", stderr);
        return 2;
    }
    engine::WipeFolder(argv[1], true);
    return 0;
}
