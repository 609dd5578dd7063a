// Started by help_request_test under the Windows version it chose for this program: makes
// the main window in this process with the help requests recorded instead of made, presses
// "&Help", F1 on a control with a topic and on one without, "&Help" once more with every
// viewer refusing, and closes the window. Writes one line per request
// ("VIEWER COMMAND DATA FILE") and the message that the refusal showed to OUTFILE, in UTF-16.
//   help_request_probe OUTFILE
#include "app/Application.h"
#include "app/HelpFile.h"
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "tests/app/AnswerFromTimer.h"
#include "tests/e2e/Driver.h"

#include <htmlhelp.h>
#include <shellapi.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

std::vector<std::wstring> lines;
bool viewersAccept = true;

std::wstring commandName(const app::HelpCall& call) {
    if (call.viewer == app::HelpViewer::WinHlp32) {
        switch (call.command) {
        case HELP_CONTENTS:
            return L"HELP_CONTENTS";
        case HELP_CONTEXT:
            return L"HELP_CONTEXT";
        case HELP_QUIT:
            return L"HELP_QUIT";
        }
    } else {
        switch (call.command) {
        case HH_DISPLAY_TOC:
            return L"HH_DISPLAY_TOC";
        case HH_HELP_CONTEXT:
            return L"HH_HELP_CONTEXT";
        case HH_CLOSE_ALL:
            return L"HH_CLOSE_ALL";
        }
    }
    return std::to_wstring(call.command);
}

bool record(HWND, const app::HelpCall& call) {
    lines.push_back((call.viewer == app::HelpViewer::WinHlp32 ? L"winhlp32 " : L"hhctrl ") +
                    commandName(call) + L" " + std::to_wstring(call.data) + L" " + call.file);
    return viewersAccept;
}

// F1 as the message loop hands it over, with the control holding the focus.
void pressF1(app::TSettingsFrm& form, int controlId) {
    HWND control = e2e::findControl(form.hwnd(), controlId);
    SetFocus(control);
    MSG msg{control, WM_KEYDOWN, VK_F1, 0x003B0001, 0, {}};
    form.preTranslate(msg);
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc != 2)
        return 2;
    app::TApplication::SetHelpFile(app::kHelpFileName);
    app::SetHelpCall(record);

    app::TSettingsFrm form;
    form.create({L"nothing"});
    ShowWindow(form.hwnd(), SW_SHOW); // a control takes the focus only in a shown window
    e2e::click(e2e::findControl(form.hwnd(), app::idHelpBtn));
    pressF1(form, app::idCheckBox3);
    pressF1(form, app::idButton1);

    viewersAccept = false;
    apptest::answerFromTimer([](HWND dialog) {
        lines.push_back(L"message: " + e2e::windowText(dialog) + L": " + e2e::messageText(dialog));
        e2e::answer(dialog, L"OK");
        return true;
    });
    e2e::click(e2e::findControl(form.hwnd(), app::idHelpBtn));

    DestroyWindow(form.hwnd());
    // UTF-16, as the names in the lines are.
    std::ofstream out(std::filesystem::path(argv[1]), std::ios::binary);
    for (std::wstring line : lines) {
        line += L'\n';
        out.write(reinterpret_cast<const char*>(line.data()),
                  static_cast<std::streamsize>(line.size() * sizeof(wchar_t)));
    }
    return out ? 0 : 1;
}
