#pragma once
// The windows are described in pixels at 96 DPI. Each window asks for the DPI it is shown
// at and scales those numbers, its fonts and its pictures by DPI / 96; at 96 DPI nothing
// changes.
#include <windows.h>

// Sent from Windows 8.1 on; the headers name it only when building for such a target.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

namespace ui {

inline constexpr UINT kBaseDpi = 96;

// The DPI `window` is drawn at: GetDpiForWindow where the system has it (Windows 10 on),
// else the screen's, which older systems use for every window.
UINT dpiOf(HWND window);

// `value` pixels at 96 DPI as pixels at `dpi`, rounded to the nearest.
inline int scale(int value, UINT dpi) {
    return dpi == kBaseDpi ? value : MulDiv(value, static_cast<int>(dpi), kBaseDpi);
}

// A rectangle given at 96 DPI by its corner and size, at `dpi`. Its edges are scaled, not
// its size, so controls that touch at 96 DPI still touch.
RECT scaleBounds(int left, int top, int width, int height, UINT dpi);

// A system metric (SM_CXMENUCHECK, ...) at `dpi`: GetSystemMetricsForDpi where the system
// has it, else the metric at the system's own DPI.
int systemMetric(int index, UINT dpi);

// The window rectangle around a client area of this size and these styles at `dpi`
// (AdjustWindowRectExForDpi where the system has it), at the origin.
RECT frameAround(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);

// The DPI a WM_DPICHANGED carries, and the window rectangle it suggests.
inline UINT dpiOfChange(WPARAM wParam) {
    return HIWORD(wParam);
}
inline const RECT& suggestedRect(LPARAM lParam) {
    return *reinterpret_cast<const RECT*>(lParam);
}

} // namespace ui
