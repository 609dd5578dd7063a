#pragma once
// The message loop of our own modal windows.
#include <windows.h>

namespace ui {

// Shows `dialog`, focuses `focus` and runs the message loop until `done()` says so, with
// `owner` disabled meanwhile. The owner is enabled again before this returns (and so
// before the caller hides the dialog), so that activation goes back to it. Returns false
// when the loop ended by WM_QUIT, which is posted again for the program's own loop.
template <class Done> bool runModalLoop(HWND dialog, HWND owner, HWND focus, Done&& done) {
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
