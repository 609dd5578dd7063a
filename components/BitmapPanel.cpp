#include "components/BitmapPanel.h"
#include "ui/ColorScheme.h"
#include "ui/Painting.h"
#include "ui/Picture.h"
#include "ui/Property.h"

namespace components {

namespace {
void bevelColors(TPanelBevel bevel, COLORREF& top, COLORREF& bottom) {
    const COLORREF shadow = ui::resolve(ui::clBtnShadow);
    const COLORREF highlight = ui::resolve(ui::clBtnHighlight);
    top = bevel == TPanelBevel::bvLowered ? shadow : highlight;
    bottom = bevel == TPanelBevel::bvLowered ? highlight : shadow;
}
} // namespace

void Frame3D(HDC dc, RECT& rect, COLORREF top, COLORREF bottom, int rings) {
    if (rings <= 0)
        return;
    const ui::Pen topPen(CreatePen(PS_SOLID, 1, top));
    const ui::Pen bottomPen(CreatePen(PS_SOLID, 1, bottom));
    // Declared after the pens, so the DC has its own pen back before they go.
    const ui::Selected restorePen(dc, topPen.get());
    // Work on the last column and row inside the rectangle.
    --rect.right;
    --rect.bottom;
    for (int i = 0; i < rings; ++i) {
        // A polyline leaves out its last point: the first stops short of the top-right
        // corner, the second runs one pixel past the bottom-left corner to include it.
        const POINT first[] = {
            {rect.left, rect.bottom}, {rect.left, rect.top}, {rect.right, rect.top}};
        const POINT second[] = {
            {rect.right, rect.top}, {rect.right, rect.bottom}, {rect.left - 1, rect.bottom}};
        SelectObject(dc, topPen.get());
        Polyline(dc, first, 3);
        SelectObject(dc, bottomPen.get());
        Polyline(dc, second, 3);
        InflateRect(&rect, -1, -1);
    }
    ++rect.right;
    ++rect.bottom;
}

HWND TBitmapPanel::create(HWND parent, int id, int x, int y, int width, int height,
                          const std::wstring& caption) {
    registerClass(kClassName, CS_DBLCLKS);
    caption_ = caption;
    // Dialog-style navigation walks into the panel's controls.
    return Window::create(kClassName, WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                          caption.c_str(), x, y, width, height, parent, id);
}

void TBitmapPanel::repaint() {
    if (hwnd()) {
        InvalidateRect(hwnd(), nullptr, TRUE);
        UpdateWindow(hwnd());
    }
}

void TBitmapPanel::setColor(ui::Color value) {
    if (!ui::storeChanged(color_, value))
        return;
    repaint();
}

void TBitmapPanel::setBevelOuter(TPanelBevel value) {
    if (!ui::storeChanged(bevelOuter_, value))
        return;
    repaint();
}

void TBitmapPanel::setBevelInner(TPanelBevel value) {
    if (!ui::storeChanged(bevelInner_, value))
        return;
    repaint();
}

void TBitmapPanel::setBevelWidth(int value) {
    if (!ui::storeChanged(bevelWidth_, value))
        return;
    repaint();
}

void TBitmapPanel::setBorderWidth(int value) {
    if (!ui::storeChanged(borderWidth_, value))
        return;
    repaint();
}

void TBitmapPanel::setCaption(const std::wstring& value) {
    if (!ui::storeChanged(caption_, value))
        return;
    if (hwnd())
        SetWindowTextW(hwnd(), caption_.c_str());
    repaint();
}

void TBitmapPanel::setAlignment(TAlignment value) {
    if (!ui::storeChanged(alignment_, value))
        return;
    repaint();
}

void TBitmapPanel::setFont(HFONT font) {
    if (!ui::storeChanged(font_, font))
        return;
    repaint();
}

void TBitmapPanel::setBitmap(HBITMAP source) {
    if (source && source == bitmap_.get())
        return;
    bitmap_.reset();
    BITMAP info{};
    if (source && GetObjectW(source, sizeof info, &info) && info.bmWidth > 0 && info.bmHeight != 0)
        bitmap_.reset(static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, 0)));
    makeTileBrush();
    repaint();
}

void TBitmapPanel::setDpi(UINT dpi) {
    if (!ui::storeChanged(dpi_, dpi))
        return;
    makeTileBrush();
    repaint();
}

void TBitmapPanel::makeTileBrush() {
    tileBrush_.reset();
    resizedTile_.reset();
    if (!bitmap_)
        return;
    // At 96 DPI the tile itself; else a copy resized smoothly, seamless from edge to edge.
    resizedTile_ = ui::pictureAt(bitmap_.get(), dpi_, ui::PictureEdges::Tile);
    tileBrush_.reset(CreatePatternBrush(resizedTile_ ? resizedTile_.get() : bitmap_.get()));
    // Without its brush the tile cannot be drawn; the panel shows its colour instead.
    if (!tileBrush_)
        bitmap_.reset();
}

bool TBitmapPanel::drawsTiles() const {
    return tileBrush_ && !ui::highContrast();
}

ui::Color TBitmapPanel::surfaceColor() const {
    return ui::highContrast() ? ui::clBtnFace : color_;
}

COLORREF TBitmapPanel::textColor() const {
    return drawsTiles() ? ui::resolve(ui::clInkOnPicture) : ui::textColorOn(surfaceColor());
}

void TBitmapPanel::paint(HDC dc) const {
    RECT rect{};
    GetClientRect(hwnd(), &rect);
    const bool tiles = drawsTiles();
    if (!tiles) {
        FillRect(dc, &rect, colorBrush_.get(surfaceColor()));
    } else {
        // The brush origin is in device units: start the tiles at the panel's own corner
        // even when a child has shifted the viewport to paint the panel into its DC.
        POINT corner{0, 0};
        LPtoDP(dc, &corner, 1);
        POINT previous{};
        SetBrushOrgEx(dc, corner.x, corner.y, &previous);
        FillRect(dc, &rect, tileBrush_.get());
        SetBrushOrgEx(dc, previous.x, previous.y, nullptr);
    }

    const int bevel = ui::scale(bevelWidth_, dpi_);
    const int border = ui::scale(borderWidth_, dpi_);
    COLORREF top = 0, bottom = 0;
    if (bevelOuter_ != TPanelBevel::bvNone) {
        bevelColors(bevelOuter_, top, bottom);
        Frame3D(dc, rect, top, bottom, bevel);
    }
    // The border is the fill itself, tiles or colour, so nothing is drawn on it.
    if (!tiles) {
        if (border > 0)
            InflateRect(&rect, -border, -border);
    } else {
        InflateRect(&rect, -border, -border);
        ++rect.right;
        ++rect.bottom;
    }
    if (bevelInner_ != TPanelBevel::bvNone) {
        bevelColors(bevelInner_, top, bottom);
        Frame3D(dc, rect, top, bottom, bevel);
    }

    // Caption, vertically centred on the height of "W". The halving is unsigned: a panel
    // lower than its text puts the caption far outside, where it does not show.
    ui::Selected selectFont(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(SYSTEM_FONT));
    SIZE w{};
    GetTextExtentPoint32W(dc, L"W", 1, &w);
    const unsigned sum = static_cast<unsigned>(rect.top + rect.bottom - w.cy);
    rect.top = static_cast<LONG>(sum / 2);
    rect.bottom = rect.top + w.cy;
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColor = SetTextColor(dc, textColor());
    // The caption is drawn whole, whatever its length.
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rect,
              DT_EXPANDTABS | DT_VCENTER | drawTextAlign(alignment_));
    SetTextColor(dc, oldColor);
    SetBkMode(dc, oldMode);
}

HBRUSH TBitmapPanel::childBackground(HWND child, HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor());
    if (drawsTiles()) {
        // Align the tile in the child's DC with the panel's own tiles.
        POINT origin{0, 0};
        MapWindowPoints(child, hwnd(), &origin, 1);
        SetBrushOrgEx(dc, -origin.x, -origin.y, nullptr);
        return tileBrush_.get();
    }
    SetBkColor(dc, ui::resolve(surfaceColor()));
    return colorBrush_.get(surfaceColor());
}

LRESULT TBitmapPanel::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (ui::handlePaintMessage(hwnd(), msg, wParam, painted, [this](HDC dc) { paint(dc); }))
        return painted;
    switch (msg) {
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wParam);
        if (LOWORD(lParam))
            repaint();
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<LRESULT>(
            childBackground(reinterpret_cast<HWND>(lParam), reinterpret_cast<HDC>(wParam)));
    case WM_COMMAND:
    case WM_NOTIFY:
        // Children's notifications reach the window that handles them.
        return SendMessageW(GetParent(hwnd()), msg, wParam, lParam);
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace components
