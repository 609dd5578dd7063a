// brightsweep.exe driven from outside: one taskbar entry, captioned with the program's
// title, that minimises, restores and closes the program; and a silent start that shows
// nothing at all.
#include "app/Application.h"
#include "app/SettingsIds.h"
#include "tests/e2e/Driver.h"
#include "tests/e2e/ProgramTest.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The visible top-level windows of a process; with taskbarOnly, those the taskbar and
// Alt+Tab list: not tool windows, and either unowned or asking for a button.
std::vector<HWND> visibleWindows(DWORD processId, bool taskbarOnly) {
    std::vector<HWND> found;
    for (HWND window : e2e::visibleWindows(processId)) {
        const LONG ex = GetWindowLongW(window, GWL_EXSTYLE);
        const bool listed =
            !(ex & WS_EX_TOOLWINDOW) && (!GetWindow(window, GW_OWNER) || (ex & WS_EX_APPWINDOW));
        if (!taskbarOnly || listed)
            found.push_back(window);
    }
    return found;
}

void sendCommand(HWND window, WPARAM command) {
    e2e::send(window, WM_SYSCOMMAND, command);
}

// Each test starts without stored choices.
struct ApplicationWindowE2E : e2e::ProgramTest {
    ApplicationWindowE2E() : ProgramTest(testsupport::RegistryGuard::Start::Empty) {}
};

TEST_F(ApplicationWindowE2E, OneTaskbarEntryUnderTheTitleMinimisesRestoresAndCloses) {
    e2e::Process process(exe, L"");
    HWND mainWindow =
        e2e::waitForWindow(process.id(), app::kMainWindowClass, app::kMainWindowCaption);
    ASSERT_NE(mainWindow, nullptr);
    HWND appWindow = GetWindow(mainWindow, GW_OWNER);
    ASSERT_NE(appWindow, nullptr);
    EXPECT_EQ(e2e::windowText(appWindow), L"Quellmoor Brightsweep");
    // One entry, the application's, also while the splash may still be up.
    EXPECT_EQ(visibleWindows(process.id(), true), std::vector<HWND>{appWindow});

    sendCommand(mainWindow, SC_MINIMIZE);
    EXPECT_TRUE(testsupport::waitUntil([&] { return !e2e::isVisible(mainWindow); }, 10000));
    EXPECT_TRUE(IsIconic(appWindow));
    EXPECT_EQ(visibleWindows(process.id(), true), std::vector<HWND>{appWindow});

    sendCommand(appWindow, SC_RESTORE);
    EXPECT_TRUE(testsupport::waitUntil([&] { return e2e::isVisible(mainWindow); }, 10000));
    EXPECT_FALSE(IsIconic(appWindow));
    EXPECT_FALSE(IsIconic(mainWindow));

    // "Close window" on the taskbar entry ends the program.
    sendCommand(appWindow, SC_CLOSE);
    const auto code = process.waitForExit(15000);
    ASSERT_TRUE(code.has_value()) << L"the program did not end";
    EXPECT_EQ(*code, 0u);
}

TEST_F(ApplicationWindowE2E, SilentStartShowsNoWindowAtAll) {
    e2e::Process process(exe, L"/S");
    std::vector<HWND> seen;
    for (DWORD start = GetTickCount(); process.running() && GetTickCount() - start < 60000;) {
        for (HWND window : visibleWindows(process.id(), false))
            seen.push_back(window);
        Sleep(10);
    }
    const auto code = process.waitForExit(1000);
    ASSERT_TRUE(code.has_value()) << L"the silent run did not end";
    EXPECT_EQ(*code, 0u);
    EXPECT_TRUE(seen.empty()) << seen.size() << L" window(s) were visible";
}

} // namespace
