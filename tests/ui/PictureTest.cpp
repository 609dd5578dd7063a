// Pictures resized for another DPI: smooth rather than doubled pixels, a key colour that
// leaves no trace, and tiles that stay seamless.
#include "ui/Picture.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

// A 32-bit picture of `width` x 1 pixels of the given colours (0x00RRGGBB).
ui::Bitmap row(const std::vector<std::uint32_t>& colours) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = static_cast<LONG>(colours.size());
    info.bmiHeader.biHeight = 1;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    ui::Bitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    std::copy(colours.begin(), colours.end(), static_cast<std::uint32_t*>(bits));
    return bitmap;
}

std::vector<std::uint32_t> pixelsOf(HBITMAP bitmap) {
    DIBSECTION dib{};
    GetObjectW(bitmap, sizeof dib, &dib);
    const auto* bits = static_cast<const std::uint32_t*>(dib.dsBm.bmBits);
    return {bits, bits + dib.dsBm.bmWidth * std::abs(dib.dsBm.bmHeight)};
}

int blue(std::uint32_t p) {
    return p & 0xFF;
}

TEST(Picture, GrowsSmoothlyWhereDoublingWouldRepeatPixels) {
    const ui::Bitmap source = row({0x000000, 0xFFFFFF});
    const ui::Bitmap grown = ui::pictureAt(source.get(), 192);
    EXPECT_EQ(ui::pictureSize(grown.get()).cx, 4);
    const auto p = pixelsOf(grown.get());
    // Black and white at the ends, greys between them, rising.
    EXPECT_EQ(blue(p[0]), 0);
    EXPECT_EQ(blue(p[3]), 255);
    EXPECT_GT(blue(p[1]), 0);
    EXPECT_LT(blue(p[2]), 255);
    EXPECT_LT(blue(p[1]), blue(p[2]));
    for (std::uint32_t pixel : p)
        EXPECT_EQ(pixel >> 24, 255u) << "opaque";
    // At 96 DPI the picture is shown as it is.
    EXPECT_FALSE(ui::pictureAt(source.get(), 96));
}

TEST(Picture, AKeyColourBecomesTransparentAndLeavesNoTint) {
    // Magenta key between two greens.
    const ui::Bitmap source = row({0x00C000, 0xFF00FF, 0x00C000});
    const ui::Bitmap grown =
        ui::resizedPicture(source.get(), 9, 3, ui::PictureEdges::Alone, RGB(255, 0, 255));
    for (std::uint32_t p : pixelsOf(grown.get())) {
        const std::uint32_t alpha = p >> 24;
        // Premultiplied: no channel above the alpha, and no red or blue from the key.
        EXPECT_EQ(p & 0xFF, 0u);
        EXPECT_EQ((p >> 16) & 0xFF, 0u);
        EXPECT_LE((p >> 8) & 0xFF, alpha);
    }
    const auto p = pixelsOf(grown.get());
    EXPECT_EQ(p[4] >> 24, 0u); // the middle of the key pixel
    EXPECT_EQ(p[0] >> 24, 255u);
}

TEST(Picture, ATileBlendsIntoItsOppositeEdge) {
    // Black on the left edge, white on the right: tiled, they meet at every seam.
    const ui::Bitmap source = row({0x000000, 0x808080, 0xFFFFFF});
    const auto tile =
        pixelsOf(ui::resizedPicture(source.get(), 6, 2, ui::PictureEdges::Tile).get());
    const auto alone =
        pixelsOf(ui::resizedPicture(source.get(), 6, 2, ui::PictureEdges::Alone).get());
    EXPECT_EQ(blue(alone[0]), 0);
    EXPECT_EQ(blue(alone[5]), 255);
    EXPECT_GT(blue(tile[0]), 0);   // white from the right edge comes in
    EXPECT_LT(blue(tile[5]), 255); // and black from the left
}

} // namespace
