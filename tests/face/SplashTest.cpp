// The splash: a borderless topmost picture of 321 x 216, 256 colours, centred; it paints
// the picture, ignores clicks, and hides on its timer only through the message loop.
#include <gtest/gtest.h>

#include "app/Splash.h"
#include "tests/face/GuiTestHelpers.h"
#include "tests/support/Pixels.h"

namespace {

// Whether a timer of `window` (the one numbered `id`, when given) has come due: its WM_TIMER
// waits in the queue. Runs nothing.
bool timerDue(HWND window, UINT_PTR id = 0) {
    MSG msg;
    return PeekMessageW(&msg, window, WM_TIMER, WM_TIMER, PM_NOREMOVE) && (!id || msg.wParam == id);
}

// Runs the message loop until the timer `id` of `window` comes due, and stops that timer.
void runLoopUntilTimer(HWND window, UINT_PTR id) {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == window && msg.wParam == id) {
            KillTimer(window, id);
            return;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

TEST(Splash, PictureIs256ColoursOfTheRightSize) {
    HBITMAP bmp = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), L"SPLASH", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(bmp);
    DIBSECTION dib{};
    ASSERT_TRUE(GetObjectW(bmp, sizeof dib, &dib));
    EXPECT_EQ(321, dib.dsBm.bmWidth);
    EXPECT_EQ(216, dib.dsBm.bmHeight);
    EXPECT_EQ(8, dib.dsBmih.biBitCount);
    DeleteObject(bmp);
    HBITMAP logo = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), L"LOGO", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    ASSERT_TRUE(logo);
    ASSERT_TRUE(GetObjectW(logo, sizeof dib, &dib));
    EXPECT_EQ(58, dib.dsBm.bmWidth);
    EXPECT_EQ(45, dib.dsBm.bmHeight);
    EXPECT_EQ(8, dib.dsBmih.biBitCount);
    DeleteObject(logo);
}

TEST(Splash, ShowsBorderlessTopmostCentredAndHidesOnlyThroughTheTimer) {
    facetest::Host owner(100, 100);
    // Yardsticks for the splash's timer, which starts with it: timers of the owner, one
    // started before it that ends half a second sooner, one started after it that ends half
    // a second later. Timers come due in the order they end, however busy the machine is.
    constexpr UINT_PTR kSooner = 1, kLater = 2;
    SetTimer(owner, kSooner, app::TSplashFrm::kTimerInterval - 500, nullptr);
    app::TSplashFrm splash(owner);
    SetTimer(owner, kLater, app::TSplashFrm::kTimerInterval + 500, nullptr);
    HWND w = splash.hwnd();
    ASSERT_TRUE(w);
    EXPECT_FALSE(IsWindowVisible(w));
    RECT r;
    GetClientRect(w, &r);
    EXPECT_EQ(328, r.right);
    EXPECT_EQ(220, r.bottom);
    const LONG style = GetWindowLongW(w, GWL_STYLE);
    EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME | WS_DLGFRAME));
    EXPECT_TRUE(GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(owner, GetWindow(w, GW_OWNER));

    splash.show();
    EXPECT_TRUE(IsWindowVisible(w));
    GetWindowRect(w, &r);
    EXPECT_EQ(321, r.right - r.left);
    EXPECT_EQ(216, r.bottom - r.top);
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 321) / 2, r.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 216) / 2, r.top);

    // It paints the picture.
    testpixels::Canvas canvas(321, 216);
    canvas.fill(RGB(1, 2, 3));
    SendMessageW(w, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_NE(RGB(1, 2, 3), canvas.at(5, 5));
    EXPECT_NE(RGB(1, 2, 3), canvas.at(320, 215));

    // Clicks do nothing, nor does anything else before its time.
    PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    runLoopUntilTimer(owner, kSooner);
    EXPECT_TRUE(IsWindowVisible(w));

    // Its timer comes due, no later than the later yardstick; without a message loop it is
    // still there...
    ASSERT_TRUE(testsupport::waitUntil([&] { return timerDue(owner, kLater); }, 30000));
    EXPECT_TRUE(timerDue(w));
    EXPECT_TRUE(IsWindowVisible(w));
    // ...and the loop hides it; it is not destroyed.
    EXPECT_TRUE(facetest::pumpUntil([&] { return !IsWindowVisible(w); }));
    EXPECT_TRUE(IsWindow(w));
    owner.destroy();
}

} // namespace
