// Wipes one folder and exits, for the tests the host drives (links the host makes):
//   wipe_folder_at FOLDER [--files-only]
#include "engine/HandleWipe.h"

#include <windows.h>

#include <shellapi.h>

#include <string>

int main() {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!arguments || count < 2 || count > 3)
        return 2;
    const bool filesOnly = count == 3 && std::wstring(arguments[2]) == L"--files-only";
    engine::WipeFolderAt(arguments[1], !filesOnly);
    LocalFree(arguments);
    return 0;
}
