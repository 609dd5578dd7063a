#include "ui/ColorScheme.h"

#include <cmath>

namespace ui {

namespace {
bool systemHighContrast() {
    HIGHCONTRASTW info{};
    info.cbSize = sizeof info;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof info, &info, 0) &&
           (info.dwFlags & HCF_HIGHCONTRASTON);
}

HighContrastQuery& query() {
    static HighContrastQuery current = &systemHighContrast;
    return current;
}

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double luminance(COLORREF rgb) {
    const auto linear = [](BYTE channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(GetRValue(rgb)) + 0.7152 * linear(GetGValue(rgb)) +
           0.0722 * linear(GetBValue(rgb));
}
} // namespace

bool highContrast() {
    return query()();
}

HighContrastQuery setHighContrastQuery(HighContrastQuery replacement) {
    const HighContrastQuery previous = query();
    query() = replacement ? replacement : &systemHighContrast;
    return previous;
}

COLORREF textColorOn(Color surface) {
    if (surface & clSystemBit) {
        const int index = static_cast<int>(surface & 0xFF);
        return GetSysColor(index == COLOR_WINDOW ? COLOR_WINDOWTEXT : COLOR_BTNTEXT);
    }
    // Contrast against black is (L + 0.05) / 0.05, against white 1.05 / (L + 0.05): they
    // are equal where L is about 0.18.
    return luminance(resolve(surface)) > 0.179 ? RGB(0, 0, 0) : RGB(255, 255, 255);
}

} // namespace ui
