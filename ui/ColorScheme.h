#pragma once
// Which colours a surface and its text take. The program's pictures (the tiled pages) are
// light, so text over them is drawn in the program's own dark ink, whatever the system's
// colours; surfaces without a picture follow the system's colours. Under high contrast no
// tiled picture is drawn and everything follows the system's colours.
#include "ui/Color.h"

#include <windows.h>

namespace ui {

// Text over the program's own pictures.
inline constexpr Color clInkOnPicture = 0x000000;
// A link over them, and while the pointer is over it.
inline constexpr Color clLinkOnPicture = 0x000000;
inline constexpr Color clHotLinkOnPicture = clBlue;

// Whether the user asked Windows for high contrast (SPI_GETHIGHCONTRAST,
// HCF_HIGHCONTRASTON). Asked afresh each time: the setting can change at any moment.
bool highContrast();
// The question behind highContrast(), replaceable so a test can be a high-contrast desktop
// (Wine cannot turn it on). Null puts the system's back; returns the previous one.
using HighContrastQuery = bool (*)();
HighContrastQuery setHighContrastQuery(HighContrastQuery query);

// The colour of text on `surface`: a system surface colour's own text colour (window text
// on COLOR_WINDOW, button text on the others), else black or white, whichever stands out
// more from it.
COLORREF textColorOn(Color surface);

} // namespace ui
