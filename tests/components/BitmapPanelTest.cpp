// The bitmap panel's painting, checked pixel by pixel in a memory bitmap.
#include "components/BitmapPanel.h"
#include "tests/face/GuiTestHelpers.h"
#include "tests/support/Pixels.h"
#include "ui/Layout.h"
#include "ui/Painting.h"

#include <gtest/gtest.h>

namespace {

using components::TBitmapPanel;
using components::TPanelBevel;
using testpixels::Canvas;

constexpr COLORREF kRed = RGB(200, 0, 0);

// A hidden parent for the panels.
struct Host : facetest::Host {
    Host() : facetest::Host(facetest::makeStaticHost(800, 600)) {}
};

// A 128 x 128 tile whose every pixel tells where in the tile it lies.
COLORREF tilePixel(int x, int y) {
    return RGB(x * 2, y * 2, 77);
}
HBITMAP makeTile(int width = 128, int height = 128) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            SetPixel(dc, x, y, tilePixel(x % 128, y % 128));
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

struct PanelFixture : ::testing::Test {
    Host host;
    TBitmapPanel panel;
    // A red panel without an outer bevel.
    void make(int width, int height, const std::wstring& caption = L"") {
        ASSERT_TRUE(panel.create(host, 1, 0, 0, width, height, caption));
        panel.setColor(kRed);
        panel.setBevelOuter(TPanelBevel::bvNone);
    }
    // Hands the panel the tile and frees the caller's copy at once.
    void setTile() {
        HBITMAP tile = makeTile();
        panel.setBitmap(tile);
        DeleteObject(tile);
    }
};

TEST_F(PanelFixture, WithoutBitmapPaintsEverythingInColourBorderIncluded) {
    make(60, 40);
    panel.setBorderWidth(3);
    Canvas canvas(60, 40);
    canvas.fill(RGB(1, 2, 3));
    canvas.render(panel.hwnd());
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 60; ++x)
            ASSERT_EQ(canvas.at(x, y), kRed) << x << "," << y;
}

TEST_F(PanelFixture, CaptionIsCentredAndVanishesWhenThePanelIsLowerThanTheText) {
    make(80, 40, L"WWW");
    // The caption takes the font a layout gives every control.
    SendMessageW(panel.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::defaultFont()), FALSE);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(panel.hwnd(), WM_GETFONT, 0, 0)),
              ui::defaultFont());
    Canvas canvas(80, 40);
    canvas.render(panel.hwnd());
    int dark = 0, minX = 80, maxX = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 80; ++x)
            if (canvas.at(x, y) != kRed) {
                ++dark;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
    ASSERT_GT(dark, 0);
    EXPECT_NEAR((minX + maxX) / 2.0, 40, 3);

    // Four pixels high: top + bottom - H is negative and the unsigned halving sends the
    // caption far below the panel.
    TBitmapPanel low;
    ASSERT_TRUE(low.create(host, 2, 0, 100, 80, 4, L"WWW"));
    low.setColor(kRed);
    low.setBevelOuter(TPanelBevel::bvNone);
    Canvas small(80, 4);
    small.render(low.hwnd());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 80; ++x)
            ASSERT_EQ(small.at(x, y), kRed) << x << "," << y;
}

TEST_F(PanelFixture, ACaptionLongerThan255CharactersIsDrawnWhole) {
    // 300 characters, right-aligned: only the end of the text lies inside the panel.
    make(80, 30, std::wstring(297, L' ') + L"WWW");
    panel.setAlignment(components::TAlignment::taRightJustify);
    Canvas canvas(80, 30);
    canvas.render(panel.hwnd());
    int dark = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 40; x < 80; ++x)
            dark += canvas.at(x, y) != kRed;
    EXPECT_GT(dark, 0);
}

TEST_F(PanelFixture, TilesFromTheTopLeftCornerAcrossAndDown) {
    make(321, 269);
    setTile();
    Canvas canvas(321, 269);
    canvas.render(panel.hwnd());
    EXPECT_EQ(canvas.at(0, 0), tilePixel(0, 0));
    EXPECT_EQ(canvas.at(127, 5), tilePixel(127, 5));
    EXPECT_EQ(canvas.at(128, 5), tilePixel(0, 5));
    EXPECT_EQ(canvas.at(300, 260), tilePixel(300 - 256, 260 - 256));
    EXPECT_EQ(canvas.at(320, 268), tilePixel(320 - 256, 268 - 256));
}

TEST_F(PanelFixture, AChildPaintingThePanelIntoItsOwnDCSeesTheTilesWhereThePanelHasThem) {
    make(321, 269);
    panel.setBevelOuter(TPanelBevel::bvNone);
    HBITMAP tile = makeTile();
    panel.setBitmap(tile);
    DeleteObject(tile);
    // Across a tile edge, as a transparent label there paints its background.
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 150, 100, 40, 40, panel.hwnd(),
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(child);
    Canvas canvas(40, 40);
    ui::paintParentBackground(child, canvas.dc());
    EXPECT_EQ(canvas.at(0, 0), tilePixel(150 - 128, 100));
    EXPECT_EQ(canvas.at(39, 27), tilePixel(189 - 128, 127));
    EXPECT_EQ(canvas.at(39, 28), tilePixel(189 - 128, 0));
    DestroyWindow(child);
}

TEST_F(PanelFixture, KeepsItsOwnCopyOfTheBitmap) {
    make(40, 40);
    HBITMAP tile = makeTile();
    panel.setBitmap(tile);
    EXPECT_NE(panel.bitmap(), tile);
    // Paint the source over: the panel's tiles stay as they were when it was set.
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, tile);
    RECT all{0, 0, 128, 128};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
    Canvas canvas(40, 40);
    canvas.render(panel.hwnd());
    EXPECT_EQ(canvas.at(10, 20), tilePixel(10, 20));
    DeleteObject(tile);

    // No image gives the plain colour again.
    panel.setBitmap(nullptr);
    EXPECT_FALSE(panel.hasBitmap());
    canvas.render(panel.hwnd());
    EXPECT_EQ(canvas.at(10, 20), kRed);
}

TEST_F(PanelFixture, LoweredOuterBevelOfTwoRings) {
    make(50, 30);
    panel.setBevelOuter(TPanelBevel::bvLowered);
    panel.setBevelWidth(2);
    Canvas canvas(50, 30);
    canvas.render(panel.hwnd());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);
    for (int ring = 0; ring < 2; ++ring) {
        EXPECT_EQ(canvas.at(ring, 15), shadow);           // left
        EXPECT_EQ(canvas.at(20, ring), shadow);           // top
        EXPECT_EQ(canvas.at(49 - ring, 15), highlight);   // right
        EXPECT_EQ(canvas.at(20, 29 - ring), highlight);   // bottom
        EXPECT_EQ(canvas.at(49 - ring, ring), highlight); // top-right corner
        EXPECT_EQ(canvas.at(ring, 29 - ring), highlight); // bottom-left corner
        EXPECT_EQ(canvas.at(ring, ring), shadow);         // top-left corner
    }
    EXPECT_EQ(canvas.at(2, 15), kRed);
    EXPECT_EQ(canvas.at(47, 15), kRed);
}

TEST_F(PanelFixture, InnerBevelSitsInsideTheBorderOneFurtherOutWithABitmap) {
    make(60, 40);
    panel.setBevelInner(TPanelBevel::bvRaised);
    panel.setBorderWidth(2);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    const COLORREF highlight = GetSysColor(COLOR_BTNHIGHLIGHT);

    Canvas plain(60, 40);
    plain.render(panel.hwnd());
    EXPECT_EQ(plain.at(1, 20), kRed); // the border in the panel colour
    EXPECT_EQ(plain.at(2, 20), highlight);
    EXPECT_EQ(plain.at(20, 2), highlight);
    EXPECT_EQ(plain.at(57, 20), shadow);
    EXPECT_EQ(plain.at(58, 20), kRed);
    EXPECT_EQ(plain.at(20, 37), shadow);

    setTile();
    Canvas tiled(60, 40);
    tiled.render(panel.hwnd());
    EXPECT_EQ(tiled.at(1, 20), tilePixel(1, 20)); // the tiles show through the border
    EXPECT_EQ(tiled.at(2, 20), highlight);
    EXPECT_EQ(tiled.at(58, 20), shadow);
    EXPECT_EQ(tiled.at(59, 20), tilePixel(59, 20));
    EXPECT_EQ(tiled.at(20, 38), shadow);
}

TEST_F(PanelFixture, AtTwiceTheDpiBevelsAndTilesAreTwiceAsLarge) {
    make(300, 300);
    panel.setBevelOuter(TPanelBevel::bvLowered); // one ring at 96 DPI
    setTile();
    panel.setDpi(192);
    Canvas canvas(300, 300);
    canvas.render(panel.hwnd());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_EQ(canvas.at(0, 150), shadow);
    EXPECT_EQ(canvas.at(1, 150), shadow);
    EXPECT_NE(canvas.at(2, 150), shadow);
    // A tile of 256 pixels now, repeating from the panel's corner.
    EXPECT_EQ(canvas.at(10, 40), canvas.at(10 + 256, 40));
    EXPECT_NE(canvas.at(10, 40), canvas.at(10 + 128, 40));
}

TEST(Frame3D, ShrinksByItsRingsAndZeroDrawsNothing) {
    Canvas canvas(10, 10);
    canvas.fill(RGB(9, 9, 9));
    RECT r{0, 0, 10, 10};
    components::Frame3D(canvas.dc(), r, RGB(0, 255, 0), RGB(0, 0, 255), 0);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(canvas.at(0, 0), RGB(9, 9, 9));
    components::Frame3D(canvas.dc(), r, RGB(0, 255, 0), RGB(0, 0, 255), 3);
    EXPECT_EQ(r.left, 3);
    EXPECT_EQ(r.top, 3);
    EXPECT_EQ(r.right, 7);
    EXPECT_EQ(r.bottom, 7);
    EXPECT_EQ(canvas.at(3, 3), RGB(9, 9, 9));
}

TEST_F(PanelFixture, ChildLabelsShowTheTilesAlignedWithThePanel) {
    make(300, 100);
    setTile();
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFT, 130, 5, 40, 13,
                                 panel.hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
    Canvas canvas(40, 13);
    canvas.render(label);
    EXPECT_EQ(canvas.at(0, 0), tilePixel(2, 5));
    EXPECT_EQ(canvas.at(10, 7), tilePixel(12, 12));
}

} // namespace
