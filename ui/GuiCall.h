#pragma once
// Hands work from a worker thread to the GUI thread and waits for it.
//
// A GuiChannel is made on the GUI thread and owns a hidden message-only window there.
// A worker calls run(): the operation travels as a sent message, so it runs on the GUI
// thread, one at a time, between other GUI work; while the GUI thread is busy the worker
// simply waits. Once the channel is closed, run() returns false without calling anything.
//
// The GUI thread never blocks on a worker: waitForThread() pumps the messages that
// workers send while it waits, so a worker stuck in SendMessage can always finish.
#include <windows.h>

#include <atomic>

namespace ui {

class GuiChannel {
public:
    // On the GUI thread.
    GuiChannel();
    GuiChannel(const GuiChannel&) = delete;
    GuiChannel& operator=(const GuiChannel&) = delete;
    // Closes the channel and destroys its window (on the GUI thread).
    ~GuiChannel();

    using Operation = void (*)(void* context);
    // From any thread: runs `op(context)` on the GUI thread and waits until it has returned.
    // False, without running it, when the channel is closed or its window is gone.
    bool run(Operation op, void* context) const;

    // After close() no operation runs any more, also none already on its way.
    void close() { closed_.store(true); }
    bool closed() const { return closed_.load(); }

private:
    static LRESULT CALLBACK proc(HWND, UINT, WPARAM, LPARAM);
    HWND window_ = nullptr;
    // Also read through a property of the window: the window goes before the flag does.
    std::atomic<bool> closed_{false};
};

// On the GUI thread: waits until `thread` has ended, running the operations that workers
// hand over meanwhile. True when the thread ended within `timeoutMs`.
bool waitForThread(HANDLE thread, DWORD timeoutMs = INFINITE);

} // namespace ui
