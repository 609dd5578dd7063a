// The scrolling credits box: the ring of children after start and after wraps, pause,
// odd steps, a second start, and the worker's life (ticks only on the GUI thread, and a
// box destroyed while its worker runs stops it without hanging).
#include <gtest/gtest.h>

#include <windows.h>

#include <tlhelp32.h>

#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "components/CreditsBox.h"
#include "engine/Handles.h"
#include "tests/face/GuiTestHelpers.h"
#include "ui/Window.h"

using namespace components;

namespace {

constexpr int kNoTicks = 1000000; // a worker that never wakes during a test

std::set<DWORD> threadIds() {
    std::set<DWORD> ids;
    engine::FileHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL ok = Thread32First(snap.get(), &entry); ok; ok = Thread32Next(snap.get(), &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId())
            ids.insert(entry.th32ThreadID);
    return ids;
}

// The threads `act` starts (a thread exists once CreateThread returns), opened for waiting.
std::vector<engine::FileHandle> threadsStartedBy(const std::function<void()>& act) {
    const std::set<DWORD> before = threadIds();
    act();
    std::vector<engine::FileHandle> started;
    for (DWORD id : threadIds())
        if (!before.count(id))
            started.emplace_back(OpenThread(SYNCHRONIZE, FALSE, id));
    return started;
}

bool ended(const engine::FileHandle& thread) {
    return WaitForSingleObject(thread.get(), 0) == WAIT_OBJECT_0;
}

class BoxTest : public ::testing::Test {
protected:
    void TearDown() override { host_.destroy(); }
    // A box that scrolls only when a test ticks it.
    void createStill(TScrollingCreditsBox& box, int width, int height) {
        box.setTimeDelay(kNoTicks);
        box.create(host_, 0, 0, width, height);
    }
    HWND addChild(TScrollingCreditsBox& box, int height) {
        return CreateWindowExW(0, L"STATIC", L"credits", WS_CHILD | SS_LEFT, 4, 0, 100, height,
                               box.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    static int topOf(HWND child) { return ui::boundsInParent(child).top; }
    static void ticks(TScrollingCreditsBox& box, int n) {
        for (int i = 0; i < n; ++i)
            box.ScrollTick();
    }
    // Ticks until `child` jumps back down (it wrapped within that tick).
    static void tickUntilWrapped(TScrollingCreditsBox& box, HWND child) {
        for (int i = 0; i < 1000; ++i) {
            const int before = topOf(child);
            box.ScrollTick();
            if (topOf(child) > before)
                return;
        }
        ADD_FAILURE() << "never wrapped";
    }
    facetest::Host host_;
};

TEST_F(BoxTest, NewBoxDefaultsAndNothingMovesBeforeStart) {
    TScrollingCreditsBox box;
    box.create(host_, 0, 0);
    RECT r;
    GetWindowRect(box.hwnd(), &r);
    EXPECT_EQ(161, r.right - r.left);
    EXPECT_EQ(129, r.bottom - r.top);
    EXPECT_EQ(30, box.TimeDelay());
    EXPECT_EQ(10, box.CompSpace());
    EXPECT_EQ(1, box.ScrollStep());
    EXPECT_FALSE(box.Paused());
    EXPECT_FALSE(box.Started());
    EXPECT_FALSE(box.workerRunning());
    box.setTimeDelay(1);
    HWND a = addChild(box, 20);
    facetest::pump(100);
    EXPECT_EQ(0, topOf(a));
}

TEST_F(BoxTest, ThreeChildrenLineUpBelowAndWrapAsARing) {
    TScrollingCreditsBox box;
    createStill(box, 200, 100);
    HWND a = addChild(box, 20), b = addChild(box, 30), c = addChild(box, 15);
    box.StartScrolling();
    const int h = box.boxHeight();
    EXPECT_EQ(h, topOf(a));
    EXPECT_EQ(h + 20 + 10, topOf(b));
    EXPECT_EQ(h + 20 + 10 + 30 + 10, topOf(c));
    EXPECT_EQ(0, tagOf(a));
    EXPECT_EQ(1, tagOf(c));
    EXPECT_TRUE(IsWindowVisible(a)); // made visible by the start

    box.setScrollStep(5);
    // A leaves the top once its bottom is above 0: after (h + 20) / 5 + 1 ticks.
    ticks(box, (h + 20) / 5);
    EXPECT_EQ(h - 5 * ((h + 20) / 5), topOf(a));
    box.ScrollTick();
    const int cBottom = topOf(c) + 15;
    EXPECT_EQ(cBottom + h, topOf(a)); // a box height below C
    EXPECT_EQ(1, tagOf(a));
    EXPECT_EQ(0, tagOf(c));
    // B leaves next and goes CompSpace below A.
    tickUntilWrapped(box, b);
    EXPECT_EQ(topOf(a) + 20 + 10, topOf(b));
    EXPECT_EQ(1, tagOf(b));
}

TEST_F(BoxTest, OneChildReentersAtOnceAtTheBottom) {
    TScrollingCreditsBox box;
    createStill(box, 161, 129);
    HWND a = addChild(box, 40);
    box.StartScrolling();
    const int h = box.boxHeight();
    ticks(box, h + 40);
    EXPECT_EQ(-40, topOf(a)); // bottom edge on the top edge: still in
    box.ScrollTick();
    EXPECT_EQ(h - 1, topOf(a));
}

TEST_F(BoxTest, WithoutAMarkTheChildGoesBelowTheLowestChild) {
    TScrollingCreditsBox box;
    createStill(box, 161, 100);
    HWND a = addChild(box, 20), b = addChild(box, 20);
    box.StartScrolling();
    setTag(b, 0);
    box.setScrollStep(7);
    tickUntilWrapped(box, a);
    EXPECT_EQ(topOf(b) + 20 + box.boxHeight(), topOf(a));
    EXPECT_EQ(1, tagOf(a));
}

TEST_F(BoxTest, PauseZeroAndNegativeStepsAndASecondStart) {
    TScrollingCreditsBox box;
    createStill(box, 161, 100);
    HWND a = addChild(box, 20), b = addChild(box, 20);
    box.StartScrolling();
    const int startA = topOf(a);
    facetest::pump(100); // the worker waits its delay: no tick of its own comes
    ticks(box, 3);
    EXPECT_EQ(startA - 3, topOf(a));
    box.setPaused(true);
    ticks(box, 3);
    EXPECT_EQ(startA - 3, topOf(a));
    box.setPaused(false);
    box.ScrollTick();
    EXPECT_EQ(startA - 4, topOf(a)); // resumes from the same place

    box.setScrollStep(0);
    ticks(box, 3);
    EXPECT_EQ(startA - 4, topOf(a));
    box.setScrollStep(-50);
    ticks(box, 10); // moves down; nothing leaves the top, nothing wraps
    EXPECT_EQ(startA - 4 + 500, topOf(a));
    EXPECT_EQ(1, tagOf(b));

    const auto started = threadsStartedBy([&] { box.StartScrolling(); });
    EXPECT_EQ(startA - 4 + 500, topOf(a)); // not laid out again
    EXPECT_TRUE(started.empty());          // no second worker
}

TEST_F(BoxTest, ChildrenMoveAlsoWhileTheBoxIsHidden) {
    TScrollingCreditsBox box;
    createStill(box, 161, 100);
    HWND a = addChild(box, 20);
    box.StartScrolling();
    ShowWindow(host_, SW_HIDE);
    ticks(box, 5);
    EXPECT_EQ(box.boxHeight() - 5, topOf(a));
    ShowWindow(host_, SW_SHOW);
    ticks(box, 5);
    EXPECT_EQ(box.boxHeight() - 10, topOf(a));
}

TEST_F(BoxTest, ATickRepaintsOnlyTheUncoveredStrip) {
    TScrollingCreditsBox box;
    createStill(box, 161, 129);
    box.StartScrolling();
    UpdateWindow(box.hwnd());
    ValidateRect(box.hwnd(), nullptr);
    box.setScrollStep(3);
    ValidateRect(box.hwnd(), nullptr); // the setter's repaint
    box.ScrollTick();
    RECT dirty{};
    ASSERT_TRUE(GetUpdateRect(box.hwnd(), &dirty, FALSE));
    RECT client;
    GetClientRect(box.hwnd(), &client);
    EXPECT_EQ(client.bottom - 3, dirty.top);
    EXPECT_EQ(client.bottom, dirty.bottom);
}

TEST_F(BoxTest, WorkerTicksOnTheGuiThreadAndKeepsItsDelay) {
    TScrollingCreditsBox box;
    box.setTimeDelay(10);
    box.create(host_, 0, 0, 161, 129);
    HWND a = addChild(box, 400);
    box.StartScrolling();
    EXPECT_TRUE(box.workerRunning());
    const int start = topOf(a);
    // The worker hands its tick over and waits: without a message loop nothing moves.
    ASSERT_TRUE(facetest::waitForSentMessage());
    EXPECT_EQ(start, topOf(a));
    box.setTimeDelay(kNoTicks); // the running worker keeps its 10 ms
    EXPECT_TRUE(facetest::pumpUntil([&] { return start - topOf(a) > 5; }));
}

TEST_F(BoxTest, DestroyingAStartedBoxStopsItsWorkerWithoutHanging) {
    {
        auto box = std::make_unique<TScrollingCreditsBox>();
        box->setTimeDelay(1);
        box->create(host_, 0, 0);
        addChild(*box, 30);
        const auto worker = threadsStartedBy([&] { box->StartScrolling(); });
        ASSERT_EQ(1u, worker.size());
        facetest::pump(50);
        // Busy GUI thread: the worker is now stuck handing over a tick.
        Sleep(100);
        box.reset(); // a deadlock with the stuck worker would hang here
        EXPECT_TRUE(ended(worker[0]));
    }
    facetest::pump(100); // no late tick reaches the freed box
    // Destroying the window (as a closing main window does) stops it too.
    TScrollingCreditsBox box2;
    box2.setTimeDelay(1);
    box2.create(host_, 0, 0);
    const auto worker = threadsStartedBy([&] { box2.StartScrolling(); });
    ASSERT_EQ(1u, worker.size());
    facetest::pump(30);
    host_.destroy();
    EXPECT_FALSE(box2.workerRunning());
    EXPECT_TRUE(ended(worker[0]));
}

} // namespace
