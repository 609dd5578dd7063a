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

void TabControl::turnPages(int step) {
    const int count = pageCount();
    if (count < 2 || step == 0)
        return;
    const int next = ((selected() + step) % count + count) % count;
    const HWND parent = GetParent(hwnd());
    NMHDR note{hwnd(), static_cast<UINT_PTR>(GetDlgCtrlID(hwnd())),
               static_cast<UINT>(TCN_SELCHANGING)};
    if (SendMessageW(parent, WM_NOTIFY, note.idFrom, reinterpret_cast<LPARAM>(&note)))
        return; // the parent keeps the page
    SendMessageW(hwnd(), TCM_SETCURSEL, next, 0);
    note.code = static_cast<UINT>(TCN_SELCHANGE);
    SendMessageW(parent, WM_NOTIFY, note.idFrom, reinterpret_cast<LPARAM>(&note));
}

int TabControl::pageStepOfKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || GetKeyState(VK_CONTROL) >= 0 || GetKeyState(VK_MENU) < 0)
        return 0;
    switch (msg.wParam) {
    case VK_TAB:
        return GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
    case VK_NEXT:
        return 1;
    case VK_PRIOR:
        return -1;
    }
    return 0;
}

void TabControl::showSelectedPage() {
    const int current = selected();
    // The focus never stays on a control going out of sight: it goes to the strip, where a
    // click on a tab puts it too.
    const HWND focus = GetFocus();
    for (int i = 0; i < pageCount(); ++i)
        if (i != current && focus && (focus == pages_[i] || IsChild(pages_[i], focus)))
            SetFocus(hwnd());
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
