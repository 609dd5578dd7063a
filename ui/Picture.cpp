#include "ui/Picture.h"

#include "ui/Dpi.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

namespace ui {

namespace {

// One source pixel's share in a destination pixel.
struct Tap {
    int index;
    float weight;
};
using Taps = std::vector<std::vector<Tap>>;

// For each of `to` destination pixels along one axis, the source pixels it is made of.
Taps tapsFor(int from, int to, PictureEdges edges) {
    const auto at = [&](int i) {
        if (edges == PictureEdges::Tile)
            return (i % from + from) % from;
        return std::clamp(i, 0, from - 1);
    };
    const double ratio = static_cast<double>(from) / to;
    Taps taps(static_cast<size_t>(to));
    for (int d = 0; d < to; ++d) {
        auto& list = taps[static_cast<size_t>(d)];
        if (to >= from) {
            // Growing: between the two source pixels whose centres lie either side.
            const double x = (d + 0.5) * ratio - 0.5;
            const int i = static_cast<int>(std::floor(x));
            const auto f = static_cast<float>(x - i);
            list = {{at(i), 1.0f - f}, {at(i + 1), f}};
        } else {
            // Shrinking: the source pixels the destination pixel covers, by how much.
            const double x0 = d * ratio, x1 = (d + 1) * ratio;
            for (int i = static_cast<int>(std::floor(x0)); i < std::ceil(x1); ++i) {
                const double covered = std::min(x1, i + 1.0) - std::max(x0, i * 1.0);
                if (covered > 0)
                    list.push_back({at(i), static_cast<float>(covered / ratio)});
            }
        }
    }
    return taps;
}

using Pixel = std::array<float, 4>; // blue, green, red, alpha; colour premultiplied

} // namespace

SIZE pictureSize(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info))
        return {0, 0};
    return {info.bmWidth, std::abs(info.bmHeight)};
}

Bitmap resizedPicture(HBITMAP source, int width, int height, PictureEdges edges,
                      std::optional<COLORREF> key) {
    const SIZE from = pictureSize(source);
    if (from.cx <= 0 || from.cy <= 0 || width <= 0 || height <= 0)
        return Bitmap();

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = from.cx;
    info.bmiHeader.biHeight = -from.cy; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> bits(static_cast<size_t>(from.cx) * from.cy);
    {
        WindowDC screen(nullptr);
        if (GetDIBits(screen.get(), source, 0, static_cast<UINT>(from.cy), bits.data(), &info,
                      DIB_RGB_COLORS) != from.cy)
            return Bitmap();
    }
    std::vector<Pixel> pixels(bits.size());
    for (size_t i = 0; i < bits.size(); ++i) {
        const std::uint32_t p = bits[i] & 0xFFFFFF;
        const bool clear = key && p == RGB(GetBValue(*key), GetGValue(*key), GetRValue(*key));
        pixels[i] =
            clear ? Pixel{0, 0, 0, 0}
                  : Pixel{float(p & 0xFF), float((p >> 8) & 0xFF), float((p >> 16) & 0xFF), 255.0f};
    }

    // Across, then down.
    const Taps across = tapsFor(from.cx, width, edges);
    std::vector<Pixel> rows(static_cast<size_t>(width) * from.cy, Pixel{});
    for (int y = 0; y < from.cy; ++y)
        for (int x = 0; x < width; ++x) {
            Pixel& out = rows[static_cast<size_t>(y) * width + x];
            for (const Tap& t : across[static_cast<size_t>(x)])
                for (int c = 0; c < 4; ++c)
                    out[c] += t.weight * pixels[static_cast<size_t>(y) * from.cx + t.index][c];
        }
    const Taps down = tapsFor(from.cy, height, edges);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    void* target = nullptr;
    Bitmap result(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &target, nullptr, 0));
    if (!result || !target)
        return Bitmap();
    auto* out = static_cast<std::uint32_t*>(target);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            Pixel sum{};
            for (const Tap& t : down[static_cast<size_t>(y)])
                for (int c = 0; c < 4; ++c)
                    sum[c] += t.weight * rows[static_cast<size_t>(t.index) * width + x][c];
            std::uint32_t packed = 0;
            for (int c = 3; c >= 0; --c)
                packed = (packed << 8) |
                         static_cast<std::uint32_t>(std::clamp(std::lround(sum[c]), 0L, 255L));
            out[static_cast<size_t>(y) * width + x] = packed;
        }
    GdiFlush();
    return result;
}

Bitmap pictureAt(HBITMAP source, UINT dpi, PictureEdges edges, std::optional<COLORREF> key) {
    if (dpi == kBaseDpi)
        return Bitmap();
    const SIZE size = pictureSize(source);
    return resizedPicture(source, scale(size.cx, dpi), scale(size.cy, dpi), edges, key);
}

} // namespace ui
