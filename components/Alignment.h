#pragma once
// Horizontal text placement shared by the panels and the hyperlink label.
#include <windows.h>

namespace components {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

// The DrawText flag that places text as `alignment` says.
inline UINT drawTextAlign(TAlignment alignment) {
    switch (alignment) {
    case TAlignment::taLeftJustify:
        return DT_LEFT;
    case TAlignment::taRightJustify:
        return DT_RIGHT;
    case TAlignment::taCenter:
        break;
    }
    return DT_CENTER;
}

} // namespace components
