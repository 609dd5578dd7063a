// Entry point: the application's title and help file, the main window, the message loop.
#include "app/Application.h"
#include "app/RemoveShortcuts.h"
#include "app/SettingsFrm.h"
#include "ui/Window.h"

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

namespace {
// COM for the life of the program, on the GUI thread: the folder picker needs it.
class ComScope {
public:
    ComScope() : ok_(SUCCEEDED(CoInitialize(nullptr))) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (ok_)
            CoUninitialize();
    }

private:
    bool ok_;
};

std::vector<std::string> commandLineArguments() {
    std::vector<std::string> args;
    for (int i = 1; i < __argc; ++i)
        args.emplace_back(__argv[i]);
    return args;
}

int run() {
    ComScope com;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ui::setApplicationTitle(app::kApplicationTitle);

    app::TSettingsFrm form;
    form.create(commandLineArguments());
    if (form.terminated())
        return 0;
    // Made hidden once the main window exists, kept until exit; destroyed before the form.
    app::TRemoveLinksDlg removeLinksDlg;
    removeLinksDlg.create(form.hwnd());
    form.RemoveLinksDlg = &removeLinksDlg;
    form.show();

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (form.preTranslate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    try {
        return run();
    } catch (const std::exception& e) {
        ui::reportError(e.what());
    }
    return 1;
}
