#include "ui/Layout.h"

#include "engine/Error.h"

#include "ui/Gdi.h"

#include <algorithm>
#include <stdexcept>
#include <cwchar>
#include <map>
#include <utility>

namespace ui {

HFONT programFont(int height, UINT dpi) {
    // A handful of sizes at most, kept for the life of the program: windows hold on to them.
    static std::map<std::pair<int, UINT>, Font> fonts;
    Font& font = fonts[{height, dpi}];
    if (!font)
        font.reset(CreateFontW(scale(height, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                               DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"MS Sans Serif"));
    return font.get();
}

HFONT defaultFont(UINT dpi) {
    return programFont(-11, dpi);
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

ControlDef Layout::scaled(const ControlDef& entry, UINT dpi) {
    ControlDef at = entry;
    const RECT r = scaleBounds(entry.left, entry.top, entry.width == kFitText ? 0 : entry.width,
                               entry.height, dpi);
    at.left = r.left;
    at.top = r.top;
    at.width = entry.width == kFitText ? kFitText : r.right - r.left;
    at.height = r.bottom - r.top;
    return at;
}

namespace {
// A fitted label is as wide as its caption in the font it is given.
int widthOf(const ControlDef& at, HFONT font) {
    return at.width == kFitText ? textWidth(font, at.caption ? at.caption : L"") : at.width;
}

// A label is at least as high as its words wrapped to its width: a font's line height does
// not grow in step with the DPI but rounds up, a pixel here and there.
int heightOf(const ControlDef& at, int width, HFONT font) {
    if (!at.className || lstrcmpiW(at.className, L"STATIC") != 0 || !at.caption || !*at.caption ||
        (at.style & SS_TYPEMASK) != SS_LEFT)
        return at.height;
    return std::max(at.height, static_cast<int>(textExtent(font, at.caption, width).cy));
}
} // namespace

void Layout::build(HWND window, std::span<const ControlDef> entries, HFONT font,
                   const ComponentFactory& makeComponent, UINT dpi) {
    dpi_ = dpi;
    for (size_t row = 0; row < entries.size(); ++row) {
        const ControlDef& entry = entries[row];
        HWND parent = entry.parent ? find(entry.parent) : window;
        if (!parent)
            throw std::logic_error("Layout: unknown parent of " + engine::AsciiOf(entry.name));
        const ControlDef at = scaled(entry, dpi);
        HWND hwnd = nullptr;
        if (entry.className) {
            const wchar_t* caption = entry.caption ? entry.caption : L"";
            const int width = widthOf(at, font);
            hwnd = CreateWindowExW(0, entry.className, caption, WS_CHILD | WS_VISIBLE | entry.style,
                                   at.left, at.top, width, heightOf(at, width, font), parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(entry.id)),
                                   GetModuleHandleW(nullptr), nullptr);
        } else if (makeComponent) {
            hwnd = makeComponent(at, parent);
        }
        if (!hwnd)
            throw engine::Error(L"Cannot create control " + std::wstring(entry.name));
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        if (entry.helpTopic)
            SetWindowContextHelpId(hwnd, entry.helpTopic);
        made_.push_back({entry, entry.name, hwnd});
    }

    // Z-order = tab order: for each parent, stack its children from the first tab stop down;
    // controls outside the tab order keep their table order below the others.
    std::vector<Made> order = made_;
    std::stable_sort(order.begin(), order.end(), [](const Made& a, const Made& b) {
        const HWND pa = GetParent(a.hwnd), pb = GetParent(b.hwnd);
        if (pa != pb)
            return pa < pb;
        return a.entry.tabOrder < b.entry.tabOrder;
    });
    for (const Made& m : order)
        SetWindowPos(m.hwnd, HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOREDRAW);
}

void Layout::applyDpi(UINT dpi, HFONT font) {
    dpi_ = dpi;
    for (const Made& m : made_) {
        const ControlDef at = scaled(m.entry, dpi);
        const int width = widthOf(at, font);
        SendMessageW(m.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        SetWindowPos(m.hwnd, nullptr, at.left, at.top, width, heightOf(at, width, font),
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

HWND Layout::find(std::wstring_view name) const {
    for (const Made& m : made_)
        if (m.name == name)
            return m.hwnd;
    return nullptr;
}

} // namespace ui
