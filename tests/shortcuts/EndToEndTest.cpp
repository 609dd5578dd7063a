// The whole road through the real program: orphaned shortcuts on the Desktop and in the
// Start Menu, the two boxes ticked, "&Go!", "&Yes", the removal dialog with one item
// unticked and "Remove Empty Folders" ticked, "Remove", the closing message, the exit.
#include <gtest/gtest.h>

#include "app/RemoveShortcuts.h"
#include "app/SettingsIds.h"
#include "engine/Handles.h"
#include "shortcuts/ShellLnk.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

#include <cstdlib>
#include <initializer_list>
#include <string>
#include <vector>

using testsupport::pathExists;

namespace {

constexpr const char* kSettingsKey = "Software\\Quellmoor Software\\Brightsweep";

// Polls `probe` until it gives something, for up to 30 seconds.
template <class Probe> auto waitFor(Probe probe) -> decltype(probe()) {
    for (int i = 0; i < 600; ++i) {
        if (auto found = probe())
            return found;
        Sleep(50);
    }
    return {};
}

// A visible top-level window of `process` with the class, and the caption when given.
HWND topWindow(DWORD process, const char* className, const char* caption = nullptr) {
    struct Search {
        DWORD process;
        const char* className;
        const char* caption;
        HWND found;
    } search{process, className, caption, nullptr};
    struct Visit {
        static BOOL CALLBACK proc(HWND hwnd, LPARAM data) {
            auto& s = *reinterpret_cast<Search*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char name[64] = {}, text[128] = {};
            GetClassNameA(hwnd, name, sizeof name);
            GetWindowTextA(hwnd, text, sizeof text);
            if (owner == s.process && IsWindowVisible(hwnd) && lstrcmpA(name, s.className) == 0 &&
                (!s.caption || lstrcmpA(text, s.caption) == 0)) {
                s.found = hwnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumWindows(&Visit::proc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The descendant of `window` with the control id, or with the text when id is 0.
HWND child(HWND window, int id, const char* text = nullptr) {
    struct Search {
        int id;
        const char* text;
        HWND found;
    } search{id, text, nullptr};
    struct Visit {
        static BOOL CALLBACK proc(HWND hwnd, LPARAM data) {
            auto& s = *reinterpret_cast<Search*>(data);
            char text[128] = {};
            GetWindowTextA(hwnd, text, sizeof text);
            if ((s.id && GetDlgCtrlID(hwnd) == s.id) || (s.text && lstrcmpA(text, s.text) == 0)) {
                s.found = hwnd;
                return FALSE;
            }
            return TRUE;
        }
    };
    EnumChildWindows(window, &Visit::proc, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// A list item of another process: its A form would come back as UTF-16 under Wine.
std::string itemText(HWND list, int index) {
    wchar_t wide[1024] = {};
    if (SendMessageW(list, LB_GETTEXTLEN, index, 0) >= 1000)
        return {};
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide));
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

bool ticked(HWND list, int index) {
    return SendMessageA(list, LB_GETITEMDATA, index, 0) == 1;
}

void click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

// The real program, started with no argument and killed if a test leaves it running.
class Program {
public:
    explicit Program(const std::string& exe) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string command = "\"" + exe + "\"";
        if (CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                           nullptr, &startup, &info)) {
            process_.reset(info.hProcess);
            CloseHandle(info.hThread);
            pid_ = info.dwProcessId;
        }
    }
    ~Program() {
        if (process_.valid() && WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT)
            TerminateProcess(process_.get(), 1);
    }
    bool started() const { return process_.valid(); }
    HWND window(const char* className, const char* caption = nullptr) const {
        return waitFor([&] { return topWindow(pid_, className, caption); });
    }
    // Ticks the main window's boxes, presses "&Go!" and answers "&Yes".
    bool startRun(std::initializer_list<int> boxes) const {
        HWND main = window(app::kMainWindowClass);
        if (!main || !waitFor([&] { return IsWindowEnabled(main) ? main : nullptr; }))
            return false;
        for (int id : boxes) {
            HWND box = child(main, id);
            click(box);
            if (!waitFor([&] { return SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED; }))
                return false;
        }
        click(child(main, app::idButton1));
        HWND confirm = window("TMessageDialog", "Confirm");
        if (!confirm)
            return false;
        click(child(confirm, 0, "&Yes"));
        return true;
    }
    bool exited() const { return WaitForSingleObject(process_.get(), 30000) == WAIT_OBJECT_0; }

private:
    engine::FileHandle process_;
    DWORD pid_ = 0;
};

// Removes what a test made outside its own tree on every way out.
struct RemoveAtEnd {
    std::vector<std::string> paths;
    ~RemoveAtEnd() {
        for (const auto& path : paths)
            testsupport::removeTree(path);
    }
};

} // namespace

TEST(EndToEnd, OrphanedShortcutsAreOfferedAndTheTickedOnesRemoved) {
    ASSERT_GE(__argc, 2) << "the program's path is the first argument";
    testsupport::RegistryGuard settings(kSettingsKey);
    testsupport::deleteKeyTree(kSettingsKey); // no stored choices: nothing else is cleaned

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

    Program program(__argv[__argc - 1]);
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.startRun({app::idCheckBox2, app::idCheckBox4}));

    HWND dialog = program.window(app::kRemoveLinksClass);
    ASSERT_TRUE(dialog);
    HWND list = child(dialog, app::idShortcutList);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    std::vector<std::string> listed;
    for (int i = 0; i < count; ++i) {
        listed.push_back(itemText(list, i));
        EXPECT_TRUE(ticked(list, i)) << listed.back();
    }
    ASSERT_EQ(listed, expected);

    // Untick "Viewer" the keyboard's way: select it, press Space.
    SendMessageA(list, LB_SETCURSEL, 2, 0);
    PostMessageA(list, WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_TRUE(waitFor([&] { return !ticked(list, 2); }));
    HWND removeEmpty = child(dialog, app::idRemoveEmpty);
    ASSERT_TRUE(IsWindowVisible(removeEmpty));
    click(removeEmpty);
    ASSERT_TRUE(
        waitFor([&] { return SendMessageA(removeEmpty, BM_GETCHECK, 0, 0) == BST_CHECKED; }));
    click(child(dialog, app::idOKBtn));

    HWND done = program.window("TMessageDialog", "Information");
    ASSERT_TRUE(done);
    EXPECT_TRUE(child(done, 0, "Your windows have been cleaned!"));
    EXPECT_FALSE(pathExists(desk + "\\Old Game.lnk"));
    EXPECT_TRUE(pathExists(desk + "\\Notes.lnk"));
    EXPECT_TRUE(pathExists(desk)); // still holds Notes
    EXPECT_FALSE(pathExists(programs + "\\Keep\\Editor.lnk"));
    EXPECT_TRUE(pathExists(programs + "\\Keep\\Viewer.lnk"));
    EXPECT_TRUE(pathExists(programs + "\\Keep"));
    EXPECT_FALSE(pathExists(programs + "\\Solo"));
    EXPECT_TRUE(pathExists(programs)); // the folder above stays, though empty of links

    click(child(done, IDOK));
    EXPECT_TRUE(program.exited());
}

TEST(EndToEnd, NoDialogWithoutOrphansNorForAMissingDesktopPath) {
    // With no "Desktop" value the program must not scan the current drive's root, which
    // holds an orphan here; the Start Menu holds none. So no dialog comes up at all.
    ASSERT_GE(__argc, 2) << "the program's path is the first argument";
    testsupport::RegistryGuard settings(kSettingsKey);
    testsupport::deleteKeyTree(kSettingsKey);
    testsupport::RegistryGuard shellFolders(shortcuts::ShellFoldersKey);
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, shortcuts::ShellFoldersKey, 0, KEY_SET_VALUE, &key),
              ERROR_SUCCESS);
    RegDeleteValueA(key, "Desktop");
    RegCloseKey(key);
    testsupport::TempTree targets("e2e-targets");
    const std::string rootOrphan = "C:\\!bs-e2e-" + std::to_string(GetCurrentProcessId()) + ".lnk";
    const RemoveAtEnd cleanup{{rootOrphan}};
    linkfixtures::makeOrphan(rootOrphan, targets.at("gone\\gone.exe"));

    Program program(__argv[__argc - 1]);
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(program.startRun({app::idCheckBox2, app::idCheckBox4}));
    // A dialog would hold the run up: the closing message comes only without one.
    HWND done = program.window("TMessageDialog", "Information");
    ASSERT_TRUE(done);
    EXPECT_TRUE(pathExists(rootOrphan));
    click(child(done, IDOK));
    EXPECT_TRUE(program.exited());
}
