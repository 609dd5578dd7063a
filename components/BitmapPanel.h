#pragma once
// TBitmapPanel: a panel whose background is a bitmap repeated edge to edge, or a plain
// colour when it has none; bevels, border and a centred caption as a panel has them.
// Child labels and bare check boxes on it show the tiles through. Its widths are given at
// 96 DPI and drawn at the panel's DPI, the tile resized with them. Under high contrast it
// draws no tiles: it is then a plain surface in the system's colours.
#include "components/Alignment.h"
#include "ui/Color.h"
#include "ui/Dpi.h"
#include "ui/Gdi.h"
#include "ui/Window.h"

#include <string>

namespace components {

enum class TPanelBevel { bvNone, bvLowered, bvRaised };

class TBitmapPanel : public ui::Window {
public:
    static constexpr const wchar_t* kClassName = L"TBitmapPanel";

    HWND create(HWND parent, int id, int x, int y, int width, int height,
                const std::wstring& caption = L"");

    ui::Color color() const { return color_; }
    void setColor(ui::Color value);
    TPanelBevel bevelOuter() const { return bevelOuter_; }
    void setBevelOuter(TPanelBevel value);
    TPanelBevel bevelInner() const { return bevelInner_; }
    void setBevelInner(TPanelBevel value);
    int bevelWidth() const { return bevelWidth_; }
    void setBevelWidth(int value);
    int borderWidth() const { return borderWidth_; }
    void setBorderWidth(int value);
    const std::wstring& caption() const { return caption_; }
    void setCaption(const std::wstring& value);
    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment value);
    // The caption's font; not owned. WM_SETFONT sets it too, as for any control.
    void setFont(HFONT font);

    // Copies the image of `source`; the panel never takes the object over. A null or
    // zero-sized image empties the tile.
    void setBitmap(HBITMAP source);
    HBITMAP bitmap() const { return bitmap_.get(); }
    bool hasBitmap() const { return bitmap_.get() != nullptr; }

    // The DPI the panel is drawn at (96 until told otherwise).
    void setDpi(UINT dpi);
    UINT dpi() const { return dpi_; }
    // Whether the tiles show: a tile is set and the system does not ask for high contrast.
    bool drawsTiles() const;

    // The whole painting, for WM_PAINT and WM_PRINTCLIENT alike.
    void paint(HDC dc) const;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void repaint();
    void makeTileBrush();
    // The colour of the surface where no tiles show, and of text on it.
    ui::Color surfaceColor() const;
    COLORREF textColor() const;
    // What a child control paints its background with: the tile aligned to the panel,
    // or the panel colour; and the colour of its text.
    HBRUSH childBackground(HWND child, HDC dc);

    ui::Color color_ = ui::clBtnFace;
    TPanelBevel bevelOuter_ = TPanelBevel::bvRaised;
    TPanelBevel bevelInner_ = TPanelBevel::bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    std::wstring caption_;
    TAlignment alignment_ = TAlignment::taCenter;
    HFONT font_ = nullptr;
    ui::Bitmap bitmap_;
    ui::Bitmap resizedTile_; // the tile at the panel's DPI, when that is not 96
    ui::Brush tileBrush_;
    UINT dpi_ = ui::kBaseDpi;
    mutable ui::ColorBrush colorBrush_;
};

// Draws `rings` one-pixel frames on `rect` (top and left in `top`, bottom and right in
// `bottom`; the top-right and bottom-left corners take `bottom`) and shrinks it by `rings`.
void Frame3D(HDC dc, RECT& rect, COLORREF top, COLORREF bottom, int rings);

} // namespace components
