#pragma once
// Colour values as the window descriptions give them: RGB 0x00BBGGRR, a system colour
// (0x80000000 + the system-colour index) or clNone. System colours are resolved only
// when they reach a device context.
#include <windows.h>

#include <cstdint>

namespace ui {

using Color = std::uint32_t;

constexpr Color clNone = 0x1FFFFFFF;
constexpr Color clSystemBit = 0x80000000;
constexpr Color sysColor(int index) {
    return clSystemBit | static_cast<Color>(index);
}

constexpr Color clWhite = 0xFFFFFF;
constexpr Color clBlue = 0xFF0000;
constexpr Color clBtnFace = sysColor(COLOR_BTNFACE);
constexpr Color clBtnShadow = sysColor(COLOR_BTNSHADOW);       // 0x80000010
constexpr Color clGrayText = sysColor(COLOR_GRAYTEXT);         // 0x80000011
constexpr Color clBtnHighlight = sysColor(COLOR_BTNHIGHLIGHT); // 0x80000014
constexpr Color clWindowText = sysColor(COLOR_WINDOWTEXT);

inline COLORREF resolve(Color color) {
    if (color & clSystemBit)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return static_cast<COLORREF>(color);
}

} // namespace ui
