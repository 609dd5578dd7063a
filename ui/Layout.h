#pragma once
// A window's controls as a data table, in pixels, read like the window description they
// come from; one routine turns the table into child windows.
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

// One control. Positions are relative to the parent's client area.
struct ControlDef {
    const wchar_t* name;
    const wchar_t* className; // a standard window class, or nullptr for one of our components
    int id;
    const wchar_t* parent; // name of an earlier entry, or nullptr for the window itself
    int left, top, width, height;
    const wchar_t* caption;
    DWORD style;     // beyond WS_CHILD | WS_VISIBLE; WS_DISABLED starts it disabled
    int tabOrder;    // among its siblings; kNoTab for controls outside the tab order
    DWORD helpTopic; // 0: none
};

inline constexpr int kNoTab = 1000;
// A width of kFitText sizes a static label to its caption in the layout's font.
inline constexpr int kFitText = -1;

class Layout {
public:
    // Creates one of our own components (entry.className == nullptr) and returns its window.
    using ComponentFactory = std::function<HWND(const ControlDef&, HWND parent)>;

    // Creates every control of `entries` in `window`, gives each the font and its help topic,
    // and puts siblings in z-order = tab order, which dialog-style navigation follows.
    void build(HWND window, std::span<const ControlDef> entries, HFONT font,
               const ComponentFactory& makeComponent);

    // The window made for the entry called `name`, or null.
    HWND find(std::wstring_view name) const;

private:
    struct Made {
        std::wstring name;
        HWND hwnd;
        int tabOrder;
    };
    std::vector<Made> made_;
};

// The font of every window here: "MS Sans Serif", height -11 (8 point). Made once.
HFONT defaultFont();
// Width of `text` drawn in `font`, in pixels.
int textWidth(HFONT font, const std::wstring& text);
// The size `text` takes drawn in `font` (tabs expanded, "&" as it stands), its lines
// wrapped at `wrapWidth` when that is above 0.
SIZE textExtent(HFONT font, const std::wstring& text, int wrapWidth = 0);

} // namespace ui
