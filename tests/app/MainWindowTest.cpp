// The main window in this process, started as with an unknown first argument (no stored
// choices are read): its frame, its layout, keyboard order, help topics and handlers.
#include "app/MessageDialog.h"
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "tests/app/AnswerFromTimer.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/e2e/Driver.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace app;

struct MainWindow : apptest::MainWindowFixture {
    void showFolders(std::vector<engine::UserFolder> folders) {
        engine::Choices choices;
        choices.userFolders = std::move(folders);
        form.showChoices(choices);
    }
    RECT clientRectOf(int id) {
        RECT r{};
        GetWindowRect(control(id), &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
};

TEST_F(MainWindow, FrameIsFixedWithMinimiseBoxOnlyAndCentred) {
    RECT client{}, frame{};
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    EXPECT_EQ(client.right, 346);
    EXPECT_EQ(client.bottom, 419);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_FALSE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CONTEXTHELP);
    EXPECT_EQ(e2e::windowText(window), L"Brightsweep");
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
}

TEST_F(MainWindow, ControlsSitWhereTheDescriptionPutsThem) {
    // Page controls are relative to the page, which lies over the tab control's display area.
    EXPECT_EQ(clientRectOf(idOptionsPage).left, 8);
    EXPECT_EQ(clientRectOf(idOptionsPage).top, 84);
    const RECT page = clientRectOf(idBitmapPanel1);
    EXPECT_EQ(page.right - page.left, 321);
    EXPECT_EQ(page.bottom - page.top, 269);
    const RECT userDirs = clientRectOf(idUserDirs);
    EXPECT_EQ(userDirs.left - page.left, 12);
    EXPECT_EQ(userDirs.top - page.top, 144);
    EXPECT_EQ(userDirs.right - userDirs.left, 209);
    EXPECT_EQ(clientRectOf(idWindowsTempSub).left - page.left, 237);
    EXPECT_EQ(clientRectOf(idWindowsTempSub).top - page.top, 24);
    const RECT go = clientRectOf(idButton1);
    EXPECT_EQ(go.left, 96);
    EXPECT_EQ(go.top, 388);
    EXPECT_EQ(e2e::windowText(control(idLabel3)), L"Clear Orphaned Shortcuts from Start Menu");

    // The pages: "Control" shown first, "About" hidden behind its tab.
    HWND tabs = control(idOptionsPage);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(GetWindowLongW(tabs, GWL_STYLE) & TCS_HOTTRACK);
    EXPECT_TRUE(IsWindowVisible(control(idBitmapPanel1)) || !IsWindowVisible(window));
    EXPECT_FALSE(GetWindowLongW(control(idBitmapPanel4), GWL_STYLE) & WS_VISIBLE);
}

TEST_F(MainWindow, TabGoesThroughTheControlsInTheirOrder) {
    ShowWindow(window, SW_SHOWNA);
    const std::vector<int> expected{
        idButton1,   idButton4,   idHelpBtn,  idOptionsPage, idCheckBox1, idCheckBox5, idCheckBox2,
        idCheckBox4, idCheckBox3, idUserDirs, idUserSub,     idButton2,   idButton6,   idButton1};
    std::vector<int> seen{idButton1};
    HWND at = control(idButton1);
    for (size_t i = 1; i < expected.size(); ++i) {
        at = GetNextDlgTabItem(window, at, FALSE);
        seen.push_back(GetDlgCtrlID(at));
    }
    // WindowsTempSub and Remove start disabled and are passed over.
    EXPECT_EQ(seen, expected);
}

TEST_F(MainWindow, F1FindsTheTopicOfTheControlOrItsNearestCarrier) {
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(idCheckBox1)), 4u);
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(idWindowsTempSub)), 4u);
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(idCheckBox5)), 6u);
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(idCheckBox2)), 2u);
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(idCheckBox4)), 3u);
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(idCheckBox3)), 5u);
    for (int id : {idUserDirs, idButton2, idRemove, idButton6, idUserSub})
        EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(id)), 7u) << id;
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(control(idButton1)), 0u);
    // A window inside a carrier takes the carrier's topic.
    HWND inner = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 1, 1, control(idUserDirs),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_EQ(TSettingsFrm::HelpTopicOf(inner), 7u);
}

TEST_F(MainWindow, ShownChoicesSetTheControlsAndReadBackUnchanged) {
    engine::Choices choices;
    choices.windowsTempSubFolders = true;
    form.showChoices(choices);
    EXPECT_FALSE(e2e::isEnabled(control(idWindowsTempSub)));
    choices.windowsTemp = true;
    form.showChoices(choices);
    EXPECT_TRUE(e2e::isEnabled(control(idWindowsTempSub)));

    choices.recycleBin = true;
    choices.recentDocuments = true;
    choices.userSubFolders = true;
    choices.userFolders = {{L"C:\\a", true}, {L"C:\\b", false}, {L"C:\\a", true}};
    form.showChoices(choices);
    EXPECT_EQ(form.choices(), choices);
    EXPECT_FALSE(e2e::isChecked(control(idCheckBox2)));
    EXPECT_FALSE(e2e::isChecked(control(idCheckBox4)));
}

} // namespace

namespace {
TEST_F(MainWindow, ADoubleClickRemovesTheEntryAndLeavesRemoveDisabled) {
    showFolders({{L"C:\\a", true}, {L"C:\\b", false}, {L"C:\\c", true}});
    HWND list = control(idUserDirs);
    const POINT p = e2e::listItemPoint(list, 1, 60);
    const LPARAM at = MAKELPARAM(p.x, p.y);
    SendMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    EXPECT_TRUE(e2e::isEnabled(control(idRemove)));
    SendMessageW(list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    EXPECT_FALSE(e2e::isEnabled(control(idRemove)));
    SendMessageW(list, WM_LBUTTONUP, 0, at);
    EXPECT_FALSE(e2e::isEnabled(control(idRemove)));
    const std::vector<engine::UserFolder> left{{L"C:\\a", true}, {L"C:\\c", true}};
    EXPECT_EQ(form.choices().userFolders, left);
}
} // namespace

namespace {
TEST_F(MainWindow, SelectingAnEntryByKeyEnablesRemoveAsAClickDoes) {
    showFolders({{L"C:\\a", true}, {L"C:\\b", false}});
    HWND list = control(idUserDirs);
    HWND remove = control(idRemove);
    EXPECT_FALSE(e2e::isEnabled(remove));
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(e2e::isEnabled(remove));
    SendMessageW(remove, BM_CLICK, 0, 0);
    EXPECT_FALSE(e2e::isEnabled(remove));
    const std::vector<engine::UserFolder> left{{L"C:\\b", false}};
    EXPECT_EQ(form.choices().userFolders, left);
    SendMessageW(list, WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(e2e::isEnabled(remove));
    SendMessageW(remove, BM_CLICK, 0, 0);
    EXPECT_EQ(form.choices().userFolders.size(), 0u);
    // In an empty list a key selects nothing, so "&Remove" stays disabled.
    SendMessageW(list, WM_KEYDOWN, VK_END, 0);
    EXPECT_FALSE(e2e::isEnabled(remove));
}
} // namespace

namespace {
TEST_F(MainWindow, AClickOnATabShowsItsPageAndHidesTheOther) {
    HWND tabs = control(idOptionsPage);
    RECT about{};
    SendMessageW(tabs, TCM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&about));
    const LPARAM at = MAKELPARAM((about.left + about.right) / 2, (about.top + about.bottom) / 2);
    SendMessageW(tabs, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(tabs, WM_LBUTTONUP, 0, at);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(GetWindowLongW(control(idBitmapPanel4), GWL_STYLE) & WS_VISIBLE);
    EXPECT_FALSE(GetWindowLongW(control(idBitmapPanel1), GWL_STYLE) & WS_VISIBLE);

    // The strip lets the mouse through to the shown page.
    RECT page{};
    GetWindowRect(control(idBitmapPanel4), &page);
    const POINT inside{page.left + 20, page.top + 20};
    EXPECT_EQ(SendMessageW(tabs, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTTRANSPARENT);
}
} // namespace

namespace {
TEST_F(MainWindow, EnterPressesTheFocusedButtonOrElseGo) {
    ShowWindow(window, SW_SHOWNA);
    auto defaultId = [&] { return LOWORD(SendMessageW(window, DM_GETDEFID, 0, 0)); };
    SetFocus(control(idButton4));
    EXPECT_EQ(defaultId(), idButton4);
    SetFocus(control(idCheckBox1));
    EXPECT_EQ(defaultId(), idButton1);
    SetFocus(control(idUserDirs));
    EXPECT_EQ(defaultId(), idButton1);
    EXPECT_EQ(HIWORD(SendMessageW(window, DM_GETDEFID, 0, 0)), DC_HASDEFID);
}
} // namespace

namespace {
constexpr const wchar_t* kShellFolders =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

void setShellFolder(const wchar_t* name, const wchar_t* value) {
    if (value)
        testsupport::setText(kShellFolders, name, value);
    else
        testsupport::deleteValue(kShellFolders, name);
}

TEST(MainWindowStart, ReadsTheDesktopAndStartMenuFromShellFoldersOrLeavesThemEmpty) {
    testsupport::RegistryGuard guard(kShellFolders);
    setShellFolder(L"Desktop", L"D:\\Desk");
    setShellFolder(L"Start Menu", L"D:\\Start Menu");
    {
        TSettingsFrm form;
        form.create({L"nothing"});
        EXPECT_EQ(form.DesktopPath, L"D:\\Desk");
        EXPECT_EQ(form.StartMenuPath, L"D:\\Start Menu");
    }
    setShellFolder(L"Desktop", nullptr);
    {
        TSettingsFrm form;
        form.create({L"nothing"});
        EXPECT_EQ(form.DesktopPath, L"");
        EXPECT_EQ(form.StartMenuPath, L"D:\\Start Menu");
    }
    // A value of another type reads as empty, quietly, and the other path is still read.
    {
        testsupport::setDword(kShellFolders, L"Desktop", 7);
        TSettingsFrm form;
        form.create({L"nothing"});
        EXPECT_EQ(form.DesktopPath, L"");
        EXPECT_EQ(form.StartMenuPath, L"D:\\Start Menu");
    }
    testsupport::deleteKeyTree(kShellFolders);
    {
        TSettingsFrm form;
        form.create({L"nothing"});
        EXPECT_EQ(form.DesktopPath, L"");
        EXPECT_EQ(form.StartMenuPath, L"");
    }
}
} // namespace

namespace {
// A confirmed run's modal windows, answered from a timer that runs inside their loops.
HWND runWindow = nullptr;
HCURSOR cursorUnderConfirm = nullptr;
HCURSOR cursorUnderCompletion = nullptr;

HCURSOR cursorOverMainWindow() {
    SendMessageW(runWindow, WM_SETCURSOR, reinterpret_cast<WPARAM>(runWindow),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

// Yes to "Confirm", then OK to the completion message.
bool answerRunMessages(HWND dialog) {
    if (e2e::windowText(dialog) == L"Confirm") {
        cursorUnderConfirm = cursorOverMainWindow();
        PostMessageW(dialog, WM_COMMAND, IDYES, 0);
        return false;
    }
    cursorUnderCompletion = cursorOverMainWindow();
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    return true;
}

TEST_F(MainWindow, TheRunShowsTheArrowWhileItsMessageIsUpAndTheHourglassOtherwise) {
    testsupport::RegistryGuard guard(engine::kSettingsKey);
    ShowWindow(window, SW_SHOWNA);
    runWindow = window;
    const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    const HCURSOR hourglass = LoadCursorW(nullptr, IDC_WAIT);
    // With nothing ticked the run deletes nothing; it stores the choices and closes.
    apptest::answerFromTimer(&answerRunMessages);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(idButton1, BN_CLICKED),
                 reinterpret_cast<LPARAM>(control(idButton1)));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(cursorUnderConfirm, arrow);
    EXPECT_EQ(cursorUnderCompletion, arrow);
    EXPECT_EQ(GetCursor(), hourglass);
    MSG quit;
    while (PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}
} // namespace

namespace {
std::wstring pickedFolder;
std::wstring answeredText;

TEST_F(MainWindow, AddRefusesAFolderHoldingWindowsOrTheUsersFilesAndListsAnOrdinaryOne) {
    testsupport::TempTree tree(L"add");
    const FolderPicker previous = SetFolderPicker([](HWND) { return pickedFolder; });
    const auto add = [&] {
        SendMessageW(window, WM_COMMAND, MAKEWPARAM(idButton2, BN_CLICKED),
                     reinterpret_cast<LPARAM>(control(idButton2)));
    };
    wchar_t windows[MAX_PATH] = {};
    GetWindowsDirectoryW(windows, MAX_PATH);
    for (const std::wstring& refused : {std::wstring(windows), tree.path() + L"\\..\\..\\.."}) {
        pickedFolder = refused;
        answeredText.clear();
        apptest::answerFromTimer([](HWND dialog) {
            answeredText = e2e::messageText(dialog);
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return true;
        });
        add();
        EXPECT_NE(answeredText.find(L"holds Windows or your own files"), std::wstring::npos)
            << refused;
        EXPECT_TRUE(form.choices().userFolders.empty()) << refused;
    }
    pickedFolder = tree.path();
    add();
    add(); // the same folder twice makes two entries
    SetFolderPicker(previous);
    const std::vector<engine::UserFolder> added{{tree.path(), true}, {tree.path(), true}};
    EXPECT_EQ(form.choices().userFolders, added);
}
} // namespace
