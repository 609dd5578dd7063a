#include "ui/Dpi.h"

namespace ui {

namespace {
// Entry points of newer systems, looked up once; null where the system lacks them.
template <class Fn> Fn user32Entry(const char* name) {
    return reinterpret_cast<Fn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

UINT screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    if (screen)
        ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}
} // namespace

UINT dpiOf(HWND window) {
    static const auto getDpiForWindow = user32Entry<GetDpiForWindowFn>("GetDpiForWindow");
    if (window && getDpiForWindow)
        if (const UINT dpi = getDpiForWindow(window))
            return dpi;
    return screenDpi();
}

RECT scaleBounds(int left, int top, int width, int height, UINT dpi) {
    return RECT{scale(left, dpi), scale(top, dpi), scale(left + width, dpi),
                scale(top + height, dpi)};
}

int systemMetric(int index, UINT dpi) {
    static const auto forDpi = user32Entry<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
    return forDpi ? forDpi(index, dpi) : GetSystemMetrics(index);
}

RECT frameAround(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
    static const auto forDpi = user32Entry<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
    RECT frame{0, 0, clientWidth, clientHeight};
    if (!forDpi || !forDpi(&frame, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    OffsetRect(&frame, -frame.left, -frame.top);
    return frame;
}

} // namespace ui
