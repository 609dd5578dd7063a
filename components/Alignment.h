#pragma once
// Horizontal text placement shared by the panels and the hyperlink label.
namespace components {

enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

} // namespace components
