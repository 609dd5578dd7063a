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
    return static_cast<int>(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0));
}

// The width rule worked out apart from the list: text, average character width, 20.
int expectedWidth(HWND list, const std::wstring& text) {
    ui::WindowDC dc(list);
    ui::Selected font(dc.get(), reinterpret_cast<HGDIOBJ>(SendMessageW(list, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx + metrics.tmAveCharWidth + 20;
}

bool visible(HWND control) {
    return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

struct RemoveLinksDialog : ::testing::Test {
    TempTree tree{L"removelinks"};
    TRemoveLinksDlg dialog;
    void SetUp() override { dialog.create(nullptr); }
    HWND removeEmpty() { return dialog.control(L"RemoveEmpty"); }
    void load(const std::vector<std::wstring>& paths) { dialog.LoadShortcuts(paths); }
    // Queues a click on a button; the modal loop then delivers it.
    void postClick(const wchar_t* button) { PostMessageW(dialog.control(button), BM_CLICK, 0, 0); }
};

} // namespace

TEST(FolderOfShortcut, KeepsTheRootBackslash) {
    EXPECT_EQ(shortcuts::FolderOfShortcut(L"C:\\Menu\\Games\\x.lnk"), L"C:\\Menu\\Games");
    EXPECT_EQ(shortcuts::FolderOfShortcut(L"C:\\x.lnk"), L"C:\\");
    EXPECT_EQ(shortcuts::FolderOfShortcut(L"C:\\Menu\\\\x.lnk"), L"C:\\Menu\\\\");
    EXPECT_EQ(shortcuts::FolderOfShortcut(L"x.lnk"), L"");
}

TEST_F(RemoveLinksDialog, WindowIsADialogOfTheDescribedSize) {
    wchar_t caption[64] = {};
    GetWindowTextW(dialog.hwnd(), caption, static_cast<int>(std::size(caption)));
    EXPECT_STREQ(caption, L"Remove Orphaned Shortcuts");
    RECT client{};
    GetClientRect(dialog.hwnd(), &client);
    EXPECT_EQ(client.right, 317);
    EXPECT_EQ(client.bottom, 217);
    EXPECT_FALSE(visible(dialog.hwnd())); // made hidden, shown only by the clean run
    EXPECT_EQ(LOWORD(SendMessageW(dialog.hwnd(), DM_GETDEFID, 0, 0)), IDOK);
    wchar_t text[32] = {};
    GetWindowTextW(dialog.control(L"OKBtn"), text, static_cast<int>(std::size(text)));
    EXPECT_STREQ(text, L"Remove");
    EXPECT_FALSE(visible(removeEmpty()));
    EXPECT_FALSE(visible(dialog.control(L"Label2")));
}

TEST_F(RemoveLinksDialog, RemovesOnlyTheTickedShortcuts) {
    const std::vector<std::wstring> paths = {tree.file(L"desk\\a.lnk"), tree.file(L"desk\\b.lnk"),
                                             tree.file(L"desk\\c.lnk")};
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
    EXPECT_TRUE(pathExists(tree.at(L"desk"))); // no folder removal unless asked
    EXPECT_EQ(list.count(), 3);                // items stay after their files are gone
}

TEST_F(RemoveLinksDialog, ReadOnlyShortcutsStay) {
    const std::wstring locked = tree.file(L"desk\\locked.lnk");
    SetFileAttributesW(locked.c_str(), FILE_ATTRIBUTE_READONLY);
    load({locked});
    dialog.FormShow();
    dialog.OKBtnClick();
    EXPECT_TRUE(pathExists(locked));
}

TEST_F(RemoveLinksDialog, RemoveEmptyFoldersIsOfferedForStartMenuPathsOnly) {
    load({tree.file(L"start menu\\lower.lnk")});
    dialog.FormShow();
    EXPECT_FALSE(visible(removeEmpty()));
    EXPECT_FALSE(visible(dialog.control(L"Label2")));

    load({tree.file(L"Start Menu\\Programs\\x.lnk")});
    dialog.FormShow();
    EXPECT_TRUE(visible(removeEmpty()));
    EXPECT_TRUE(visible(dialog.control(L"Label2")));
    SendMessageW(removeEmpty(), BM_SETCHECK, BST_CHECKED, 0);
    dialog.FormHide();
    EXPECT_FALSE(visible(removeEmpty()));
    EXPECT_FALSE(visible(dialog.control(L"Label2")));
    EXPECT_EQ(SendMessageW(removeEmpty(), BM_GETCHECK, 0, 0), BST_CHECKED); // tick kept
}

TEST_F(RemoveLinksDialog, RemoveEmptyFoldersTakesOnlyTheNowEmptyHoldingFolder) {
    const std::wstring only = tree.file(L"Start Menu\\Programs\\Gone\\only.lnk");
    const std::wstring shared = tree.file(L"Start Menu\\Programs\\Kept\\x.lnk");
    tree.file(L"Start Menu\\Programs\\Kept\\readme.txt");
    const std::wstring unticked = tree.file(L"Start Menu\\Programs\\Other\\u.lnk");
    load({only, shared, unticked});
    dialog.FormShow();
    dialog.ShortcutList().setChecked(2, false);
    SendMessageW(removeEmpty(), BM_SETCHECK, BST_CHECKED, 0);
    dialog.OKBtnClick();
    EXPECT_FALSE(pathExists(tree.at(L"Start Menu\\Programs\\Gone")));
    EXPECT_FALSE(pathExists(shared));
    EXPECT_TRUE(pathExists(tree.at(L"Start Menu\\Programs\\Kept\\readme.txt")));
    EXPECT_TRUE(pathExists(unticked));
    // The folder above stays even when the removal left it empty.
    const std::wstring parent = tree.file(L"Start Menu\\Solo\\Inner\\s.lnk");
    dialog.ShortcutList().clear();
    load({parent});
    dialog.FormShow();
    dialog.OKBtnClick();
    EXPECT_FALSE(pathExists(tree.at(L"Start Menu\\Solo\\Inner")));
    EXPECT_TRUE(pathExists(tree.at(L"Start Menu\\Solo")));
}

TEST_F(RemoveLinksDialog, ShellFoldersThemselvesAreNeverRemoved) {
    testsupport::RegistryGuard guard(shortcuts::ShellFoldersKey);
    const std::wstring menu = tree.mkdir(L"Start Menu");
    const std::wstring desk = tree.mkdir(L"Desktop");
    ASSERT_TRUE(testsupport::keyExists(shortcuts::ShellFoldersKey));
    const std::wstring menuValue = menu + L"\\"; // a trailing backslash names the same folder
    testsupport::setText(shortcuts::ShellFoldersKey, L"Start Menu", menuValue);
    testsupport::setText(shortcuts::ShellFoldersKey, L"Desktop", desk);

    load({tree.file(L"Start Menu\\last.lnk"), tree.file(L"Desktop\\only.lnk")});
    dialog.FormShow();
    SendMessageW(removeEmpty(), BM_SETCHECK, BST_CHECKED, 0);
    dialog.OKBtnClick();
    EXPECT_FALSE(pathExists(tree.at(L"Start Menu\\last.lnk")));
    EXPECT_FALSE(pathExists(tree.at(L"Desktop\\only.lnk")));
    EXPECT_TRUE(pathExists(menu));
    EXPECT_TRUE(pathExists(desk));
}

TEST_F(RemoveLinksDialog, ModalButtonsAndKeys) {
    const std::wstring a = tree.file(L"Start Menu\\a.lnk");
    load({a});
    postClick(L"CancelBtn");
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    EXPECT_TRUE(pathExists(a));
    EXPECT_FALSE(visible(dialog.hwnd()));
    EXPECT_FALSE(visible(removeEmpty())); // FormHide ran

    // Escape, wherever the focus is, answers like "Cancel".
    PostMessageW(dialog.control(L"OKBtn"), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    EXPECT_TRUE(pathExists(a));
    PostMessageW(dialog.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(dialog.ShowModal(), IDCANCEL);
    EXPECT_TRUE(pathExists(a));

    postClick(L"OKBtn");
    EXPECT_EQ(dialog.ShowModal(), IDOK);
    EXPECT_FALSE(pathExists(a));
}

TEST_F(RemoveLinksDialog, HorizontalExtentFollowsTheWidestItemAndNeverShrinks) {
    auto& list = dialog.ShortcutList();
    EXPECT_EQ(list.maxWidth(), 0);
    const std::wstring wide = L"C:\\" + std::wstring(120, L'W') + L"\\orphan.lnk";
    list.AddString(wide);
    const int widest = expectedWidth(list.hwnd(), wide);
    RECT client{};
    GetClientRect(list.hwnd(), &client);
    ASSERT_GT(widest, client.right); // wider than the list, so it scrolls
    EXPECT_EQ(list.ItemWidth(wide), widest);
    EXPECT_EQ(extentOf(list.hwnd()), widest);
    list.AddString(L"C:\\short.lnk");
    EXPECT_EQ(extentOf(list.hwnd()), widest);
    EXPECT_EQ(list.maxWidth(), widest);
    list.clear();
    list.AddString(L"C:\\x.lnk");
    EXPECT_EQ(extentOf(list.hwnd()), widest);
}
