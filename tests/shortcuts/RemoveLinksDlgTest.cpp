// The "Remove Orphaned Shortcuts" dialog and its list: ticks, the "Remove Empty Folders"
// offer, what "Remove" and "Cancel" delete, and the horizontal scroll range.
#include <gtest/gtest.h>

#include "app/RemoveShortcuts.h"
#include "shortcuts/RemoveOrphans.h"
#include "shortcuts/ShellLnk.h"
#include "tests/support/TestSupport.h"
#include "ui/Gdi.h"
#include "ui/Layout.h"

#include <string>
#include <vector>

using app::TRemoveLinksDlg;
using testsupport::pathExists;
using testsupport::TempTree;

namespace {

int extentOf(HWND list) {
    return static_cast<int>(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0));
}

// The width rule worked out apart from the list: text, average character width, 20.
int expectedWidth(HWND list, const std::string& text) {
    ui::WindowDC dc(list);
    ui::Selected font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageA(list, WM_GETFONT, 0, 0)));
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc.get(), &metrics);
    SIZE size{};
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx + metrics.tmAveCharWidth + 20;
}

bool visible(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

struct RemoveLinksDialog : ::testing::Test {
    TempTree tree{"removelinks"};
    TRemoveLinksDlg dialog;
    void SetUp() override { dialog.create(nullptr); }
    HWND removeEmpty() { return dialog.control("RemoveEmpty"); }
    void load(const std::vector<std::string>& paths) { dialog.LoadShortcuts(paths); }
    // Queues a click on a button; the modal loop then delivers it.
    void postClick(const char* button) { PostMessageA(dialog.control(button), BM_CLICK, 0, 0); }
};

} // namespace

TEST(FolderOfShortcut, KeepsTheRootBackslash) {
    EXPECT_EQ(shortcuts::FolderOfShortcut("C:\\Menu\\Games\\x.lnk"), "C:\\Menu\\Games");
    EXPECT_EQ(shortcuts::FolderOfShortcut("C:\\x.lnk"), "C:\\");
    EXPECT_EQ(shortcuts::FolderOfShortcut("C:\\Menu\\\\x.lnk"), "C:\\Menu\\\\");
    EXPECT_EQ(shortcuts::FolderOfShortcut("x.lnk"), "");
}

TEST_F(RemoveLinksDialog, WindowIsADialogOfTheDescribedSize) {
    char caption[64] = {};
    GetWindowTextA(dialog.hwnd(), caption, sizeof caption);
    EXPECT_STREQ(caption, "Remove Orphaned Shortcuts");
    RECT client{};
    GetClientRect(dialog.hwnd(), &client);
    EXPECT_EQ(client.right, 317);
    EXPECT_EQ(client.bottom, 217);
    EXPECT_FALSE(visible(dialog.hwnd())); // made hidden, shown only by the clean run
    EXPECT_EQ(LOWORD(SendMessageA(dialog.hwnd(), DM_GETDEFID, 0, 0)), IDOK);
    char text[32] = {};
    GetWindowTextA(dialog.control("OKBtn"), text, sizeof text);
    EXPECT_STREQ(text, "Remove");
    EXPECT_FALSE(visible(removeEmpty()));
    EXPECT_FALSE(visible(dialog.control("Label2")));
}

TEST_F(RemoveLinksDialog, RemovesOnlyTheTickedShortcuts) {
    const std::vector<std::string> paths = {tree.file("desk\\a.lnk"), tree.file("desk\\b.lnk"),
                                            tree.file("desk\\c.lnk")};
    load(paths);
    load({}); // loading adds; nothing is emptied
    dialog.FormShow();
    auto& list = dialog.ShortcutList();
    ASSERT_EQ(list.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(list.text(i), paths[i]);
        EXPECT_TRUE(list.checked(i));
    }
    EXPECT_FALSE(visible(removeEmpty())); // no "Start Menu" in any path
    list.setChecked(1, false);
    dialog.OKBtnClick();
    EXPECT_FALSE(pathExists(paths[0]));
    EXPECT_TRUE(pathExists(paths[1]));
    EXPECT_FALSE(pathExists(paths[2]));
    EXPECT_TRUE(pathExists(tree.at("desk"))); // no folder removal unless asked
    EXPECT_EQ(list.count(), 3);               // items stay after their files are gone
}

TEST_F(RemoveLinksDialog, ReadOnlyShortcutsStay) {
    const std::string locked = tree.file("desk\\locked.lnk");
    SetFileAttributesA(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    load({locked});
    dialog.FormShow();
    dialog.OKBtnClick();
    EXPECT_TRUE(pathExists(locked));
}

TEST_F(RemoveLinksDialog, RemoveEmptyFoldersIsOfferedForStartMenuPathsOnly) {
    load({tree.file("start menu\\lower.lnk")});
    dialog.FormShow();
    EXPECT_FALSE(visible(removeEmpty()));
    EXPECT_FALSE(visible(dialog.control("Label2")));

    load({tree.file("Start Menu\\Programs\\x.lnk")});
    dialog.FormShow();
    EXPECT_TRUE(visible(removeEmpty()));
    EXPECT_TRUE(visible(dialog.control("Label2")));
    SendMessageA(removeEmpty(), BM_SETCHECK, BST_CHECKED, 0);
    dialog.FormHide();
    EXPECT_FALSE(visible(removeEmpty()));
    EXPECT_FALSE(visible(dialog.control("Label2")));
    EXPECT_EQ(SendMessageA(removeEmpty(), BM_GETCHECK, 0, 0), BST_CHECKED); // tick kept
}

TEST_F(RemoveLinksDialog, RemoveEmptyFoldersTakesOnlyTheNowEmptyHoldingFolder) {
    const std::string only = tree.file("Start Menu\\Programs\\Gone\\only.lnk");
    const std::string shared = tree.file("Start Menu\\Programs\\Kept\\x.lnk");
    tree.file("Start Menu\\Programs\\Kept\\readme.txt");
    const std::string unticked = tree.file("Start Menu\\Programs\\Other\\u.lnk");
    load({only, shared, unticked});
    dialog.FormShow();
    dialog.ShortcutList().setChecked(2, false);
    SendMessageA(removeEmpty(), BM_SETCHECK, BST_CHECKED, 0);
    dialog.OKBtnClick();
    EXPECT_FALSE(pathExists(tree.at("Start Menu\\Programs\\Gone")));
    EXPECT_FALSE(pathExists(shared));
    EXPECT_TRUE(pathExists(tree.at("Start Menu\\Programs\\Kept\\readme.txt")));
    EXPECT_TRUE(pathExists(unticked));
    // The folder above stays even when the removal left it empty.
    const std::string parent = tree.file("Start Menu\\Solo\\Inner\\s.lnk");
    dialog.ShortcutList().clear();
    load({parent});
    dialog.FormShow();
    dialog.OKBtnClick();
    EXPECT_FALSE(pathExists(tree.at("Start Menu\\Solo\\Inner")));
    EXPECT_TRUE(pathExists(tree.at("Start Menu\\Solo")));
}

TEST_F(RemoveLinksDialog, ShellFoldersThemselvesAreNeverRemoved) {
    testsupport::RegistryGuard guard(shortcuts::ShellFoldersKey);
    const std::string menu = tree.mkdir("Start Menu");
    const std::string desk = tree.mkdir("Desktop");
    ASSERT_TRUE(testsupport::keyExists(shortcuts::ShellFoldersKey));
    const std::string menuValue = menu + "\\"; // a trailing backslash names the same folder
    testsupport::setText(shortcuts::ShellFoldersKey, "Start Menu", menuValue);
    testsupport::setText(shortcuts::ShellFoldersKey, "Desktop", desk);

    load({tree.file("Start Menu\\last.lnk"), tree.file("Desktop\\only.lnk")});
    dialog.FormShow();
    SendMessageA(removeEmpty(), BM_SETCHECK, BST_CHECKED, 0);
    dialog.OKBtnClick();
    EXPECT_FALSE(pathExists(tree.at("Start Menu\\last.lnk")));
    EXPECT_FALSE(pathExists(tree.at("Desktop\\only.lnk")));
    EXPECT_TRUE(pathExists(menu));
    EXPECT_TRUE(pathExists(desk));
}

TEST_F(RemoveLinksDialog, ModalButtonsAndKeys) {
    const std::string a = tree.file("Start Menu\\a.lnk");
    load({a});
    postClick("CancelBtn");
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    EXPECT_TRUE(pathExists(a));
    EXPECT_FALSE(visible(dialog.hwnd()));
    EXPECT_FALSE(visible(removeEmpty())); // FormHide ran

    // Escape, wherever the focus is, answers like "Cancel".
    PostMessageA(dialog.control("OKBtn"), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    EXPECT_TRUE(pathExists(a));
    PostMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    EXPECT_TRUE(pathExists(a));

    postClick("OKBtn");
    EXPECT_EQ(dialog.ShowModal(), IDOK);
    EXPECT_FALSE(pathExists(a));
}

TEST_F(RemoveLinksDialog, HorizontalExtentFollowsTheWidestItemAndNeverShrinks) {
    auto& list = dialog.ShortcutList();
    EXPECT_EQ(list.maxWidth(), 0);
    const std::string wide = "C:\\" + std::string(120, 'W') + "\\orphan.lnk";
    list.AddString(wide);
    const int widest = expectedWidth(list.hwnd(), wide);
    RECT client{};
    GetClientRect(list.hwnd(), &client);
    ASSERT_GT(widest, client.right); // wider than the list, so it scrolls
    EXPECT_EQ(list.ItemWidth(wide), widest);
    EXPECT_EQ(extentOf(list.hwnd()), widest);
    list.AddString("C:\\short.lnk");
    EXPECT_EQ(extentOf(list.hwnd()), widest);
    EXPECT_EQ(list.maxWidth(), widest);
    list.clear();
    list.AddString("C:\\x.lnk");
    EXPECT_EQ(extentOf(list.hwnd()), widest);
}
