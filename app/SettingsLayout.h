#pragma once
// The main window's description as data.
#include "ui/Layout.h"

#include <span>

namespace app {

inline constexpr int kClientWidth = 346;
inline constexpr int kClientHeight = 419;

std::span<const ui::ControlDef> SettingsLayout();

} // namespace app
