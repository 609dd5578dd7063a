#include "app/Program.h"

#include "app/Application.h"
#include "app/RemoveShortcuts.h"
#include "app/SettingsFrm.h"
#include "shortcuts/ComPtr.h"

#include <windows.h>
#include <commctrl.h>

namespace app {

int RunProgram(const std::vector<std::string>& args) {
    // COM for the life of the program, on the GUI thread: the folder picker needs it.
    shortcuts::ComInit com;
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
    // A silent start has run and asked to end: nothing is shown, not even the button.
    if (form.terminated())
        return 0;
    // Made hidden once the main window exists, kept until exit; destroyed before the form.
    TRemoveLinksDlg removeLinksDlg;
    removeLinksDlg.create(form.hwnd());
    form.RemoveLinksDlg = &removeLinksDlg;
    application.Show();
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

} // namespace app
