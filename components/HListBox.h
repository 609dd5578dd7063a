#pragma once
// THListBox: the check-list box with a horizontal scroll range as wide as its widest item,
// so long paths can be scrolled sideways. The range only ever grows.
#include "components/CheckListBox.h"

#include <string>

namespace components {

class THListBox : public TCheckListBox {
public:
    // Pixels `text` needs in the list's font: its width, the average character width and
    // 20 pixels of margin.
    int ItemWidth(const std::wstring& text) const;
    // Widens the horizontal extent when `text` is wider than every item so far, then
    // appends it (the list is not sorted).
    void AddString(const std::wstring& text);
    // A new DPI measures every item again: the extent then fits the widest in the new font.
    void setDpi(UINT dpi);
    // The widest item measured so far, which is also the extent last set.
    int maxWidth() const { return FMaxWidth; }

private:
    int FMaxWidth = 0;
};

} // namespace components
