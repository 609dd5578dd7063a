#include "ui/TabControl.h"

#include "ui/Gdi.h"

#include <commctrl.h>
#include <windowsx.h>

namespace ui {

HWND TabControl::create(HWND parent, int id, int x, int y, int width, int height, DWORD style) {
    return createControl(WC_TABCONTROLW, 0, WS_CHILD | WS_VISIBLE | style, L"", x, y, width, height,
                         parent, id);
}

void TabControl::addPage(const std::wstring& caption, HWND page) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = caption;
    item.pszText = text.data();
    const int index = static_cast<int>(pages_.size());
    SendMessageW(hwnd(), TCM_INSERTITEMW, index, reinterpret_cast<LPARAM>(&item));
    pages_.push_back(page);
    ShowWindow(page, index == selected() ? SW_SHOWNA : SW_HIDE);
}

int TabControl::selected() const {
    return static_cast<int>(SendMessageW(hwnd(), TCM_GETCURSEL, 0, 0));
}

void TabControl::select(int index) {
    SendMessageW(hwnd(), TCM_SETCURSEL, index, 0);
    showSelectedPage();
}

void TabControl::showSelectedPage() {
    const int current = selected();
    for (int i = 0; i < pageCount(); ++i)
        ShowWindow(pages_[i], i == current ? SW_SHOWNA : SW_HIDE);
    if (onChange)
        onChange();
}

RECT TabControl::pageArea() const {
    RECT area{};
    if (pages_.empty())
        return area;
    GetWindowRect(pages_.front(), &area);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&area), 2);
    return area;
}

bool TabControl::reflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg == WM_NOTIFY && reinterpret_cast<NMHDR*>(lParam)->code == TCN_SELCHANGE) {
        showSelectedPage();
        result = 0;
        return true;
    }
    return false;
}

LRESULT TabControl::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_NCHITTEST: {
        // The page lies below the strip in z-order; let its clicks through.
        POINT pt{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        ScreenToClient(hwnd(), &pt);
        const RECT area = pageArea();
        if (PtInRect(&area, pt))
            return HTTRANSPARENT;
        break;
    }
    case WM_ERASEBKGND: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        const RECT area = pageArea();
        const int saved = SaveDC(dc);
        ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
        const LRESULT result = defaultHandling(msg, wParam, lParam);
        RestoreDC(dc, saved);
        return result;
    }
    case WM_PAINT:
        if (!wParam) {
            // Paint through the control's own WM_PRINTCLIENT-style path with the page's
            // area clipped out, so the strip never draws over the shown page.
            PaintDC paint(hwnd());
            const RECT area = pageArea();
            ExcludeClipRect(paint.get(), area.left, area.top, area.right, area.bottom);
            return defaultHandling(WM_PAINT, reinterpret_cast<WPARAM>(paint.get()), 0);
        }
        break;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace ui
