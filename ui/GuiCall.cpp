#include "ui/GuiCall.h"
#include "ui/Window.h"

#include <exception>

namespace ui {

namespace {
constexpr const wchar_t* kChannelClass = L"Brightsweep.GuiChannel";
constexpr const wchar_t* kClosedFlagProp = L"Brightsweep.GuiChannel.Closed";
constexpr UINT kRunMessage = WM_APP + 0x4C1;

struct Call {
    GuiChannel::Operation op;
    void* context;
};
} // namespace

GuiChannel::GuiChannel() {
    registerWindowClass(kChannelClass, &GuiChannel::proc);
    window_ = CreateWindowExW(0, kChannelClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    if (window_)
        SetPropW(window_, kClosedFlagProp, &closed_);
}

GuiChannel::~GuiChannel() {
    close();
    if (window_) {
        RemovePropW(window_, kClosedFlagProp);
        DestroyWindow(window_);
    }
}

bool GuiChannel::run(Operation op, void* context) const {
    if (closed() || !window_)
        return false;
    Call call{op, context};
    DWORD_PTR answer = 0;
    // A plain blocking send: it returns when the GUI thread has run the call, or at once
    // when the window no longer exists (then the answer stays 0).
    if (!SendMessageTimeoutW(window_, kRunMessage, 0, reinterpret_cast<LPARAM>(&call), SMTO_BLOCK,
                             INFINITE, &answer))
        return false;
    return answer == 1;
}

LRESULT CALLBACK GuiChannel::proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kRunMessage)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    auto* closed = static_cast<std::atomic<bool>*>(GetPropW(hwnd, kClosedFlagProp));
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
        // MWMO_INPUTAVAILABLE: a message sent before the wait began wakes it too, even when
        // this thread has already looked at its queue since (without it, the wait would
        // sleep on while the sender waits for this thread: neither would go on).
        const DWORD r =
            MsgWaitForMultipleObjectsEx(1, &thread, left, QS_SENDMESSAGE, MWMO_INPUTAVAILABLE);
        if (r == WAIT_OBJECT_0)
            return true;
        if (r != WAIT_OBJECT_0 + 1)
            return WaitForSingleObject(thread, 0) == WAIT_OBJECT_0;
        // Peeking delivers the messages other threads have sent to this one; posted
        // messages stay queued for the message loop.
        MSG msg;
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace ui
