#pragma once
// The message loop of our own modal windows.
#include <windows.h>

namespace ui {

// Puts the keyboard focus back, on leaving its scope, on the control that had it on
// entering: a modal window takes the focus away, and when it closes the system gives the
// focus to the owner window itself, not to the control the user was on. Only while that
// control's window is the active one: the user may have gone to another program.
class FocusComesBack {
public:
    FocusComesBack() : focus_(GetFocus()) {}
    FocusComesBack(const FocusComesBack&) = delete;
    FocusComesBack& operator=(const FocusComesBack&) = delete;
    ~FocusComesBack() {
        if (focus_ && IsWindow(focus_) && IsWindowVisible(focus_) && IsWindowEnabled(focus_) &&
            GetActiveWindow() == GetAncestor(focus_, GA_ROOT))
            SetFocus(focus_);
    }

private:
    HWND focus_;
};

// Shows `dialog`, focuses `focus` and runs the message loop until `done()` says so, with
// `owner` disabled meanwhile. Then the owner is enabled again and only then the dialog
// hidden, so that activation goes back to the owner, and the focus goes back to the
// control that had it. Returns false when the loop ended by WM_QUIT, which is posted again
// for the program's own loop.
template <class Done> bool runModalLoop(HWND dialog, HWND owner, HWND focus, Done&& done) {
    const FocusComesBack focusComesBack;
    const bool ownerWasEnabled = owner && IsWindowEnabled(owner);
    if (ownerWasEnabled)
        EnableWindow(owner, FALSE);
    ShowWindow(dialog, SW_SHOW);
    SetFocus(focus);

    MSG msg{};
    bool quit = false;
    while (!done()) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            quit = got == 0;
            break;
        }
        if (!IsDialogMessageW(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    if (ownerWasEnabled)
        EnableWindow(owner, TRUE);
    ShowWindow(dialog, SW_HIDE);
    if (quit)
        PostQuitMessage(static_cast<int>(msg.wParam));
    return !quit;
}

// The answer to DM_GETDEFID: Enter presses the focused push button, else `defaultId`.
inline LRESULT defaultButtonAnswer(HWND dialog, int defaultId) {
    HWND focus = GetFocus();
    int id = defaultId;
    if (focus && IsChild(dialog, focus) &&
        (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & (DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON)))
        id = GetDlgCtrlID(focus);
    return MAKELRESULT(id, DC_HASDEFID);
}

} // namespace ui
