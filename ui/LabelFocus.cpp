#include "ui/LabelFocus.h"

#include "ui/Gdi.h"

#include <commctrl.h>

namespace ui {

namespace {
// Our hook's id on the box and on the label.
constexpr UINT_PTR kHookId = 0x4C46;

void drawMark(HWND label, HWND box, HDC dc) {
    if (GetFocus() != box || !focusCuesShown(box))
        return;
    // The label is as wide as its words: the rectangle runs along its edges, where a check
    // box with text draws it around the words.
    RECT words{};
    GetClientRect(label, &words);
    DrawFocusRect(dc, &words);
}

LRESULT CALLBACK boxProc(HWND box, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                         DWORD_PTR data) {
    const HWND label = reinterpret_cast<HWND>(data);
    if (msg == WM_NCDESTROY)
        RemoveWindowSubclass(box, &boxProc, kHookId);
    const LRESULT result = DefSubclassProc(box, msg, wParam, lParam);
    switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_UPDATEUISTATE:
        // The label paints its background afresh, which also takes an old mark away.
        if (IsWindow(label))
            InvalidateRect(label, nullptr, TRUE);
        break;
    }
    return result;
}

LRESULT CALLBACK labelProc(HWND label, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                           DWORD_PTR data) {
    const HWND box = reinterpret_cast<HWND>(data);
    switch (msg) {
    case WM_PAINT: {
        if (wParam)
            break;
        // The mark goes into the same paint as the words, so it is clipped like them and a
        // partial repaint never inverts it twice.
        PaintDC dc(label);
        DefSubclassProc(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        drawMark(label, box, dc.get());
        return 0;
    }
    case WM_PRINTCLIENT: {
        const LRESULT result = DefSubclassProc(label, msg, wParam, lParam);
        drawMark(label, box, reinterpret_cast<HDC>(wParam));
        return result;
    }
    case WM_NCDESTROY:
        RemoveWindowSubclass(label, &labelProc, kHookId);
        break;
    }
    return DefSubclassProc(label, msg, wParam, lParam);
}
} // namespace

void showFocusOnLabel(HWND box, HWND label) {
    if (!box || !label)
        return;
    SetWindowSubclass(box, &boxProc, kHookId, reinterpret_cast<DWORD_PTR>(label));
    SetWindowSubclass(label, &labelProc, kHookId, reinterpret_cast<DWORD_PTR>(box));
}

bool focusCuesShown(HWND control) {
    return !(SendMessageW(control, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

} // namespace ui
