#include "app/RemoveShortcuts.h"

#include "app/AppResources.h"
#include "shortcuts/RemoveOrphans.h"
#include "ui/LabelFocus.h"
#include "ui/ModalLoop.h"

#include <stdexcept>

namespace app {

namespace {
using ui::kFitText;
using ui::kNoTab;
constexpr const wchar_t* kPanel = nullptr;      // TBitmapPanel, made by the dialog
constexpr const wchar_t* kListBox = nullptr;    // THListBox, made by the dialog
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX; // word-wrapped, no click action

// clang-format off
constexpr ui::ControlDef kLayout[] = {
//   name            class     id                    parent          left top  width height caption                 style                          tab     help
    {L"OKBtn",        L"BUTTON", idOKBtn,              nullptr,        159, 188, 75,   25,    L"Remove",               BS_DEFPUSHBUTTON | WS_TABSTOP, 0,      0},
    {L"CancelBtn",    L"BUTTON", idCancelBtn,          nullptr,        239, 188, 75,   25,    L"Cancel",               BS_PUSHBUTTON | WS_TABSTOP,    1,      0},
    {L"BitmapPanel1", kPanel,   idRemoveLinksPanel,   nullptr,        4,   4,   309,  177,   L"",                     0,                             2,      0},
    // RemoveEmpty and Label2 start hidden; FormShow shows them for Start Menu paths.
    // RemoveEmpty's caption is never drawn (the box is no wider than its glyph): it names
    // the box for screen readers; Label2 draws the words and the box's focus.
    {L"RemoveEmpty",  L"BUTTON", idRemoveEmpty,        L"BitmapPanel1", 10,  150, 15,   17,    L"Remove Empty Folders", BS_AUTOCHECKBOX | WS_TABSTOP,  0,      0},
    {L"Label1",       L"STATIC", idRemoveLinksLabel1,  L"BitmapPanel1", 8,   8,   293,  25,
     L"The following shortcut(s) appear to have no existing programs associated with them:", kLabel, kNoTab, 0},
    // Label2 sizes itself to its caption (109 wide in the original font).
    {L"Label2",       L"STATIC", idRemoveLinksLabel2,  L"BitmapPanel1", 26,  152, kFitText, 13, L"Remove Empty Folders", kLabel,                        kNoTab, 0},
    {L"ShortcutList", kListBox, idShortcutList,       L"BitmapPanel1", 12,  40,  285,  101,   L"",                     0,                             1,      0},
};
// clang-format on
} // namespace

std::span<const ui::ControlDef> RemoveLinksLayout() {
    return kLayout;
}

HWND TRemoveLinksDlg::makeComponent(const ui::ControlDef& entry, HWND parent, HBITMAP tile) {
    if (entry.id == idRemoveLinksPanel) {
        BitmapPanel1.setDpi(dpi_);
        HWND panel =
            BitmapPanel1.create(parent, entry.id, entry.left, entry.top, entry.width, entry.height);
        BitmapPanel1.setBitmap(tile);
        return panel;
    }
    if (entry.id == idShortcutList) {
        ShortcutList_.setDpi(dpi_);
        return ShortcutList_.create(parent, entry.id, entry.left, entry.top, entry.width,
                                    entry.height);
    }
    return nullptr;
}

void TRemoveLinksDlg::create(HWND owner) {
    owner_ = owner;
    registerClass(kRemoveLinksClass, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE),
                  LoadCursorW(nullptr, IDC_ARROW));
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    if (!Window::create(kRemoveLinksClass, exStyle, style, kRemoveLinksCaption, 0, 0, 0, 0, owner,
                        0))
        throw std::runtime_error("Cannot create the Remove Orphaned Shortcuts window");
    // Sized and placed once the window knows the DPI of the screen it is on.
    dpi_ = ui::dpiOf(hwnd());
    ui::placeCentred(hwnd(), ui::scale(kRemoveLinksClientWidth, dpi_),
                     ui::scale(kRemoveLinksClientHeight, dpi_), dpi_);
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::defaultFont(dpi_)), FALSE);
    // The same tile as the main window's pages (absent in programs without the resource);
    // the panel copies it.
    const ui::Bitmap tile = ui::loadBitmap(MAKEINTRESOURCEW(IDB_TILE));
    layout_.build(
        hwnd(), RemoveLinksLayout(), ui::defaultFont(dpi_),
        [this, &tile](const ui::ControlDef& entry, HWND parent) {
            return makeComponent(entry, parent, tile.get());
        },
        dpi_);
    ui::showFocusOnLabel(control(L"RemoveEmpty"), control(L"Label2"));
    FormHide();
}

void TRemoveLinksDlg::applyDpi(UINT dpi, const RECT& frame) {
    dpi_ = dpi;
    const HFONT font = ui::defaultFont(dpi);
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    layout_.applyDpi(dpi, font);
    BitmapPanel1.setDpi(dpi);
    ShortcutList_.setDpi(dpi);
    SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TRemoveLinksDlg::LoadShortcuts(const std::vector<std::wstring>& paths) {
    for (const auto& path : paths)
        ShortcutList_.AddString(path);
}

void TRemoveLinksDlg::FormShow() {
    for (int i = 0; i < ShortcutList_.count(); ++i) {
        ShortcutList_.setChecked(i, true);
        // Case-sensitive on purpose: the offer is for the shell's own "Start Menu" folder.
        if (ShortcutList_.text(i).find(L"Start Menu") != std::wstring::npos) {
            ShowWindow(control(L"RemoveEmpty"), SW_SHOW);
            ShowWindow(control(L"Label2"), SW_SHOW);
        }
    }
}

void TRemoveLinksDlg::OKBtnClick() {
    std::vector<std::wstring> ticked;
    for (int i = 0; i < ShortcutList_.count(); ++i)
        if (ShortcutList_.checked(i))
            ticked.push_back(ShortcutList_.text(i));
    shortcuts::RemoveOrphanedShortcuts(
        ticked, SendMessageW(control(L"RemoveEmpty"), BM_GETCHECK, 0, 0) == BST_CHECKED);
}

void TRemoveLinksDlg::FormHide() {
    ShowWindow(control(L"RemoveEmpty"), SW_HIDE);
    ShowWindow(control(L"Label2"), SW_HIDE);
}

void TRemoveLinksDlg::finish(int result) {
    modalResult_ = result;
    modal_ = false;
}

int TRemoveLinksDlg::ShowModal() {
    if (!hwnd())
        return IDCANCEL;
    FormShow();
    modal_ = true;
    modalResult_ = 0;
    const bool ended =
        ui::runModalLoop(hwnd(), owner_, control(L"OKBtn"), [this] { return !modal_; });
    FormHide();
    if (!ended)
        return IDCANCEL;
    return modalResult_ ? modalResult_ : IDCANCEL;
}

LRESULT TRemoveLinksDlg::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case DM_GETDEFID:
        // Enter presses the focused push button, else "Remove".
        return ui::defaultButtonAnswer(hwnd(), idOKBtn);
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED || lParam == 0) {
            if (LOWORD(wParam) == idOKBtn) {
                OKBtnClick();
                finish(IDOK);
                return 0;
            }
            if (LOWORD(wParam) == idCancelBtn) {
                finish(IDCANCEL);
                return 0;
            }
        }
        break;
    case WM_CLOSE:
        // The close box answers like "Cancel"; the window itself lives on.
        if (modal_)
            finish(IDCANCEL);
        return 0;
    case WM_DPICHANGED:
        applyDpi(ui::dpiOfChange(wParam), ui::suggestedRect(lParam));
        return 0;
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
        // The panel reads the colours, and whether to draw its tiles, when it paints.
        RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        break;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace app
