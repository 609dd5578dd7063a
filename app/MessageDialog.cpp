#include "app/MessageDialog.h"

#include "ui/Dpi.h"
#include "ui/ModalLoop.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace app {

namespace {
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
constexpr int kTextId = 100;
constexpr int kIconId = 101;

struct ButtonDef {
    int id;
    const wchar_t* caption;
};
std::vector<ButtonDef> buttonsOf(MessageKind kind) {
    if (kind == MessageKind::Confirmation)
        return {{IDYES, L"&Yes"}, {IDNO, L"&No"}};
    return {{IDOK, L"OK"}};
}
} // namespace

int ShowMessage(HWND owner, MessageKind kind, const std::wstring& text) {
    MessageDialog dialog(kind, text);
    return dialog.run(owner);
}

MessageDialog::MessageDialog(MessageKind kind, std::wstring text)
    : kind_(kind), text_(std::move(text)) {}

int MessageDialog::defaultButton() const {
    return kind_ == MessageKind::Confirmation ? IDYES : IDOK;
}

int MessageDialog::escapeAnswer() const {
    return kind_ == MessageKind::Confirmation ? IDNO : IDOK;
}

int MessageDialog::run(HWND owner) {
    registerClass(kClassName, 0, GetSysColorBrush(COLOR_BTNFACE));
    const wchar_t* caption = kind_ == MessageKind::Confirmation ? L"Confirm" : L"Information";
    if (!create(kClassName, WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, caption, 0, 0, 100, 100,
                owner, 0))
        return escapeAnswer();
    layOut();

    const bool ended = ui::runModalLoop(hwnd(), owner, GetDlgItem(hwnd(), defaultButton()),
                                        [this] { return done_; });
    if (hwnd())
        DestroyWindow(hwnd());
    if (!ended)
        return escapeAnswer();
    return answer_;
}

MessageDialog::Placement MessageDialog::place(UINT dpi) const {
    const auto px = [dpi](int pixels) { return ui::scale(pixels, dpi); };
    const int margin = px(kMargin), iconSize = px(kIconSize);
    const int buttonWidth = px(kButtonWidth), buttonHeight = px(kButtonHeight);
    const int buttonGap = px(kButtonGap);
    // Lines wrap at half the screen's width, as a message box's do.
    const SIZE extent =
        ui::textExtent(ui::defaultFont(dpi), text_, GetSystemMetrics(SM_CXSCREEN) / 2);
    const int textWidth = extent.cx, textHeight = extent.cy;
    const auto buttons = buttonsOf(kind_);
    const int buttonsWidth =
        static_cast<int>(buttons.size()) * (buttonWidth + buttonGap) - buttonGap;

    const int textLeft = margin + iconSize + margin;
    const int clientWidth = std::max(textLeft + textWidth + margin, buttonsWidth + 2 * margin);
    const int buttonsTop = margin + std::max(iconSize, textHeight) + margin;
    // Centre the text block beside the icon when it is lower than the icon.
    const int textTop = margin + std::max(0, (iconSize - textHeight) / 2);

    Placement placement{{}, {clientWidth, buttonsTop + buttonHeight + margin}};
    // In creation order, which is also the order Tab follows through the buttons.
    placement.controls = {
        {L"Icon", L"STATIC", kIconId, nullptr, margin, margin, iconSize, iconSize, L"", SS_ICON, 0,
         0},
        {L"Text", L"STATIC", kTextId, nullptr, textLeft, textTop, textWidth, textHeight,
         text_.c_str(), SS_LEFT | SS_NOPREFIX, 1, 0},
    };
    int left = (clientWidth - buttonsWidth) / 2;
    for (const ButtonDef& entry : buttons) {
        const DWORD style =
            WS_TABSTOP | (entry.id == defaultButton() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        placement.controls.push_back({entry.caption, L"BUTTON", entry.id, nullptr, left, buttonsTop,
                                      buttonWidth, buttonHeight, entry.caption, style,
                                      static_cast<int>(placement.controls.size()), 0});
        left += buttonWidth + buttonGap;
    }
    return placement;
}

void MessageDialog::showIcon(int size) {
    // The system's picture drawn for this size, not a smaller one stretched.
    const WORD picture = kind_ == MessageKind::Confirmation ? 32514 /* question */
                                                            : 32516 /* information */;
    ui::Icon icon(static_cast<HICON>(
        LoadImageW(nullptr, MAKEINTRESOURCEW(picture), IMAGE_ICON, size, size, 0)));
    SendMessageW(layout_.find(L"Icon"), STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
    // The icon shown until now goes only once the control has let go of it.
    icon_ = std::move(icon);
}

void MessageDialog::layOut() {
    dpi_ = ui::dpiOf(hwnd());
    const Placement placement = place(dpi_);
    // The placement is in pixels at the dialog's DPI already.
    layout_.build(hwnd(), placement.controls, ui::defaultFont(dpi_), nullptr);
    showIcon(ui::scale(kIconSize, dpi_));

    ui::placeCentred(hwnd(), placement.client.cx, placement.client.cy, dpi_);
}

void MessageDialog::applyDpi(UINT dpi, const RECT& frame) {
    dpi_ = dpi;
    const HFONT font = ui::defaultFont(dpi);
    for (const ui::ControlDef& c : place(dpi).controls) {
        HWND control = layout_.find(c.name);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(control, nullptr, c.left, c.top, c.width, c.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    showIcon(ui::scale(kIconSize, dpi));
    SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void MessageDialog::finish(int answer) {
    answer_ = answer;
    done_ = true;
}

LRESULT MessageDialog::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case DM_GETDEFID:
        // Enter presses the focused push button, else the default one.
        return ui::defaultButtonAnswer(hwnd(), defaultButton());
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDYES:
        case IDNO:
        case IDOK:
            finish(LOWORD(wParam));
            return 0;
        case IDCANCEL:
            finish(escapeAnswer());
            return 0;
        }
        break;
    case WM_CLOSE:
        finish(escapeAnswer());
        return 0;
    case WM_DPICHANGED:
        applyDpi(ui::dpiOfChange(wParam), ui::suggestedRect(lParam));
        return 0;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace app
