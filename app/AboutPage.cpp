#include "app/AboutPage.h"
#include "app/ProductInfo.h"
#include "app/SettingsIds.h"
#include "ui/ColorScheme.h"
#include "ui/Painting.h"
#include "ui/Picture.h"

#include <stdexcept>
#include <string_view>

namespace app {

const wchar_t* const kCreditsText =
    L"Brightsweep\r\nVersion " BS_VERSION_TEXT L"\r\n\r\n"
    L"Designed and written by the small team at Quellmoor Software, who got tired of "
    L"cleaning the same folders by hand every Friday.\r\n\r\n"
    L"Programming: Ada Fenwick and Tomas Ibarra.\r\n\r\n"
    L"Pictures and icons: Wren Castellano.\r\n\r\n"
    L"Help file and manual: Priya Lindqvist.\r\n\r\n"
    L"Testing: the Thursday Club, who deleted nothing they meant to keep.\r\n\r\n"
    L"Brightsweep only removes a file it can open for exclusive writing, and never touches "
    L"desktop.ini.\r\n\r\n"
    L"Thanks to everyone who sent us a bug report, a kind word or both.\r\n\r\n"
    L"Brightsweep is free: the MIT licence lets you use, copy and share it at no charge.\r\n\r\n"
    L"Made in Quellmoor Bridge. Keep your windows bright!";

const wchar_t* const kContactLines = L"Quellmoor Software\r\n"
                                     L"14 Harrow Lane\r\n"
                                     L"Quellmoor Bridge\r\n"
                                     L"Eastmarsh EM4 7QS\r\n"
                                     L"Tel: +44 1632 960418\r\n"
                                     L"E-mail: sweep@quellmoor.example";

const wchar_t* const kCopyrightLine = BS_COPYRIGHT_TEXT;

// Under a reserved domain, so the link can never lead to a stranger's site.
const wchar_t* const kWebAddress = L"http://quellmoor.example/";

namespace {

constexpr int kCreditsWidth = 205;
constexpr int kLinkGap = 3; // between the address block and the link
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX;
constexpr const wchar_t* kComponent = nullptr;

// clang-format off
constexpr ui::ControlDef kLayout[] = {
//   name                    class       id                      parent                  left top  width  height caption style   tab          help
    {L"Image2",               kComponent, idImage2,               nullptr,                12,  12,  58,    45,    L"",     0,      ui::kNoTab,  0},
    {L"ScrollingCreditsBox1", kComponent, idScrollingCreditsBox1, nullptr,                88,  8,   221,   117,   L"",     0,      ui::kNoTab,  0},
    {L"Label13",              L"STATIC",   idLabel13,              L"ScrollingCreditsBox1", 7,   0,   kCreditsWidth, 13, L"", kLabel, ui::kNoTab,  0},
    {L"Label21",              L"STATIC",   idLabel21,              nullptr,                88,  132, 0,     13,    L"",     kLabel, ui::kNoTab,  0},
    {L"ASLink2",              kComponent, idASLink2,              nullptr,                88,  218, 129,   13,    L"",     0,      ui::kNoTab,  0},
    {L"Label11",              L"STATIC",   idLabel11,              nullptr,                4,   250, ui::kFitText, 13, kCopyrightLine, kLabel, ui::kNoTab, 0},
};
// clang-format on

// Gives `label` its text and sizes it to fit in `font`: `width` wide with the words wrapped
// when that is above 0, else as wide as its longest line. Returns its new bottom edge.
int fitLabel(HWND label, HFONT font, const std::wstring& text, int width) {
    const SIZE size = ui::textExtent(font, text, width);
    const RECT bounds = ui::boundsInParent(label);
    SetWindowTextW(label, text.c_str());
    SetWindowPos(label, nullptr, bounds.left, bounds.top, width > 0 ? width : size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return bounds.top + size.cy;
}

// The link is the page's only way to the web site: Tab stops on it, it shows its focus
// (it is its own focus control), and Enter opens it.
void reachFromTheKeyboard(components::TASLink& link) {
    link.setTabStop(true);
    link.setShowFocus(true);
    link.setFocusControl(link.hwnd());
}

const ui::ControlDef& entryNamed(std::wstring_view name) {
    for (const ui::ControlDef& entry : kLayout)
        if (name == entry.name)
            return entry;
    throw std::logic_error("About page: no such control");
}

} // namespace

std::span<const ui::ControlDef> AboutLayout() {
    return kLayout;
}

// --- the logo ---

HWND TLogoImage::create(HWND parent, int id, int x, int y, HBITMAP bitmap, UINT dpi) {
    bitmap_ = bitmap;
    size_ = ui::pictureSize(bitmap);
    shown_ = size_;
    // Double clicks arrive as their own message, so the second press opens nothing more.
    registerClass(L"Brightsweep.Picture", CS_DBLCLKS, nullptr, LoadCursorW(nullptr, IDC_HAND));
    HWND made = Window::create(L"Brightsweep.Picture", 0, WS_CHILD | WS_VISIBLE, L"", x, y,
                               size_.cx, size_.cy, parent, static_cast<UINT_PTR>(id));
    if (made)
        setDpi(dpi);
    return made;
}

void TLogoImage::setDpi(UINT dpi) {
    resized_.reset();
    shown_ = size_;
    if (bitmap_ && dpi != ui::kBaseDpi) {
        COLORREF key = 0;
        {
            ui::MemoryDC source(nullptr);
            ui::Selected picture(source.get(), bitmap_);
            key = GetPixel(source.get(), 0, size_.cy - 1);
        }
        resized_ = ui::pictureAt(bitmap_, dpi, ui::PictureEdges::Alone, key);
        if (resized_)
            shown_ = ui::pictureSize(resized_.get());
    }
    SetWindowPos(hwnd(), nullptr, 0, 0, shown_.cx, shown_.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void TLogoImage::paint(HDC dc) {
    // The page beneath first, then the picture without its key colour.
    ui::paintParentBackground(hwnd(), dc);
    if (!bitmap_)
        return;
    ui::MemoryDC source(dc);
    if (resized_) {
        ui::Selected picture(source.get(), resized_.get());
        const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        AlphaBlend(dc, 0, 0, shown_.cx, shown_.cy, source.get(), 0, 0, shown_.cx, shown_.cy, blend);
        return;
    }
    ui::Selected picture(source.get(), bitmap_);
    const COLORREF key = GetPixel(source.get(), 0, size_.cy - 1);
    TransparentBlt(dc, 0, 0, size_.cx, size_.cy, source.get(), 0, 0, size_.cx, size_.cy, key);
}

LRESULT TLogoImage::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (ui::handlePaintMessage(hwnd(), msg, wParam, painted, [this](HDC dc) { paint(dc); }))
        return painted;
    switch (msg) {
    case WM_LBUTTONDOWN:
        SetCapture(hwnd());
        return 0;
    case WM_LBUTTONUP:
        if (ui::endClick(hwnd(), lParam) && onClick)
            onClick(onClickContext);
        return 0;
    default:
        return Window::handleMessage(msg, wParam, lParam);
    }
}

// --- the page ---

void AboutPage::create(components::TBitmapPanel& page) {
    logo_ = ui::loadBitmap(L"LOGO");
    const UINT dpi = page.dpi();
    layout_.build(
        page.hwnd(), kLayout, ui::defaultFont(dpi),
        [this](const ui::ControlDef& entry, HWND parent) { return makeComponent(entry, parent); },
        dpi);
    applyColors();
}

void AboutPage::setLinkFont() {
    LOGFONTW font{};
    GetObjectW(ui::defaultFont(dpi()), sizeof font, &font);
    font.lfUnderline = TRUE;
    ASLink2.setFont(font);
}

void AboutPage::applyColors() {
    // The tiles are light: the program's dark ink stands out on them whatever the system's
    // colours are. Without tiles the link sits on a system surface and takes the system's
    // link colour.
    if (ui::highContrast()) {
        ASLink2.setFontColor(ui::sysColor(COLOR_HOTLIGHT));
        ASLink2.setLinkColor(ui::sysColor(COLOR_HOTLIGHT));
    } else {
        ASLink2.setFontColor(ui::clLinkOnPicture);
        ASLink2.setLinkColor(ui::clHotLinkOnPicture);
    }
}

void AboutPage::setDpi(UINT dpi) {
    HWND credits = item(L"Label13");
    const UINT before = this->dpi();
    const int scrolledTo = ui::boundsInParent(credits).top;
    layout_.applyDpi(dpi, ui::defaultFont(dpi));
    Image2.setDpi(dpi);
    ScrollingCreditsBox1.setDpi(dpi);
    const ui::ControlDef link = ui::Layout::scaled(entryNamed(L"ASLink2"), dpi);
    ASLink2.setBounds(link.left, link.top, link.width, link.height);
    setLinkFont();
    if (shown_)
        FormShow();
    // A scroll under way goes on from the same place on the new scale.
    if (ScrollingCreditsBox1.Started())
        SetWindowPos(credits, nullptr, ui::boundsInParent(credits).left,
                     MulDiv(scrolledTo, static_cast<int>(dpi), static_cast<int>(before)), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND AboutPage::makeComponent(const ui::ControlDef& entry, HWND parent) {
    switch (entry.id) {
    case idImage2: {
        HWND hwnd = Image2.create(parent, entry.id, entry.left, entry.top, logo_.get(), dpi());
        Image2.onClick = [](void* self) { static_cast<AboutPage*>(self)->Image2Click(); };
        Image2.onClickContext = this;
        return hwnd;
    }
    case idScrollingCreditsBox1: {
        auto& box = ScrollingCreditsBox1;
        box.setSingleBorder(true);
        // White in the standard scheme; a box without a picture follows the system's colours.
        box.setColor(ui::sysColor(COLOR_WINDOW));
        box.setDpi(dpi());
        box.setCompSpace(10);
        box.setScrollStep(1);
        box.setTimeDelay(60);
        box.setPaused(false);
        HWND hwnd = box.create(parent, entry.left, entry.top, entry.width, entry.height, entry.id);
        box.setHint(L"Click here to stop scrolling");
        return hwnd;
    }
    case idASLink2: {
        auto& link = ASLink2;
        setLinkFont();
        link.setShadowColor(ui::clNone);
        link.setShadowSize(0);
        link.setTransparent(true);
        link.setURLType(components::utHttp);
        link.setURLTypeAdd(false);
        link.setBounds(entry.left, entry.top, entry.width, entry.height);
        HWND hwnd = link.create(parent, entry.left, entry.top, entry.id);
        link.setCaption(kWebAddress);
        reachFromTheKeyboard(link);
        return hwnd;
    }
    default:
        throw std::logic_error("About page: unknown component");
    }
}

void AboutPage::FormShow() {
    shown_ = true;
    const HFONT font = ui::defaultFont(dpi());
    fitLabel(item(L"Label13"), font, kCreditsText, ui::scale(kCreditsWidth, dpi()));
    ASLink2.setTop(fitLabel(item(L"Label21"), font, contactLines, 0) + ui::scale(kLinkGap, dpi()));
}

void AboutPage::pageChanged(bool shown) {
    if (shown) {
        ScrollingCreditsBox1.StartScrolling();
        ScrollingCreditsBox1.setPaused(false);
    } else {
        ScrollingCreditsBox1.setPaused(true);
    }
}

void AboutPage::Image2Click() {
    ASLink2.OpenURL();
}

} // namespace app
