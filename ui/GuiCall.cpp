#include "ui/GuiCall.h"
#include "ui/Window.h"

#include <exception>

namespace ui {

namespace {
constexpr const char* kChannelClass = "Brightsweep.GuiChannel";
constexpr UINT kRunMessage = WM_APP + 0x4C1;

struct Call {
    GuiChannel::Operation op;
    void* context;
};
} // namespace

GuiChannel::GuiChannel() {
    registerWindowClass(kChannelClass, &GuiChannel::proc);
    window_ = CreateWindowExA(0, kChannelClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (window_)
        SetWindowLongPtrA(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&closed_));
}

GuiChannel::~GuiChannel() {
    close();
    if (window_)
        DestroyWindow(window_);
}

bool GuiChannel::run(Operation op, void* context) const {
    if (closed() || !window_)
        return false;
    Call call{op, context};
    DWORD_PTR answer = 0;
    // A plain blocking send: it returns when the GUI thread has run the call, or at once
    // when the window no longer exists (then the answer stays 0).
    if (!SendMessageTimeoutA(window_, kRunMessage, 0, reinterpret_cast<LPARAM>(&call), SMTO_BLOCK,
                             INFINITE, &answer))
        return false;
    return answer == 1;
}

LRESULT CALLBACK GuiChannel::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kRunMessage)
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    auto* closed = reinterpret_cast<std::atomic<bool>*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    if (!closed || closed->load())
        return 0;
    const auto* call = reinterpret_cast<const Call*>(lParam);
    // Catch at the edge: nothing may unwind into the worker's SendMessage.
    try {
        call->op(call->context);
    } catch (...) {
    }
    return 1;
}

bool waitForThread(HANDLE thread, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD left = INFINITE;
        if (timeoutMs != INFINITE) {
            const DWORD spent = GetTickCount() - start;
            if (spent >= timeoutMs)
                return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
            left = timeoutMs - spent;
        }
        const DWORD r = MsgWaitForMultipleObjects(1, &thread, FALSE, left, QS_SENDMESSAGE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        // Peeking delivers the messages other threads have sent to this one; posted
        // messages stay queued for the message loop.
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace ui
