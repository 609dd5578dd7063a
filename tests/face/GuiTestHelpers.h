#pragma once
// Small helpers for tests of windows: a plain host window and a message pump.
#include <windows.h>

namespace facetest {

// Runs the message loop of this thread for `ms` milliseconds.
inline void pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// A visible top-level window with a plain background of `color`.
inline HWND makeHost(int width = 400, int height = 300, COLORREF color = RGB(255, 255, 255)) {
    static const char* kClass = "FaceTestHost";
    WNDCLASSA wc{};
    if (!GetClassInfoA(GetModuleHandleA(nullptr), kClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    HWND host = CreateWindowExA(0, kClass, "host", WS_POPUP | WS_VISIBLE, 10, 10, width, height,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    SetClassLongPtrA(host, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(CreateSolidBrush(color)));
    return host;
}

} // namespace facetest
