// The application window in this process: it carries the taskbar button under the title,
// owns the main window, hands minimising, restoring, activation and closing on as a user
// expects, and a silent start never shows any window.
#include "app/Application.h"
#include "app/Program.h"
#include "app/RemoveShortcuts.h"
#include "app/SettingsFrm.h"
#include "tests/e2e/Driver.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace app;

void pumpMessages() {
    for (int round = 0; round < 5; ++round) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the test to see
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}

bool quitWasPosted() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE;
}

LONG exStyle(HWND window) {
    return GetWindowLongW(window, GWL_EXSTYLE);
}

std::wstring className(HWND window) {
    wchar_t name[256] = {};
    GetClassNameW(window, name, sizeof name);
    return name;
}

// As the entry point builds it, for an interactive start without stored choices.
struct ApplicationWindow : ::testing::Test {
    TApplication application;
    TSettingsFrm form;
    HWND appWindow = nullptr;
    HWND mainWindow = nullptr;

    void SetUp() override {
        application.Initialize();
        application.SetTitle(kApplicationTitle);
        form.create({L"nothing"}, application.Handle());
        application.SetMainForm(form.hwnd());
        appWindow = application.Handle();
        mainWindow = form.hwnd();
        ASSERT_NE(appWindow, nullptr);
        ASSERT_NE(mainWindow, nullptr);
    }
    void TearDown() override { quitWasPosted(); }
    void showBoth() {
        application.Show();
        form.show();
        pumpMessages();
    }
};

TEST_F(ApplicationWindow, TheTitledApplicationWindowOwnsTheMainWindowAndCarriesTheButton) {
    EXPECT_EQ(GetWindow(mainWindow, GW_OWNER), appWindow);
    EXPECT_EQ(e2e::windowText(appWindow), L"Quellmoor Brightsweep");
    EXPECT_EQ(ui::applicationTitle(), L"Quellmoor Brightsweep");
    EXPECT_EQ(e2e::windowText(mainWindow), L"Brightsweep");

    // The button: a top-level, unowned window marked for the taskbar and not a tool window.
    EXPECT_EQ(GetWindow(appWindow, GW_OWNER), nullptr);
    EXPECT_FALSE(GetWindowLongW(appWindow, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(exStyle(appWindow) & WS_EX_APPWINDOW);
    EXPECT_FALSE(exStyle(appWindow) & WS_EX_TOOLWINDOW);
    // The main window is owned and does not ask for a button of its own.
    EXPECT_FALSE(exStyle(mainWindow) & WS_EX_APPWINDOW);

    // Never seen as a window: it has no size at all.
    RECT r{};
    GetWindowRect(appWindow, &r);
    EXPECT_EQ(r.right - r.left, 0);
    EXPECT_EQ(r.bottom - r.top, 0);

    // Nothing shows before the start shows the main window.
    EXPECT_FALSE(IsWindowVisible(appWindow));

    // The removal dialog belongs to the same family, so it has no button either.
    TRemoveLinksDlg dialog;
    dialog.create(mainWindow);
    EXPECT_EQ(GetWindow(GetWindow(dialog.hwnd(), GW_OWNER), GW_OWNER), appWindow);
    EXPECT_FALSE(exStyle(dialog.hwnd()) & WS_EX_APPWINDOW);
}

TEST_F(ApplicationWindow, SettingTheTitleRecaptionsTheButtonAndTheErrorReport) {
    application.SetTitle(L"Another title");
    EXPECT_EQ(e2e::windowText(appWindow), L"Another title");
    EXPECT_EQ(ui::applicationTitle(), L"Another title");
    application.SetTitle(kApplicationTitle);
}

TEST_F(ApplicationWindow, MinimisingTheMainWindowMinimisesTheApplicationAndRestoringBringsItBack) {
    showBoth();
    ASSERT_TRUE(IsWindowVisible(appWindow));
    ASSERT_TRUE(IsWindowVisible(mainWindow));

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        // The minimise box of the main window.
        SendMessageW(mainWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        pumpMessages();
        EXPECT_TRUE(IsIconic(appWindow));
        EXPECT_TRUE(IsWindowVisible(appWindow)) << L"the taskbar button must stay";
        EXPECT_FALSE(IsWindowVisible(mainWindow));
        EXPECT_FALSE(IsIconic(mainWindow));
        EXPECT_TRUE(application.Minimized());

        // A click on the taskbar button.
        SendMessageW(appWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
        pumpMessages();
        EXPECT_FALSE(IsIconic(appWindow));
        EXPECT_TRUE(IsWindowVisible(mainWindow));
        EXPECT_EQ(GetActiveWindow(), mainWindow);
        RECT r{};
        GetWindowRect(appWindow, &r);
        EXPECT_EQ(r.right - r.left, 0) << L"restoring must not give it a size";
    }

    // The same through the object itself.
    application.Minimize();
    pumpMessages();
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    application.Restore();
    pumpMessages();
    EXPECT_TRUE(IsWindowVisible(mainWindow));
}

TEST_F(ApplicationWindow, ADialogOfTheMainWindowGoesAndComesBackWithTheApplication) {
    showBoth();
    HWND dialog = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0,
                                  100, 60, mainWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(dialog, nullptr);
    // A tool window (the splash) is left to go away by itself.
    HWND tool = CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"tool", WS_POPUP | WS_VISIBLE, 0, 0,
                                20, 20, mainWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(tool, nullptr);
    pumpMessages();

    // As the taskbar button does it, not through the main window.
    SendMessageW(appWindow, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    pumpMessages();
    EXPECT_FALSE(IsWindowVisible(mainWindow));
    EXPECT_FALSE(IsWindowVisible(dialog)) << L"a dialog must not float alone";
    EXPECT_TRUE(IsWindowVisible(tool));
    ShowWindow(tool, SW_HIDE); // it closes while the application is down

    SendMessageW(appWindow, WM_SYSCOMMAND, SC_RESTORE, 0);
    pumpMessages();
    EXPECT_TRUE(IsWindowVisible(mainWindow));
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(IsWindowVisible(tool)) << L"a window closed meanwhile must stay closed";

    DestroyWindow(dialog);
    DestroyWindow(tool);
}

TEST_F(ApplicationWindow, ActivatingTheApplicationHandsOnToTheWindowLastInUse) {
    showBoth();
    SetActiveWindow(appWindow);
    pumpMessages();
    EXPECT_EQ(GetActiveWindow(), mainWindow);

    // With a modal window open over the disabled main window, that window comes forward.
    HWND popup = CreateWindowExW(0, L"STATIC", L"modal", WS_POPUP | WS_CAPTION | WS_VISIBLE, 0, 0,
                                 100, 60, mainWindow, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(popup, nullptr);
    SetActiveWindow(popup);
    EnableWindow(mainWindow, FALSE);
    pumpMessages();
    SetActiveWindow(appWindow);
    pumpMessages();
    EXPECT_EQ(GetActiveWindow(), popup);

    // Closing from the taskbar does not pull the main window from under the modal window.
    SendMessageW(appWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    pumpMessages();
    EXPECT_TRUE(IsWindow(mainWindow));
    EXPECT_FALSE(quitWasPosted());

    EnableWindow(mainWindow, TRUE);
    DestroyWindow(popup);
}

TEST_F(ApplicationWindow, ClosingTheApplicationClosesTheMainWindowWhichEndsTheProgram) {
    showBoth();
    SendMessageW(appWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    pumpMessages();
    EXPECT_EQ(form.hwnd(), nullptr);
    EXPECT_TRUE(quitWasPosted());
}

// ---- The silent start ------------------------------------------------------------------

std::vector<HWND>* g_shown = nullptr;

LRESULT CALLBACK recordShows(int code, WPARAM wParam, LPARAM lParam) {
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && g_shown && call->message == WM_SHOWWINDOW && call->wParam &&
        !(GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD))
        g_shown->push_back(call->hwnd);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK recordActivations(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_ACTIVATE && g_shown)
        g_shown->push_back(reinterpret_cast<HWND>(wParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(SilentStart, ShowsNoWindowNotEvenTheTaskbarButton) {
    // No stored choices: the silent run cleans nothing and stores them; the guard restores.
    testsupport::RegistryGuard guard{testsupport::kSettingsKey,
                                     testsupport::RegistryGuard::Start::Empty};

    std::vector<HWND> shown;
    g_shown = &shown;
    HHOOK showHook = SetWindowsHookExW(WH_CALLWNDPROC, recordShows, nullptr, GetCurrentThreadId());
    HHOOK cbtHook = SetWindowsHookExW(WH_CBT, recordActivations, nullptr, GetCurrentThreadId());
    ASSERT_NE(showHook, nullptr);
    ASSERT_NE(cbtHook, nullptr);
    const int code = RunProgram({L"/s"});
    UnhookWindowsHookEx(cbtHook);
    UnhookWindowsHookEx(showHook);
    g_shown = nullptr;

    EXPECT_EQ(code, 0);
    std::wstring classes;
    for (HWND window : shown)
        classes.append(1, L' ').append(className(window));
    EXPECT_TRUE(shown.empty()) << L"shown or activated:" << classes;
    EXPECT_EQ(FindWindowW(TApplication::kClassName, nullptr), nullptr) << L"left behind";
}

} // namespace
