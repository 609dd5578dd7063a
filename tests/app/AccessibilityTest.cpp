// What screen readers and keyboard users get from the main window and the orphan dialog:
// the names the system's accessibility layer reads, a visible focus on the bare check
// boxes, the keys that turn the pages, and the focus back in place after a modal window.
#include "app/AboutPage.h"
#include "app/MessageDialog.h"
#include "app/RemoveShortcuts.h"
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "shortcuts/ComPtr.h"
#include "tests/app/AnswerFromTimer.h"
#include "tests/app/MainWindowFixture.h"
#include "tests/e2e/Driver.h"
#include "tests/support/Pixels.h"
#include "components/CreditsBox.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <oleacc.h>

#include <string>
#include <vector>

namespace {

using namespace app;

// The name a screen reader gets for a window, through the system's accessibility layer.
std::wstring accessibleName(HWND window) {
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(window, OBJID_CLIENT, IID_IAccessible,
                                          reinterpret_cast<void**>(&object))))
        return L"(no accessible object)";
    VARIANT self{};
    self.vt = VT_I4; // CHILDID_SELF
    BSTR name = nullptr;
    const std::wstring result = object->get_accName(self, &name) == S_OK && name ? name : L"";
    SysFreeString(name);
    object->Release();
    return result;
}

// The client area of `control` as drawn, row by row.
std::vector<COLORREF> pixelsOf(HWND control) {
    RECT r{};
    GetClientRect(control, &r);
    testpixels::Canvas canvas(r.right, r.bottom);
    canvas.fill(RGB(1, 2, 3));
    canvas.render(control);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < r.bottom; ++y)
        for (int x = 0; x < r.right; ++x)
            pixels.push_back(canvas.at(x, y));
    return pixels;
}

// How many pixels differ between two pictures of `control`, and whether all of them lie
// on its outermost rows and columns.
struct Difference {
    int count = 0;
    bool onEdgesOnly = true;
};
Difference compare(HWND control, const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    RECT r{};
    GetClientRect(control, &r);
    Difference d;
    for (size_t i = 0; i < a.size(); ++i) {
        const int x = static_cast<int>(i) % r.right, y = static_cast<int>(i) / r.right;
        if (a[i] != b[i]) {
            ++d.count;
            d.onEdgesOnly &= x == 0 || y == 0 || x == r.right - 1 || y == r.bottom - 1;
        }
    }
    return d;
}

// The focus mark of `label` as `box` gains and loses the focus (to `elsewhere`).
void expectFocusMark(HWND box, HWND label, HWND elsewhere) {
    SetFocus(elsewhere);
    UpdateWindow(label);
    const auto plain = pixelsOf(label);
    SetFocus(box);
    ASSERT_EQ(GetFocus(), box);
    EXPECT_TRUE(GetUpdateRect(label, nullptr, FALSE)) << "the label repaints for the focus";
    const Difference marked = compare(label, plain, pixelsOf(label));
    RECT r{};
    GetClientRect(label, &r);
    // A dotted rectangle along the label's edges: every other pixel, at least.
    EXPECT_GE(marked.count, r.right + r.bottom - 2) << e2e::windowText(label);
    EXPECT_TRUE(marked.onEdgesOnly) << e2e::windowText(label);
    SetFocus(elsewhere);
    EXPECT_EQ(compare(label, plain, pixelsOf(label)).count, 0) << e2e::windowText(label);
}

// A bare check box draws its glyph only, focused or not: its caption, there for screen
// readers, never shows.
void expectCaptionNeverDrawn(HWND box, HWND elsewhere) {
    const std::wstring caption = e2e::windowText(box);
    for (HWND focus : {elsewhere, box}) {
        SetFocus(focus);
        const auto withCaption = pixelsOf(box);
        SetWindowTextW(box, L"");
        EXPECT_EQ(compare(box, withCaption, pixelsOf(box)).count, 0) << caption;
        SetWindowTextW(box, caption.c_str());
    }
}

using ComScope = shortcuts::ComInit;

struct MainWindowAccess : apptest::MainWindowFixture {
    ComScope com;
    void SetUp() override {
        MainWindowFixture::SetUp();
        if (HasFatalFailure())
            return;
        ShowWindow(window, SW_SHOWNA);
        // The sub-folder box of the temp folder takes the focus only while enabled.
        engine::Choices choices;
        choices.windowsTemp = true;
        choices.userFolders = {{L"C:\\Data\\Old Downloads", true}};
        form.showChoices(choices);
    }
};

// Each bare check box with the label that shows its words, and its accessible name.
struct LabelledBox {
    int box;
    int label;
    const wchar_t* name;
};
constexpr LabelledBox kBoxes[] = {
    {idCheckBox1, idLabel7, L"Windows Temp Files"},
    {idWindowsTempSub, idLabel1, L"Delete Sub - Folders? (Windows Temp Files)"},
    {idCheckBox5, idLabel8, L"Recent Documents"},
    {idCheckBox2, idLabel6, L"Clear Orphaned Shortcuts from Desktop"},
    {idCheckBox4, idLabel3, L"Clear Orphaned Shortcuts from Start Menu"},
    {idCheckBox3, idLabel4, L"Recycle Bin"},
    {idUserSub, idLabel9, L"Delete Sub - Folders? (User Folders)"},
};

TEST_F(MainWindowAccess, EveryControlIsNamedByTheWordsItShows) {
    for (const LabelledBox& row : kBoxes) {
        EXPECT_EQ(accessibleName(control(row.box)), row.name);
        // The name starts with the words a sighted user reads beside the box.
        EXPECT_EQ(std::wstring(row.name).rfind(e2e::windowText(control(row.label)), 0), 0u)
            << row.name;
        // No mnemonic of its own: Alt and a letter would fight the label's.
        EXPECT_EQ(e2e::windowText(control(row.box)).find(L'&'), std::wstring::npos);
    }
    const std::pair<int, const wchar_t*> buttons[] = {{idButton1, L"Go!"},   {idButton4, L"Cancel"},
                                                      {idHelpBtn, L"Help"},  {idButton2, L"Add..."},
                                                      {idRemove, L"Remove"}, {idButton6, L"Clear"}};
    for (const auto& [id, name] : buttons)
        EXPECT_EQ(accessibleName(control(id)), name);
    EXPECT_EQ(accessibleName(control(idASLink2)), kWebAddress);
    // A list item is read by its text (the list proxy of Windows asks LB_GETTEXT; Wine's
    // accessibility layer offers no list items at all).
    EXPECT_EQ(e2e::listTexts(control(idUserDirs)),
              std::vector<std::wstring>{L"C:\\Data\\Old Downloads"});
}

TEST_F(MainWindowAccess, ACheckBoxShowsItsFocusAroundItsLabelAndNeverDrawsItsCaption) {
    for (const LabelledBox& row : kBoxes) {
        expectFocusMark(control(row.box), control(row.label), control(idButton1));
        expectCaptionNeverDrawn(control(row.box), control(idButton1));
    }
}

// Wine keeps no focus-cue state (every window answers "shown"): the box here answers as a
// window of Windows does while cues are hidden until the keyboard is used.
LRESULT CALLBACK hidingFocusCues(HWND box, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
    if (msg == WM_QUERYUISTATE)
        return UISF_HIDEFOCUS;
    return DefSubclassProc(box, msg, wParam, lParam);
}

TEST_F(MainWindowAccess, TheMarkWaitsForTheKeyboardWhileTheWindowHidesFocusCues) {
    HWND box = control(idCheckBox2), label = control(idLabel6), go = control(idButton1);
    SetFocus(go);
    const auto plain = pixelsOf(label);
    SetWindowSubclass(box, &hidingFocusCues, 1, 0);
    SetFocus(box);
    EXPECT_EQ(compare(label, plain, pixelsOf(label)).count, 0);
    // The keyboard is used: the window tells its controls, and the mark shows at once.
    RemoveWindowSubclass(box, &hidingFocusCues, 1);
    ValidateRect(label, nullptr);
    SendMessageW(box, WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    EXPECT_TRUE(GetUpdateRect(label, nullptr, FALSE));
    EXPECT_GT(compare(label, plain, pixelsOf(label)).count, 0);
}

TEST_F(MainWindowAccess, CtrlTabAndCtrlPageKeysTurnThePagesBothWaysAndWrap) {
    HWND tabs = control(idOptionsPage);
    auto* credits = dynamic_cast<components::TScrollingCreditsBox*>(
        ui::Window::fromHandle(control(idScrollingCreditsBox1)));
    ASSERT_NE(credits, nullptr);
    // Typed on a check box of the page; the page going away hands the focus to the strip.
    SetFocus(control(idCheckBox1));
    const auto press = [&](WPARAM key, bool shift) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_CONTROL] = 0x80;
        keys[VK_SHIFT] = shift ? 0x80 : 0;
        SetKeyboardState(keys);
        MSG msg{GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
        const bool handled = form.preTranslate(msg);
        keys[VK_CONTROL] = keys[VK_SHIFT] = 0;
        SetKeyboardState(keys);
        return handled;
    };
    EXPECT_TRUE(press(VK_TAB, false));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(control(idBitmapPanel4)));
    EXPECT_FALSE(IsWindowVisible(control(idBitmapPanel1)));
    EXPECT_EQ(GetFocus(), tabs);
    EXPECT_EQ(GetNextDlgTabItem(window, tabs, FALSE), control(idASLink2))
        << "Tab goes on to the link";
    EXPECT_TRUE(credits->Started() && !credits->Paused()) << "the About page's credits run";
    EXPECT_TRUE(press(VK_TAB, false)); // wraps to the first page
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(credits->Paused());
    EXPECT_TRUE(press(VK_TAB, true));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(press(VK_PRIOR, false));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_TRUE(press(VK_NEXT, false));
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
    EXPECT_TRUE(IsWindowVisible(control(idBitmapPanel4)));
    // Without Ctrl, Page Down is the focused control's own key.
    MSG plain{control(idButton1), WM_KEYDOWN, VK_NEXT, 1, 0, {}};
    form.preTranslate(plain);
    EXPECT_EQ(SendMessageW(tabs, TCM_GETCURSEL, 0, 0), 1);
}

// The shell's picker stands in as the system's own modal dialog box (a message box),
// closed from a timer once it shows.
void CALLBACK closeSystemDialog(HWND, UINT, UINT_PTR id, DWORD) {
    if (HWND box = FindWindowW(L"#32770", L"Picker")) {
        KillTimer(nullptr, id);
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
    }
}
std::wstring systemModalPicker(HWND owner) {
    SetTimer(nullptr, 0, 20, &closeSystemDialog);
    MessageBoxW(owner, L"Choose a folder", L"Picker", MB_OKCANCEL);
    return {};
}

TEST_F(MainWindowAccess, TheFocusComesBackToItsButtonAfterThePickerAndTheConfirmation) {
    SetForegroundWindow(window);
    HWND add = control(idButton2);
    SetFocus(add);
    const FolderPicker previous = SetFolderPicker(&systemModalPicker);
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(idButton2, BN_CLICKED),
                 reinterpret_cast<LPARAM>(add));
    SetFolderPicker(previous);
    EXPECT_EQ(GetFocus(), add);

    HWND clear = control(idButton6);
    SetFocus(clear);
    apptest::answerFromTimer([](HWND dialog) {
        PostMessageW(dialog, WM_COMMAND, IDNO, 0);
        return true;
    });
    SendMessageW(window, WM_COMMAND, MAKEWPARAM(idButton6, BN_CLICKED),
                 reinterpret_cast<LPARAM>(clear));
    EXPECT_EQ(GetFocus(), clear);
}

TEST(RemoveLinksAccess, RemoveEmptyFoldersIsNamedAndShowsItsFocusOnItsLabel) {
    ComScope com;
    TRemoveLinksDlg dialog;
    dialog.create(nullptr);
    dialog.LoadShortcuts({L"C:\\Start Menu\\Old.lnk"});
    dialog.FormShow();
    ShowWindow(dialog.hwnd(), SW_SHOWNA);
    HWND box = dialog.control(L"RemoveEmpty");
    EXPECT_EQ(accessibleName(box), L"Remove Empty Folders");
    EXPECT_EQ(accessibleName(dialog.control(L"OKBtn")), L"Remove");
    EXPECT_EQ(accessibleName(dialog.control(L"CancelBtn")), L"Cancel");
    EXPECT_EQ(e2e::listTexts(dialog.control(L"ShortcutList")),
              std::vector<std::wstring>{L"C:\\Start Menu\\Old.lnk"});
    expectFocusMark(box, dialog.control(L"Label2"), dialog.control(L"OKBtn"));
    expectCaptionNeverDrawn(box, dialog.control(L"OKBtn"));
}

} // namespace
