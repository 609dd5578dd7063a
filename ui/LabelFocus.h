#pragma once
// Focus marks for controls whose words are drawn by a label beside them. A bare check box
// shows only its glyph: its words are a separate label, so without help a keyboard user
// sees no focus at all on it. The label draws the dotted focus rectangle around its words
// while the box has the keyboard focus, as a check box with its own text does.
#include <windows.h>

namespace ui {

// Has `label` (a STATIC control) show the focus of `box`. The two stay tied until either
// is destroyed.
void showFocusOnLabel(HWND box, HWND label);

// Whether `control` shows focus rectangles now: false while its window hides them until
// the keyboard is used (UISF_HIDEFOCUS), as the system's own controls do.
bool focusCuesShown(HWND control);

} // namespace ui
