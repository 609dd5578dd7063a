#pragma once
// Small helpers for tests of windows: plain host windows and a message pump.
#include <windows.h>

#include <functional>

#include "tests/support/TestSupport.h"

namespace facetest {

// Runs the message loop of this thread for `ms` milliseconds.
inline void pump(DWORD ms) {
    const DWORD start = GetTickCount();
    MSG msg;
    while (GetTickCount() - start < ms) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Runs the message loop of this thread until `done` holds, for at most `timeoutMs`; whether
// it came to hold. It returns straight after running the messages, so no message another
// thread sent meanwhile has been looked at (and so marked as old) without being run.
inline bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000) {
    const DWORD start = GetTickCount();
    MSG msg;
    for (;;) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Waits, running nothing, until another thread has sent this one a message and is waiting
// for it to be handled (a worker handing over its call). This marks the message as old:
// a MsgWaitForMultipleObjects without MWMO_INPUTAVAILABLE no longer wakes for it, so run
// the message loop next.
inline bool waitForSentMessage(DWORD timeoutMs = 10000) {
    return testsupport::waitUntil(
        [] { return (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) & QS_SENDMESSAGE) != 0; }, timeoutMs);
}

// A visible top-level window with a plain background of `color`.
inline HWND makeHost(int width = 400, int height = 300, COLORREF color = RGB(255, 255, 255)) {
    static const wchar_t* kClass = L"FaceTestHost";
    WNDCLASSW wc{};
    if (!GetClassInfoW(GetModuleHandleW(nullptr), kClass, &wc)) {
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassW(&wc);
    }
    HWND host = CreateWindowExW(0, kClass, L"host", WS_POPUP | WS_VISIBLE, 10, 10, width, height,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetClassLongPtrW(host, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(CreateSolidBrush(color)));
    return host;
}

// A hidden popup of the STATIC class, for tests that need a parent but no painting.
inline HWND makeStaticHost(int width, int height, DWORD exStyle = 0) {
    return CreateWindowExW(exStyle, L"STATIC", L"host", WS_POPUP, 0, 0, width, height, nullptr,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
}

// Owns a test's host window and destroys it on every way out of the test; destroy() ends
// it earlier where a test needs it gone at a given point.
class Host {
public:
    // A visible popup with a plain background (makeHost).
    explicit Host(int width = 400, int height = 300, COLORREF color = RGB(255, 255, 255))
        : hwnd_(makeHost(width, height, color)) {}
    explicit Host(HWND adopted) : hwnd_(adopted) {}
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;
    ~Host() { destroy(); }

    HWND get() const { return hwnd_; }
    operator HWND() const { return hwnd_; }
    void destroy() {
        if (hwnd_ && IsWindow(hwnd_))
            DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }

private:
    HWND hwnd_ = nullptr;
};

} // namespace facetest
