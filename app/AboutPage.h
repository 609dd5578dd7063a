#pragma once
// The content of the "About" page. The page itself (a tiled TBitmapPanel) belongs to the
// main window; everything shown on it is made and driven here: the logo, the scrolling
// credits, the address block, the web link and the copyright line.
#include "components/ASLink.h"
#include "components/BitmapPanel.h"
#include "components/CreditsBox.h"
#include "ui/Gdi.h"
#include "ui/Layout.h"
#include "ui/Window.h"

#include <span>
#include <string>

namespace app {

// The maker's texts.
extern const wchar_t* const kCreditsText;  // ten paragraphs, a blank line between them
extern const wchar_t* const kContactLines; // six lines, CR LF between them
extern const wchar_t* const kCopyrightLine;
extern const wchar_t* const kWebAddress;

// The page's controls, positioned on the page panel.
std::span<const ui::ControlDef> AboutLayout();

// A picture shown with its key colour (the bottom-left pixel) left out, so the tiles
// beneath show through; a click runs `onClick`. At another DPI than 96 it shows a copy
// resized smoothly, its edges blending into what lies beneath.
class TLogoImage : public ui::Window {
public:
    HWND create(HWND parent, int id, int x, int y, HBITMAP bitmap, UINT dpi);
    // Resizes the picture, and the window with it, for `dpi`.
    void setDpi(UINT dpi);
    void (*onClick)(void* context) = nullptr;
    void* onClickContext = nullptr;
    void paint(HDC dc);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HBITMAP bitmap_ = nullptr;
    SIZE size_{};
    ui::Bitmap resized_; // premultiplied, key colour transparent; empty at 96 DPI
    SIZE shown_{};
};

class AboutPage {
public:
    // Creates the page's controls on `page`, at the page's DPI.
    void create(components::TBitmapPanel& page);
    // The main window is being shown: fill and place the texts.
    void FormShow();
    // Lays the page out again for `dpi`; a scroll under way goes on from the same place.
    void setDpi(UINT dpi);
    // Gives the link the colours that stand out from what lies beneath it: the program's
    // own over the tiles, the system's link colour under high contrast. Again whenever the
    // system's colours change.
    void applyColors();
    // The page was selected (`shown` true) or another page was (`shown` false).
    void pageChanged(bool shown);
    // The logo was clicked: open the link's address.
    void Image2Click();

    // The address block FormShow puts on the page.
    std::wstring contactLines = kContactLines;

    HWND item(const wchar_t* name) const { return layout_.find(name); }
    components::TScrollingCreditsBox& creditsBox() { return ScrollingCreditsBox1; }
    components::TASLink& link() { return ASLink2; }

private:
    HWND makeComponent(const ui::ControlDef& entry, HWND parent);
    // The link's font at the page's DPI: the program's font, underlined.
    void setLinkFont();
    UINT dpi() const { return layout_.dpi(); }

    ui::Layout layout_;
    bool shown_ = false;
    ui::Bitmap logo_;
    TLogoImage Image2;
    components::TScrollingCreditsBox ScrollingCreditsBox1;
    components::TASLink ASLink2;
};

} // namespace app
