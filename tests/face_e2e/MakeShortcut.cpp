// Saves a shortcut through the shell: MakeShortcut <link file> <target>. Used to lay out
// orphaned shortcuts for the screenshots.
#include "tests/shortcuts/LinkFixtures.h"

#include <windows.h>

#include <shellapi.h>

#include <exception>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 3)
        return 2;
    try {
        linkfixtures::makeShortcut(argv[1], argv[2]);
        return 0;
    } catch (const std::exception&) {
        return 1;
    }
}
