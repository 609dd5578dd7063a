#include "app/Splash.h"
#include "ui/Layout.h"
#include "ui/Painting.h"
#include "ui/Picture.h"

namespace app {

namespace {
constexpr const wchar_t* kSplashClass = L"Brightsweep.Splash";
constexpr UINT_PTR kTimer1 = 1;
} // namespace

TSplashFrm::TSplashFrm(HWND owner) {
    image_ = ui::loadBitmap(L"SPLASH");
    registerClass(kSplashClass, 0, nullptr, nullptr);
    create(kSplashClass, WS_EX_TOPMOST | WS_EX_TOOLWINDOW, WS_POPUP, L"SplashFrm", 0, 0,
           kCreationWidth, kCreationHeight, owner, 0);
    if (!hwnd())
        return;
    setDpi(ui::dpiOf(hwnd()));
    SetWindowPos(hwnd(), nullptr, 0, 0, ui::scale(kCreationWidth, dpi_),
                 ui::scale(kCreationHeight, dpi_), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTimer(hwnd(), kTimer1, kTimerInterval, nullptr);
}

void TSplashFrm::setDpi(UINT dpi) {
    dpi_ = dpi;
    font_ = ui::programFont(-14, dpi);
    imageAtDpi_ = ui::pictureAt(image_.get(), dpi);
    const SIZE size = ui::pictureSize(imageAtDpi_ ? imageAtDpi_.get() : image_.get());
    imageWidth_ = size.cx;
    imageHeight_ = size.cy;
}

void TSplashFrm::createAndShow(HWND owner) {
    auto* splash = new TSplashFrm(owner);
    if (!splash->hwnd()) {
        delete splash;
        return;
    }
    splash->freeWithWindow_ = true;
    splash->show();
}

void TSplashFrm::destroyed() {
    if (freeWithWindow_)
        delete this;
}

void TSplashFrm::FormShow() {
    RECT r;
    GetWindowRect(hwnd(), &r);
    // Height first, then width, as the form does it; no frame, so window = picture.
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, imageHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetWindowPos(hwnd(), nullptr, 0, 0, imageWidth_, imageHeight_,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TSplashFrm::show() {
    if (!hwnd())
        return;
    FormShow();
    // A frameless popup: its window is its client area, the picture.
    const RECT frame = ui::centredFrame(imageWidth_, imageHeight_, WS_POPUP, 0, dpi_);
    SetWindowPos(hwnd(), HWND_TOPMOST, frame.left, frame.top, 0, 0,
                 SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    // Paint now: the settings load next, before the message loop runs.
    UpdateWindow(hwnd());
}

void TSplashFrm::Timer1Timer() {
    KillTimer(hwnd(), kTimer1);
    ShowWindow(hwnd(), SW_HIDE);
}

void TSplashFrm::paint(HDC dc) {
    if (!image_)
        return;
    ui::MemoryDC source(dc);
    ui::Selected picture(source.get(), imageAtDpi_ ? imageAtDpi_.get() : image_.get());
    BitBlt(dc, 0, 0, imageWidth_, imageHeight_, source.get(), 0, 0, SRCCOPY);
}

LRESULT TSplashFrm::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (ui::handlePaintMessage(hwnd(), msg, wParam, painted, [this](HDC dc) { paint(dc); }))
        return painted;
    switch (msg) {
    case WM_TIMER:
        if (wParam == kTimer1)
            Timer1Timer();
        return 0;
    case WM_MOUSEACTIVATE:
        // Clicking the splash does nothing, not even activate it.
        return MA_NOACTIVATE;
    case WM_DPICHANGED: {
        setDpi(ui::dpiOfChange(wParam));
        const RECT& frame = ui::suggestedRect(lParam);
        SetWindowPos(hwnd(), nullptr, frame.left, frame.top, imageWidth_, imageHeight_,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    }
    default:
        return Window::handleMessage(msg, wParam, lParam);
    }
}

} // namespace app
