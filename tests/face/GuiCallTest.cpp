// Hand-off from a worker to the GUI thread: the call runs on the GUI thread, the worker
// waits for it, a closed channel runs nothing, and a GUI thread waiting for a worker
// that is stuck in a hand-off does not deadlock.
#include <gtest/gtest.h>

#include <atomic>

#include "tests/face/GuiTestHelpers.h"
#include "ui/GuiCall.h"

namespace {

struct Probe {
    std::atomic<int> calls{0};
    DWORD threadSeen = 0;
};

void record(void* context) {
    auto* probe = static_cast<Probe*>(context);
    probe->threadSeen = GetCurrentThreadId();
    ++probe->calls;
}

struct WorkerArgs {
    ui::GuiChannel* channel;
    Probe* probe;
    int times;
    int succeeded = 0;
    int callsSeenAfterReturn = 0;
};

DWORD WINAPI worker(void* param) {
    auto* args = static_cast<WorkerArgs*>(param);
    for (int i = 0; i < args->times; ++i) {
        if (args->channel->run(&record, args->probe))
            ++args->succeeded;
        // The call has finished by the time run() returns.
        args->callsSeenAfterReturn = args->probe->calls.load();
    }
    return 0;
}

TEST(GuiCall, RunsOnTheGuiThreadAndWaitsWhileTheGuiThreadWaitsForTheWorker) {
    ui::GuiChannel channel;
    Probe probe;
    WorkerArgs args{&channel, &probe, 5};
    HANDLE thread = CreateThread(nullptr, 0, &worker, &args, 0, nullptr);
    ASSERT_TRUE(thread);
    // A plain WaitForSingleObject here would deadlock: the worker sits in SendMessage.
    EXPECT_TRUE(ui::waitForThread(thread, 5000));
    CloseHandle(thread);
    EXPECT_EQ(5, probe.calls.load());
    EXPECT_EQ(5, args.succeeded);
    EXPECT_EQ(5, args.callsSeenAfterReturn);
    EXPECT_EQ(GetCurrentThreadId(), probe.threadSeen);
}

TEST(GuiCall, ClosedOrDestroyedChannelRunsNothing) {
    Probe probe;
    {
        ui::GuiChannel channel;
        channel.close();
        WorkerArgs args{&channel, &probe, 2};
        HANDLE thread = CreateThread(nullptr, 0, &worker, &args, 0, nullptr);
        EXPECT_TRUE(ui::waitForThread(thread, 5000));
        CloseHandle(thread);
        EXPECT_EQ(0, args.succeeded);
    }
    EXPECT_EQ(0, probe.calls.load());
}

struct TimedWait {
    HANDLE never;
    bool answer = true;
};

DWORD WINAPI waitBriefly(void* param) {
    auto* wait = static_cast<TimedWait*>(param);
    wait->answer = ui::waitForThread(wait->never, 100);
    return 0;
}

TEST(GuiCall, WaitForThreadTimesOutWithoutHanging) {
    HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    // Waited for on a thread of its own, so that a wait that never gives up fails here
    // (static: such a wait would outlive the test).
    static TimedWait wait;
    wait = TimedWait{never};
    HANDLE thread = CreateThread(nullptr, 0, &waitBriefly, &wait, 0, nullptr);
    ASSERT_TRUE(thread);
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread, 30000));
    CloseHandle(thread);
    EXPECT_FALSE(wait.answer);
    CloseHandle(never);
}

} // namespace
