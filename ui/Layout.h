#pragma once
// A window's controls as a data table, in pixels at 96 DPI, read like the window
// description they come from; one routine turns the table into child windows at the
// window's DPI, and lays them out again when that changes.
#include "ui/Dpi.h"

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
    // The entry it is given is already scaled to the layout's DPI.
    using ComponentFactory = std::function<HWND(const ControlDef&, HWND parent)>;

    // Creates every control of `entries` in `window` at `dpi`, gives each the font (made for
    // that DPI) and its help topic, and puts siblings in z-order = tab order, which
    // dialog-style navigation follows. The entries' texts must outlive the layout.
    void build(HWND window, std::span<const ControlDef> entries, HFONT font,
               const ComponentFactory& makeComponent, UINT dpi = kBaseDpi);
    // Moves and sizes every control made again for `dpi` and gives it `font`. Components
    // that keep their own geometry are set right by their owners afterwards.
    void applyDpi(UINT dpi, HFONT font);
    UINT dpi() const { return dpi_; }

    // The window made for the entry called `name`, or null.
    HWND find(std::wstring_view name) const;

    // `entry` with its position and size at `dpi` (a width of kFitText stays as it is).
    static ControlDef scaled(const ControlDef& entry, UINT dpi);

private:
    struct Made {
        ControlDef entry;
        std::wstring name;
        HWND hwnd;
    };
    std::vector<Made> made_;
    UINT dpi_ = kBaseDpi;
};

// The font of every window here: "MS Sans Serif", height -11 (8 point) at 96 DPI, made
// once for each DPI asked for.
HFONT defaultFont(UINT dpi = kBaseDpi);
// "MS Sans Serif" of `height` pixels at 96 DPI (negative: the character height), at `dpi`.
HFONT programFont(int height, UINT dpi);
// Width of `text` drawn in `font`, in pixels.
int textWidth(HFONT font, const std::wstring& text);
// The size `text` takes drawn in `font` (tabs expanded, "&" as it stands), its lines
// wrapped at `wrapWidth` when that is above 0.
SIZE textExtent(HFONT font, const std::wstring& text, int wrapWidth = 0);

} // namespace ui
