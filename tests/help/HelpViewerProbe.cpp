// Opens the help file through WinHelp and waits until the viewer shows the topic asked
// for: its window is captioned with the help file's title and its text starts with the
// topic's title (every topic opens with its own title as a heading).
//   help_viewer_probe HLPFILE contents|N TITLE   exit 0 when shown, 1 if not within 20 s
//   help_viewer_probe HLPFILE follow TITLE       from the contents, click the link TITLE
//   help_viewer_probe HLPFILE quit               closes the viewer
#include "app/HelpFile.h"
#include "tests/help/ViewerWindow.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv)
        return 2;
    if (argc == 3 && std::wstring(argv[2]) == L"quit") {
        WinHelpW(nullptr, argv[1], HELP_QUIT, 0);
        return 0;
    }
    if (argc != 4) {
        std::fprintf(stderr,
                     "usage: help_viewer_probe HLPFILE contents|N|follow TITLE | HLPFILE quit\n");
        return 2;
    }
    const std::wstring which = argv[2];
    if (which == L"follow") {
        // Follows the contents topic's link to the topic, as a user would.
        if (!bstest::waitForHelpTopic(L"Brightsweep Help", L"Brightsweep Help", 20000).ok ||
            !bstest::clickViewerText(L"Brightsweep Help", argv[3])) {
            std::printf("no link \"%ls\" in the contents topic\n", argv[3]);
            return 1;
        }
        const auto shown = bstest::waitForHelpTopic(L"Brightsweep Help", argv[3], 10000);
        std::printf("viewer shows: %ls\n", shown.text.substr(0, 80).c_str());
        return shown.ok ? 0 : 1;
    }
    // The program's own way of asking WinHelp, so its retry is exercised too.
    const bool asked =
        which == L"contents"
            ? app::CallHelpViewer(nullptr, {app::HelpViewer::WinHlp32, argv[1], HELP_CONTENTS, 0})
            : app::CallHelpViewer(nullptr, {app::HelpViewer::WinHlp32, argv[1], HELP_CONTEXT,
                                            std::wcstoul(argv[2], nullptr, 10)});
    if (!asked) {
        std::printf("WinHelp could not be reached (%lu)\n", GetLastError());
        return 1;
    }
    const auto shown = bstest::waitForHelpTopic(L"Brightsweep Help", argv[3], 20000);
    std::printf("viewer shows: %ls\n", shown.text.substr(0, 80).c_str());
    return shown.ok ? 0 : 1;
}
