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
    HWND confirm = e2e::waitForMessage(program.id(), "Confirm", kWait);
    if (!confirm)
        return false;
    e2e::answer(confirm, "&Yes");
    return true;
}

// Removes what a test made outside its own tree on every way out.
using testsupport::RemoveAtEnd;

} // namespace

TEST(EndToEnd, OrphanedShortcutsAreOfferedAndTheTickedOnesRemoved) {
    ASSERT_FALSE(e2e::programPath().empty()) << "pass the program's path";
    // No stored choices: nothing else is cleaned.
    testsupport::RegistryGuard settings(kSettingsKey, testsupport::RegistryGuard::Start::Empty);

    const std::string desktop = shortcuts::ShellFolderPath(shortcuts::sfDesktop);
    const std::string menu = shortcuts::ShellFolderPath(shortcuts::sfStartMenu);
    ASSERT_FALSE(desktop.empty());
    ASSERT_NE(menu.find("Start Menu"), std::string::npos);
    testsupport::TempTree targets("e2e-targets");
    const std::string tag = "bs-e2e-" + std::to_string(GetCurrentProcessId());
    const std::string desk = desktop + "\\" + tag;
    const std::string programs = menu + "\\Programs\\" + tag;
    const RemoveAtEnd cleanup{{desk, programs}};

    linkfixtures::makeOrphan(desk + "\\Old Game.lnk", targets.at("game\\game.exe"));
    linkfixtures::makeShortcut(desk + "\\Notes.lnk", targets.file("notes.txt"));
    linkfixtures::makeOrphan(programs + "\\Keep\\Editor.lnk", targets.at("editor\\ed.exe"));
    linkfixtures::makeOrphan(programs + "\\Keep\\Viewer.lnk", targets.at("viewer\\view.exe"));
    linkfixtures::makeOrphan(programs + "\\Solo\\Tool.lnk", targets.at("tool\\tool.exe"));
    // Desktop first; in the Start Menu, deeper folders first and each in name order.
    const std::vector<std::string> expected = {
        desk + "\\Old Game.lnk", programs + "\\Keep\\Editor.lnk", programs + "\\Keep\\Viewer.lnk",
        programs + "\\Solo\\Tool.lnk"};

    e2e::Process program(e2e::programPath(), "");
    ASSERT_TRUE(startRun(program, {app::idCheckBox2, app::idCheckBox4}));

    HWND dialog = e2e::waitForWindow(program.id(), app::kRemoveLinksClass, nullptr, kWait);
    ASSERT_TRUE(dialog);
    HWND list = e2e::findControl(dialog, app::idShortcutList);
    const std::vector<std::string> listed = e2e::listTexts(list);
    const std::vector<bool> ticks = e2e::listTicks(list);
    for (size_t i = 0; i < listed.size(); ++i)
        EXPECT_TRUE(ticks[i]) << listed[i];
    ASSERT_EQ(listed, expected);

    // Untick "Viewer" the keyboard's way: select it, press Space.
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    PostMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(testsupport::waitUntil([&] { return !e2e::listTicks(list)[2]; }, kWait));
    HWND removeEmpty = e2e::findControl(dialog, app::idRemoveEmpty);
    ASSERT_TRUE(e2e::isVisible(removeEmpty));
    e2e::press(removeEmpty);
    ASSERT_TRUE(testsupport::waitUntil([&] { return e2e::isChecked(removeEmpty); }, kWait));
    e2e::press(e2e::findControl(dialog, app::idOKBtn));

    HWND done = e2e::waitForMessage(program.id(), "Information", kWait);
    ASSERT_TRUE(done);
    EXPECT_TRUE(e2e::findControlByText(done, "STATIC", "Your windows have been cleaned!"));
    EXPECT_FALSE(pathExists(desk + "\\Old Game.lnk"));
    EXPECT_TRUE(pathExists(desk + "\\Notes.lnk"));
    EXPECT_TRUE(pathExists(desk)); // still holds Notes
    EXPECT_FALSE(pathExists(programs + "\\Keep\\Editor.lnk"));
    EXPECT_TRUE(pathExists(programs + "\\Keep\\Viewer.lnk"));
    EXPECT_TRUE(pathExists(programs + "\\Keep"));
    EXPECT_FALSE(pathExists(programs + "\\Solo"));
    EXPECT_TRUE(pathExists(programs)); // the folder above stays, though empty of links

    e2e::answer(done, "OK");
    EXPECT_TRUE(program.waitForExit(kWait));
}

TEST(EndToEnd, NoDialogWithoutOrphansNorForAMissingDesktopPath) {
    // With no "Desktop" value the program must not scan the current drive's root, which
    // holds an orphan here; the Start Menu holds none. So no dialog comes up at all.
    ASSERT_FALSE(e2e::programPath().empty()) << "pass the program's path";
    testsupport::RegistryGuard settings(kSettingsKey, testsupport::RegistryGuard::Start::Empty);
    testsupport::RegistryGuard shellFolders(shortcuts::ShellFoldersKey);
    ASSERT_TRUE(testsupport::keyExists(shortcuts::ShellFoldersKey));
    testsupport::deleteValue(shortcuts::ShellFoldersKey, "Desktop");
    testsupport::TempTree targets("e2e-targets");
    const std::string rootOrphan = "C:\\!bs-e2e-" + std::to_string(GetCurrentProcessId()) + ".lnk";
    const RemoveAtEnd cleanup{{rootOrphan}};
    linkfixtures::makeOrphan(rootOrphan, targets.at("gone\\gone.exe"));

    e2e::Process program(e2e::programPath(), "");
    ASSERT_TRUE(startRun(program, {app::idCheckBox2, app::idCheckBox4}));
    // A dialog would hold the run up: the closing message comes only without one.
    HWND done = e2e::waitForMessage(program.id(), "Information", kWait);
    ASSERT_TRUE(done);
    EXPECT_TRUE(pathExists(rootOrphan));
    e2e::answer(done, "OK");
    EXPECT_TRUE(program.waitForExit(kWait));
}
