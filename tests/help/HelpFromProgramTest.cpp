// End to end: brightsweep.exe, started from a folder that holds it and its help files,
// opens the help at its contents from "&Help" and at the focused control's topic on F1:
// in WinHelp when Wine reports Windows XP, in HTML Help when it reports Windows 10, and
// says so at once when there is no viewer.
// Arguments: the exe and both help files, copied into one folder (C:\t\bin).
#include "app/SettingsIds.h"
#include "tests/e2e/Driver.h"
#include "tests/help/ViewerWindow.h"
#include "tests/help/WineAppDefaults.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// Gives a control the keyboard focus the way a user's click or Tab would.
bool focus(HWND main, HWND control) {
    const DWORD theirs = GetWindowThreadProcessId(control, nullptr);
    const DWORD ours = GetCurrentThreadId();
    AttachThreadInput(ours, theirs, TRUE);
    SetForegroundWindow(main);
    SetFocus(control);
    const bool ok = GetFocus() == control;
    AttachThreadInput(ours, theirs, FALSE);
    return ok;
}

void pressF1(HWND control) {
    PostMessageW(control, WM_KEYDOWN, VK_F1, 0x003B0001);
    PostMessageW(control, WM_KEYUP, VK_F1, 0xC03B0001);
}

constexpr const wchar_t* kCaption = L"Brightsweep Help";

// The program started under Windows `version`, without the DLLs `disabled`. It is closed
// the user's way on every way out of a test, so that it also closes the help it opened.
struct ProgramUnder {
    helptest::WineAppDefaults defaults;
    e2e::Process program;
    HWND main = nullptr;

    explicit ProgramUnder(const wchar_t* version, const std::vector<std::wstring>& disabled = {})
        : defaults(L"brightsweep.exe", version, disabled),
          // An unknown first argument: no splash and no stored choices, so nothing of the
          // user's is read or written. Its own folder is not the current one: the help must
          // be found beside the exe.
          program(e2e::argumentEndingWith(L"brightsweep.exe"), L"/help-test", L"C:\\") {
        main = e2e::waitForWindow(program.id(), app::kMainWindowClass, nullptr);
    }
    ~ProgramUnder() {
        PostMessageW(main, WM_CLOSE, 0, 0);
        program.waitForExit(10000);
    }
};

TEST(HelpFromProgram, BeforeVistaHelpButtonOpensContentsAndF1OpensTheControlsTopic) {
    ASSERT_FALSE(e2e::argumentEndingWith(L"brightsweep.exe").empty()) << L"pass brightsweep.exe";
    ASSERT_FALSE(e2e::argumentEndingWith(L"Tidyvane.hlp").empty())
        << L"pass the help file beside it";
    ProgramUnder run(L"winxp");
    HWND main = run.main;
    ASSERT_NE(main, nullptr) << L"the main window did not appear";

    HWND help = e2e::findControl(main, app::idHelpBtn);
    ASSERT_NE(help, nullptr);
    e2e::press(help);
    auto shown = bstest::waitForHelpTopic(kCaption, L"Brightsweep Help", 20000);
    ASSERT_TRUE(shown.ok) << shown.text;

    // A control with a topic of its own, the list whose buttons share its topic, and
    // "&Go!", which has none and so falls back to the contents.
    const struct {
        int id;
        const wchar_t* title;
    } cases[] = {
        {app::idCheckBox2, L"Orphaned shortcuts on the Desktop"},
        {app::idCheckBox3, L"Recycle Bin"},
        {app::idUserDirs, L"User folders"},
        {app::idWindowsTempSub, L"Windows temporary files"},
        {app::idButton1, L"Brightsweep Help"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        HWND control = e2e::findControl(main, c.id);
        ASSERT_NE(control, nullptr);
        EnableWindow(control, TRUE); // the sub-folder box starts disabled
        ASSERT_TRUE(focus(main, control));
        pressF1(control);
        shown = bstest::waitForHelpTopic(kCaption, c.title, 10000);
        EXPECT_TRUE(shown.ok) << shown.text;
    }
}

TEST(HelpFromProgram, FromVistaOnHelpButtonOpensTheChmInHtmlHelp) {
    ProgramUnder run(L"win10");
    ASSERT_NE(run.main, nullptr) << L"the main window did not appear";
    e2e::press(e2e::findControl(run.main, app::idHelpBtn));
    // HTML Help's window runs in the program itself.
    EXPECT_NE(e2e::waitForWindow(run.program.id(), L"HH Parent", kCaption, 20000), nullptr);
}

TEST(HelpFromProgram, WithoutAViewerTheProgramSaysSoAtOnce) {
    ProgramUnder run(L"win10", {L"hhctrl.ocx"});
    ASSERT_NE(run.main, nullptr) << L"the main window did not appear";
    const auto expectMessage = [&] {
        HWND box = e2e::waitForMessage(run.program.id(), L"Information");
        ASSERT_NE(box, nullptr) << L"no word that the help could not be opened";
        EXPECT_EQ(e2e::messageText(box), L"The help file Tidyvane.chm could not be opened.");
        e2e::answer(box, L"OK");
        EXPECT_TRUE(e2e::waitForWindowGone(run.program.id(), e2e::kMessageDialogClass, nullptr));
    };
    e2e::press(e2e::findControl(run.main, app::idHelpBtn));
    expectMessage();
    HWND recycleBin = e2e::findControl(run.main, app::idCheckBox3);
    ASSERT_TRUE(focus(run.main, recycleBin));
    pressF1(recycleBin);
    expectMessage();
}

} // namespace
