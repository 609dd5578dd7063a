#include "app/Program.h"

#include "app/Application.h"
#include "app/RemoveShortcuts.h"
#include "app/SettingsFrm.h"
#include "engine/CleanRun.h"
#include "shortcuts/ComPtr.h"
#include "shortcuts/ShellLnk.h"

#include <windows.h>
#include <commctrl.h>

namespace app {

namespace {

// "/S" in any letter case, as the first argument only.
bool isSilentStart(const std::vector<std::wstring>& args) {
    return !args.empty() && shortcuts::AsciiUpper(args.front()) == L"/S";
}

// The stored choices, cleaned without any window; an error is reported and the program
// ends all the same.
void runSilentClean() {
    ui::setApplicationTitle(kApplicationTitle);
    try {
        engine::Choices choices;
        choices.Load();
        engine::RunClean(choices);
    } catch (const std::exception& e) {
        ui::reportException(e);
    }
}

} // namespace

int RunProgram(const std::vector<std::wstring>& args) {
    // COM for the life of the program, on the GUI thread: the folder picker and the shell's
    // emptying calls need it.
    shortcuts::ComInit com;
    if (isSilentStart(args)) {
        runSilentClean();
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    // Declared first, so it goes last: every form it owns is gone by then.
    TApplication application;
    application.Initialize();
    application.SetTitle(kApplicationTitle);
    application.SetHelpFile(kHelpFileName);

    TSettingsFrm form;
    form.create(args, application.Handle());
    application.SetMainForm(form.hwnd());
    // Made hidden once the main window exists, kept until exit; destroyed before the form.
    TRemoveLinksDlg removeLinksDlg;
    removeLinksDlg.create(form.hwnd());
    form.RemoveLinksDlg = &removeLinksDlg;
    application.Show();
    form.show();

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (form.preTranslate(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace app
