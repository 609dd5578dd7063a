#pragma once
// Shared by the custom-painted windows: one paint(HDC) serves WM_PAINT and
// WM_PRINTCLIENT (so tests can render into a memory DC), and since it paints the
// background too, WM_ERASEBKGND does nothing.
#include "ui/Gdi.h"

#include <windows.h>

namespace ui {

// Handles the three painting messages with `paint`; false for any other message.
template <class Paint>
bool handlePaintMessage(HWND hwnd, UINT msg, WPARAM wParam, LRESULT& result, Paint&& paint) {
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PaintDC dc(hwnd);
        paint(dc.get());
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        result = 0;
        return true;
    default:
        return false;
    }
}

// Paints the parent's client area beneath `child` into `dc` (the child's DC), so a
// transparent child shows what lies under it.
inline void paintParentBackground(HWND child, HDC dc, bool eraseFirst = false) {
    HWND parent = GetParent(child);
    if (!parent)
        return;
    POINT origin{0, 0};
    MapWindowPoints(child, parent, &origin, 1);
    POINT previous;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &previous);
    if (eraseFirst)
        SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    SetViewportOrgEx(dc, previous.x, previous.y, nullptr);
}

} // namespace ui
