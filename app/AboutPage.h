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
// beneath show through; a click runs `onClick`.
class TLogoImage : public ui::Window {
public:
    HWND create(HWND parent, int id, int x, int y, HBITMAP bitmap);
    void (*onClick)(void* context) = nullptr;
    void* onClickContext = nullptr;
    void paint(HDC dc);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HBITMAP bitmap_ = nullptr;
    SIZE size_{};
};

class AboutPage {
public:
    // Creates the page's controls on `page`.
    void create(components::TBitmapPanel& page);
    // The main window is being shown: fill and place the texts.
    void FormShow();
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

    ui::Layout layout_;
    ui::Bitmap logo_;
    TLogoImage Image2;
    components::TScrollingCreditsBox ScrollingCreditsBox1;
    components::TASLink ASLink2;
};

} // namespace app
