#include "ui/Layout.h"

#include "engine/Utf8.h"

#include "ui/Gdi.h"

#include <algorithm>
#include <cwchar>
#include <stdexcept>

namespace ui {

HFONT defaultFont() {
    static Font font(CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                 OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                 DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    return font.get();
}

int textWidth(HFONT font, const std::wstring& text) {
    WindowDC screen(nullptr);
    Selected select(screen.get(), font);
    SIZE size{};
    GetTextExtentPoint32W(screen.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

SIZE textExtent(HFONT font, const std::wstring& text, int wrapWidth) {
    WindowDC screen(nullptr);
    Selected select(screen.get(), font);
    RECT r{0, 0, wrapWidth > 0 ? wrapWidth : 0, 0};
    DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r,
              DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wrapWidth > 0 ? DT_WORDBREAK : 0));
    return {r.right - r.left, r.bottom - r.top};
}

void Layout::build(HWND window, std::span<const ControlDef> entries, HFONT font,
                   const ComponentFactory& makeComponent) {
    for (size_t row = 0; row < entries.size(); ++row) {
        const ControlDef& entry = entries[row];
        HWND parent = entry.parent ? find(entry.parent) : window;
        if (!parent)
            throw std::logic_error("Layout: unknown parent of " + engine::ToUtf8(entry.name));
        HWND hwnd = nullptr;
        if (entry.className) {
            const wchar_t* caption = entry.caption ? entry.caption : L"";
            int width = entry.width;
            if (width == kFitText)
                width = textWidth(font, caption);
            hwnd = CreateWindowExW(0, entry.className, caption, WS_CHILD | WS_VISIBLE | entry.style,
                                   entry.left, entry.top, width, entry.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                   GetModuleHandleW(nullptr), nullptr);
        } else if (makeComponent) {
            hwnd = makeComponent(entry, parent);
        }
        if (!hwnd)
            throw std::runtime_error("Cannot create control " + engine::ToUtf8(entry.name));
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (entry.helpTopic)
            SetWindowContextHelpId(hwnd, entry.helpTopic);
        made_.push_back({entry.name, hwnd, entry.tabOrder});
    }

    // Z-order = tab order: for each parent, stack its children from the first tab stop down;
    // controls outside the tab order keep their table order below the others.
    std::vector<Made> order = made_;
    std::stable_sort(order.begin(), order.end(), [](const Made& a, const Made& b) {
        const HWND pa = GetParent(a.hwnd), pb = GetParent(b.hwnd);
        if (pa != pb)
            return pa < pb;
        return a.tabOrder < b.tabOrder;
    });
    for (const Made& m : order)
        SetWindowPos(m.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

HWND Layout::find(std::wstring_view name) const {
    for (const Made& m : made_)
        if (m.name == name)
            return m.hwnd;
    return nullptr;
}

} // namespace ui
