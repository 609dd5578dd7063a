// End to end: brightsweep.exe, started from a folder that holds it and its help file,
// opens the help at its contents from "&Help" and at the focused control's topic on F1.
// Arguments: the exe and the help file, both copied into one folder (C:\t\bin).
#include "app/SettingsIds.h"
#include "tests/e2e/Driver.h"
#include "tests/help/ViewerWindow.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

struct FindMain {
    DWORD pid;
    HWND found = nullptr;
};

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindMain*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == f->pid && std::string(cls) == app::kMainWindowClass && IsWindowVisible(hwnd)) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct FindControl {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK findControl(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindControl*>(param);
    if (GetDlgCtrlID(hwnd) == f->id) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The program, started with an unknown first argument: no splash and no stored choices,
// so nothing of the user's is read or written.
class Program {
public:
    explicit Program(const std::string& exe) {
        STARTUPINFOA si = {};
        si.cb = sizeof si;
        std::string cmd = "\"" + exe + "\" /help-test";
        // Its own folder is not the current one: the help must be found beside the exe.
        if (!CreateProcessA(exe.c_str(), cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, "C:\\",
                            &si, &pi_)) {
            return;
        }
        for (int i = 0; i < 200 && !main_; ++i) {
            FindMain f;
            f.pid = pi_.dwProcessId;
            EnumWindows(findMainWindow, reinterpret_cast<LPARAM>(&f));
            main_ = f.found;
            if (!main_) {
                Sleep(50);
            }
        }
    }
    ~Program() {
        if (pi_.hProcess) {
            if (main_) {
                PostMessageA(main_, WM_CLOSE, 0, 0);
            }
            if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0) {
                TerminateProcess(pi_.hProcess, 1);
            }
            CloseHandle(pi_.hThread);
            CloseHandle(pi_.hProcess);
        }
    }
    HWND main() const { return main_; }
    // Controls live on the pages and panels of the window: search the whole tree.
    HWND control(int id) const {
        FindControl f;
        f.id = id;
        EnumChildWindows(main_, findControl, reinterpret_cast<LPARAM>(&f));
        return f.found;
    }

    // Gives a control the keyboard focus the way a user's click or Tab would.
    bool focus(HWND control) const {
        const DWORD theirs = GetWindowThreadProcessId(control, nullptr);
        const DWORD ours = GetCurrentThreadId();
        AttachThreadInput(ours, theirs, TRUE);
        SetForegroundWindow(main_);
        SetFocus(control);
        const bool ok = GetFocus() == control;
        AttachThreadInput(ours, theirs, FALSE);
        return ok;
    }

    void pressF1(HWND control) const {
        PostMessageA(control, WM_KEYDOWN, VK_F1, 0x003B0001);
        PostMessageA(control, WM_KEYUP, VK_F1, 0xC03B0001);
    }

private:
    PROCESS_INFORMATION pi_ = {};
    HWND main_ = nullptr;
};

constexpr const char* kCaption = "Brightsweep Help";

TEST(HelpFromProgram, HelpButtonOpensContentsAndF1OpensTheControlsTopic) {
    const std::string exe = e2e::argumentEndingWith("brightsweep.exe");
    ASSERT_FALSE(exe.empty()) << "pass brightsweep.exe";
    ASSERT_FALSE(e2e::argumentEndingWith("Tidyvane.hlp").empty()) << "pass the help file beside it";

    Program program(exe);
    ASSERT_NE(program.main(), nullptr) << "the main window did not appear";

    HWND help = program.control(app::idHelpBtn);
    ASSERT_NE(help, nullptr);
    PostMessageA(help, BM_CLICK, 0, 0);
    auto shown = bstest::waitForHelpTopic(kCaption, "Brightsweep Help", 20000);
    ASSERT_TRUE(shown.ok) << shown.text;

    // A control with a topic of its own, the list whose buttons share its topic, and
    // "&Go!", which has none and so falls back to the contents.
    const struct {
        int id;
        const char* title;
    } cases[] = {
        {app::idCheckBox2, "Orphaned shortcuts on the Desktop"},
        {app::idCheckBox3, "Recycle Bin"},
        {app::idUserDirs, "User folders"},
        {app::idWindowsTempSub, "Windows temporary files"},
        {app::idButton1, "Brightsweep Help"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        HWND control = program.control(c.id);
        ASSERT_NE(control, nullptr);
        EnableWindow(control, TRUE); // the sub-folder box starts disabled
        ASSERT_TRUE(program.focus(control));
        program.pressF1(control);
        shown = bstest::waitForHelpTopic(kCaption, c.title, 10000);
        EXPECT_TRUE(shown.ok) << shown.text;
    }
}

} // namespace
