#include "app/MessageDialog.h"

#include "ui/ModalLoop.h"
#include "ui/Gdi.h"
#include "ui/Layout.h"

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

void MessageDialog::layOut() {
    const HFONT font = ui::defaultFont();
    // Lines wrap at half the screen's width, as a message box's do.
    const SIZE textSize = ui::textExtent(font, text_, GetSystemMetrics(SM_CXSCREEN) / 2);
    const int textWidth = textSize.cx;
    const int textHeight = textSize.cy;
    const auto buttons = buttonsOf(kind_);
    const int buttonsWidth =
        static_cast<int>(buttons.size()) * (kButtonWidth + kButtonGap) - kButtonGap;

    const int textLeft = kMargin + kIconSize + kMargin;
    const int clientWidth = std::max(textLeft + textWidth + kMargin, buttonsWidth + 2 * kMargin);
    const int buttonsTop = kMargin + std::max(kIconSize, textHeight) + kMargin;
    const int clientHeight = buttonsTop + kButtonHeight + kMargin;

    // Centre the text block beside the icon when it is lower than the icon.
    const int textTop = kMargin + std::max(0, (kIconSize - textHeight) / 2);
    // In creation order, which is also the order Tab follows through the buttons.
    std::vector<ui::ControlDef> controls{
        {L"Icon", L"STATIC", kIconId, nullptr, kMargin, kMargin, kIconSize, kIconSize, L"", SS_ICON,
         0, 0},
        {L"Text", L"STATIC", kTextId, nullptr, textLeft, textTop, textWidth, textHeight,
         text_.c_str(), SS_LEFT | SS_NOPREFIX, 1, 0},
    };
    int left = (clientWidth - buttonsWidth) / 2;
    for (const ButtonDef& entry : buttons) {
        const DWORD style =
            WS_TABSTOP | (entry.id == defaultButton() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        controls.push_back({entry.caption, L"BUTTON", entry.id, nullptr, left, buttonsTop,
                            kButtonWidth, kButtonHeight, entry.caption, style,
                            static_cast<int>(controls.size()), 0});
        left += kButtonWidth + kButtonGap;
    }
    ui::Layout layout;
    layout.build(hwnd(), controls, font, nullptr);
    const HICON picture =
        LoadIconW(nullptr, kind_ == MessageKind::Confirmation ? IDI_QUESTION : IDI_INFORMATION);
    SendMessageW(layout.find(L"Icon"), STM_SETICON, reinterpret_cast<WPARAM>(picture), 0);

    const RECT frame =
        ui::centredFrame(clientWidth, clientHeight, GetWindowLongW(hwnd(), GWL_STYLE),
                         GetWindowLongW(hwnd(), GWL_EXSTYLE));
    SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
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
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace app
