// The whole road through the real program: orphaned shortcuts on the Desktop and in the
// Start Menu, the two boxes ticked, "&Go!", "&Yes", the removal dialog with one item
// unticked and "Remove Empty Folders" ticked, "Remove", the closing message, the exit.
#include <gtest/gtest.h>

#include "app/RemoveShortcuts.h"
#include "app/SettingsIds.h"
#include "shortcuts/ShellLnk.h"
#include "tests/e2e/Driver.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

#include <initializer_list>
#include <string>
#include <vector>

using testsupport::pathExists;

namespace {

using testsupport::kSettingsKey;

constexpr DWORD kWait = 30000;

// Ticks the main window's boxes, presses "&Go!" and answers "&Yes".
bool startRun(const e2e::Process& program, std::initializer_list<int> boxes) {
    HWND main = e2e::waitForWindow(program.id(), app::kMainWindowClass, nullptr, kWait);
    if (!main || !testsupport::waitUntil([&] { return e2e::isEnabled(main); }, kWait))
        return false;
    for (int id : boxes) {
        HWND box = e2e::findControl(main, id);
        e2e::press(box);
        if (!testsupport::waitUntil([&] { return e2e::isChecked(box); }, kWait))
            return false;
    }
    e2e::press(e2e::findControl(main, app::idButton1));
    HWND confirm = e2e::waitForMessage(program.id(), L"Confirm", kWait);
    if (!confirm)
        return false;
    e2e::answer(confirm, L"&Yes");
    return true;
}

// Removes what a test made outside its own tree on every way out.
using testsupport::RemoveAtEnd;

} // namespace

TEST(EndToEnd, OrphanedShortcutsAreOfferedAndTheTickedOnesRemoved) {
    ASSERT_FALSE(e2e::programPath().empty()) << L"pass the program's path";
    // No stored choices: nothing else is cleaned.
    testsupport::RegistryGuard settings(kSettingsKey, testsupport::RegistryGuard::Start::Empty);

    const std::wstring desktop = shortcuts::ShellFolderPath(shortcuts::sfDesktop);
    const std::wstring menu = shortcuts::ShellFolderPath(shortcuts::sfStartMenu);
    ASSERT_FALSE(desktop.empty());
    ASSERT_NE(menu.find(L"Start Menu"), std::wstring::npos);
    testsupport::TempTree targets(L"e2e-targets");
    const std::wstring tag = L"bs-e2e-" + std::to_wstring(GetCurrentProcessId());
    const std::wstring desk = desktop + L"\\" + tag;
    const std::wstring programs = menu + L"\\Programs\\" + tag;
    const RemoveAtEnd cleanup{{desk, programs}};

    linkfixtures::makeOrphan(desk + L"\\Old Game.lnk", targets.at(L"game\\game.exe"));
    linkfixtures::makeShortcut(desk + L"\\Notes.lnk", targets.file(L"notes.txt"));
    linkfixtures::makeOrphan(programs + L"\\Keep\\Editor.lnk", targets.at(L"editor\\ed.exe"));
    linkfixtures::makeOrphan(programs + L"\\Keep\\Viewer.lnk", targets.at(L"viewer\\view.exe"));
    linkfixtures::makeOrphan(programs + L"\\Solo\\Tool.lnk", targets.at(L"tool\\tool.exe"));
    // Desktop first; in the Start Menu, deeper folders first and each in name order.
    const std::vector<std::wstring> expected = {
        desk + L"\\Old Game.lnk", programs + L"\\Keep\\Editor.lnk",
        programs + L"\\Keep\\Viewer.lnk", programs + L"\\Solo\\Tool.lnk"};

    e2e::Process program(e2e::programPath(), L"");
    ASSERT_TRUE(startRun(program, {app::idCheckBox2, app::idCheckBox4}));

    HWND dialog = e2e::waitForWindow(program.id(), app::kRemoveLinksClass, nullptr, kWait);
    ASSERT_TRUE(dialog);
    HWND list = e2e::findControl(dialog, app::idShortcutList);
    const std::vector<std::wstring> listed = e2e::listTexts(list);
    const std::vector<bool> ticks = e2e::listTicks(list);
    for (size_t i = 0; i < listed.size(); ++i)
        EXPECT_TRUE(ticks[i]) << listed[i];
    ASSERT_EQ(listed, expected);

    // Untick "Viewer" the keyboard's way: select it, press Space.
    SendMessageW(list, LB_SETCURSEL, 2, 0);
    PostMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !e2e::listTicks(list)[2]; }, kWait));
    HWND removeEmpty = e2e::findControl(dialog, app::idRemoveEmpty);
    ASSERT_TRUE(e2e::isVisible(removeEmpty));
    e2e::press(removeEmpty);
    ASSERT_TRUE(testsupport::waitUntil([&] { return e2e::isChecked(removeEmpty); }, kWait));
    e2e::press(e2e::findControl(dialog, app::idOKBtn));

    HWND done = e2e::waitForMessage(program.id(), L"Information", kWait);
    ASSERT_TRUE(done);
    EXPECT_TRUE(e2e::findControlByText(done, L"STATIC", L"Your windows have been cleaned!"));
    EXPECT_FALSE(pathExists(desk + L"\\Old Game.lnk"));
    EXPECT_TRUE(pathExists(desk + L"\\Notes.lnk"));
    EXPECT_TRUE(pathExists(desk)); // still holds Notes
    EXPECT_FALSE(pathExists(programs + L"\\Keep\\Editor.lnk"));
    EXPECT_TRUE(pathExists(programs + L"\\Keep\\Viewer.lnk"));
    EXPECT_TRUE(pathExists(programs + L"\\Keep"));
    EXPECT_FALSE(pathExists(programs + L"\\Solo"));
    EXPECT_TRUE(pathExists(programs)); // the folder above stays, though empty of links

    e2e::answer(done, L"OK");
    EXPECT_TRUE(program.waitForExit(kWait));
}

TEST(EndToEnd, NoDialogWithoutOrphansNorForAMissingDesktopPath) {
    // With no "Desktop" value the program must not scan the current drive's root, which
    // holds an orphan here; the Start Menu holds none. So no dialog comes up at all.
    ASSERT_FALSE(e2e::programPath().empty()) << L"pass the program's path";
    testsupport::RegistryGuard settings(kSettingsKey, testsupport::RegistryGuard::Start::Empty);
    testsupport::RegistryGuard shellFolders(shortcuts::ShellFoldersKey);
    ASSERT_TRUE(testsupport::keyExists(shortcuts::ShellFoldersKey));
    testsupport::deleteValue(shortcuts::ShellFoldersKey, L"Desktop");
    testsupport::TempTree targets(L"e2e-targets");
    const std::wstring rootOrphan =
        L"C:\\!bs-e2e-" + std::to_wstring(GetCurrentProcessId()) + L".lnk";
    const RemoveAtEnd cleanup{{rootOrphan}};
    linkfixtures::makeOrphan(rootOrphan, targets.at(L"gone\\gone.exe"));

    e2e::Process program(e2e::programPath(), L"");
    ASSERT_TRUE(startRun(program, {app::idCheckBox2, app::idCheckBox4}));
    // A dialog would hold the run up: the closing message comes only without one.
    HWND done = e2e::waitForMessage(program.id(), L"Information", kWait);
    ASSERT_TRUE(done);
    EXPECT_TRUE(pathExists(rootOrphan));
    e2e::answer(done, L"OK");
    EXPECT_TRUE(program.waitForExit(kWait));
}
