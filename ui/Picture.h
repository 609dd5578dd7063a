#pragma once
// The program's pictures at any DPI: resized with a filter, so that they stay smooth
// instead of showing doubled pixels.
#include "ui/Gdi.h"

#include <windows.h>

#include <optional>

namespace ui {

// Tile: the picture is repeated edge to edge, so its edges blend into the opposite ones;
// Alone: past its edges lies more of its edge.
enum class PictureEdges { Alone, Tile };

// A copy of `source` of `width` x `height` pixels, interpolated between neighbouring
// pixels where it grows and averaged where it shrinks: a 32-bit top-down DIB section with
// premultiplied alpha. Pixels of the `key` colour come out transparent (draw it with
// AlphaBlend); without a key every pixel is opaque. Empty when `source` cannot be read.
Bitmap resizedPicture(HBITMAP source, int width, int height,
                      PictureEdges edges = PictureEdges::Alone,
                      std::optional<COLORREF> key = std::nullopt);

// The size of a bitmap; 0 x 0 when there is none.
SIZE pictureSize(HBITMAP bitmap);

// `source` resized for `dpi`, or empty at 96 DPI, where the picture is shown as it is.
Bitmap pictureAt(HBITMAP source, UINT dpi, PictureEdges edges = PictureEdges::Alone,
                 std::optional<COLORREF> key = std::nullopt);

} // namespace ui
