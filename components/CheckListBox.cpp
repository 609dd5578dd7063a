#include "components/CheckListBox.h"

#include "ui/Gdi.h"

#include <windowsx.h>

#include <algorithm>
#include <vector>

namespace components {

HWND TCheckListBox::create(HWND parent, int id, int x, int y, int width, int height,
                           DWORD extraStyle) {
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | WS_BORDER |
                        LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT |
                        extraStyle;
    HWND hwnd =
        createControl(L"LISTBOX", WS_EX_CLIENTEDGE, style, L"", x, y, width, height, parent, id);
    if (hwnd)
        setItemHeight(scaled(kItemHeight));
    return hwnd;
}

int TCheckListBox::addString(const std::wstring& text) {
    const LRESULT index =
        SendMessageW(hwnd(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index >= 0)
        SendMessageW(hwnd(), LB_SETITEMDATA, index, 0);
    return static_cast<int>(index);
}

int TCheckListBox::count() const {
    return static_cast<int>(SendMessageW(hwnd(), LB_GETCOUNT, 0, 0));
}

std::wstring TCheckListBox::text(int index) const {
    const LRESULT length = SendMessageW(hwnd(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return buffer.data();
}

bool TCheckListBox::checked(int index) const {
    const LRESULT data = SendMessageW(hwnd(), LB_GETITEMDATA, index, 0);
    return data != LB_ERR && data != 0;
}

void TCheckListBox::setChecked(int index, bool value) {
    if (index < 0 || index >= count() || checked(index) == value)
        return;
    SendMessageW(hwnd(), LB_SETITEMDATA, index, value ? 1 : 0);
    RECT item{};
    if (SendMessageW(hwnd(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&item)) != LB_ERR)
        InvalidateRect(hwnd(), &item, FALSE);
}

void TCheckListBox::deleteString(int index) {
    SendMessageW(hwnd(), LB_DELETESTRING, index, 0);
}

void TCheckListBox::clear() {
    SendMessageW(hwnd(), LB_RESETCONTENT, 0, 0);
}

int TCheckListBox::selectedIndex() const {
    return static_cast<int>(SendMessageW(hwnd(), LB_GETCURSEL, 0, 0));
}

void TCheckListBox::setItemHeight(int height) {
    SendMessageW(hwnd(), LB_SETITEMHEIGHT, 0, height);
}

void TCheckListBox::setDpi(UINT dpi) {
    dpi_ = dpi;
    if (hwnd()) {
        setItemHeight(scaled(kItemHeight));
        InvalidateRect(hwnd(), nullptr, TRUE);
    }
}

void TCheckListBox::toggle(int index) {
    if (index < 0 || index >= count())
        return;
    setChecked(index, !checked(index));
    notifyParent(kNotifyTickChanged);
}

void TCheckListBox::notifyParent(WORD code) {
    SendMessageW(GetParent(hwnd()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd()), code),
                 reinterpret_cast<LPARAM>(hwnd()));
}

int TCheckListBox::tickAt(LPARAM point) const {
    const int x = GET_X_LPARAM(point), y = GET_Y_LPARAM(point);
    if (x < 0 || x >= scaled(kTickColumn))
        return -1;
    const LRESULT hit = SendMessageW(hwnd(), LB_ITEMFROMPOINT, 0, MAKELPARAM(x, y));
    if (HIWORD(hit) != 0) // outside every item
        return -1;
    return LOWORD(hit);
}

void TCheckListBox::drawItem(const DRAWITEMSTRUCT& item) {
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS)
            DrawFocusRect(item.hDC, &item.rcItem);
        return;
    }
    const int index = static_cast<int>(item.itemID);
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const RECT row = item.rcItem;
    // The tick column here; the text area is filled below in its own colour.
    RECT column = row;
    column.right = std::min(row.right, row.left + scaled(kTickColumn));
    FillRect(item.hDC, &column, GetSysColorBrush(COLOR_WINDOW));

    const int box = scaled(13);
    RECT tick{row.left + scaled(1), row.top + (row.bottom - row.top - box) / 2, 0, 0};
    tick.right = tick.left + box;
    tick.bottom = tick.top + box;
    DrawFrameControl(item.hDC, &tick, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (checked(index) ? DFCS_CHECKED : 0));

    RECT textRect = row;
    textRect.left += scaled(kTickColumn);
    FillRect(item.hDC, &textRect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    const COLORREF oldText =
        SetTextColor(item.hDC, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const int oldMode = SetBkMode(item.hDC, TRANSPARENT);
    const std::wstring label = text(index);
    RECT inner = textRect;
    inner.left += scaled(2);
    DrawTextW(item.hDC, label.c_str(), static_cast<int>(label.size()), &inner,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_LEFT);
    SetBkMode(item.hDC, oldMode);
    SetTextColor(item.hDC, oldText);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(item.hDC, &textRect);
}

bool TCheckListBox::reflected(UINT msg, WPARAM, LPARAM lParam, LRESULT& result) {
    if (msg == WM_DRAWITEM) {
        drawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        result = TRUE;
        return true;
    }
    return false;
}

LRESULT TCheckListBox::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_LBUTTONDOWN: {
        const LRESULT result = defaultHandling(msg, wParam, lParam);
        toggle(tickAt(lParam));
        notifyParent(kNotifyClick);
        return result;
    }
    case WM_LBUTTONDBLCLK: {
        const LRESULT result = defaultHandling(msg, wParam, lParam);
        // The second click of a fast pair on a tick box toggles it back, as a click would.
        toggle(tickAt(lParam));
        notifyParent(kNotifyDoubleClick);
        return result;
    }
    case WM_KEYDOWN: {
        if (wParam == VK_SPACE) {
            toggle(selectedIndex());
            return 0;
        }
        // Keyboard users select with the arrow keys: tell the parent, as a click would.
        const int before = selectedIndex();
        const LRESULT result = defaultHandling(msg, wParam, lParam);
        if (selectedIndex() != before && selectedIndex() >= 0)
            notifyParent(kNotifyKeySelect);
        return result;
    }
    case WM_CHAR:
        if (wParam == ' ')
            return 0; // already handled as a key; not a type-ahead search
        break;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace components
