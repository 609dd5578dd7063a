#include "components/HListBox.h"

#include "ui/Gdi.h"

#include <algorithm>
#include <cstdint>

namespace components {

int THListBox::ItemWidth(const std::wstring& text) const {
    ui::WindowDC dc(hwnd());
    // Measured in the list's own font; a list without one measures in the DC's default.
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd(), WM_GETFONT, 0, 0));
    ui::Selected selected(dc.get(), font ? font : GetCurrentObject(dc.get(), OBJ_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    const auto width = static_cast<std::uint16_t>(size.cx + metrics.tmAveCharWidth);
    // The margin makes room for the tick column, which grows with the DPI.
    return width + scaled(20);
}

void THListBox::setDpi(UINT dpi) {
    TCheckListBox::setDpi(dpi);
    if (!hwnd())
        return;
    // The items measure differently in the font of the new DPI.
    int widest = 0;
    for (int i = 0; i < count(); ++i)
        widest = std::max(widest, ItemWidth(text(i)));
    FMaxWidth = widest;
    SendMessageW(hwnd(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FMaxWidth), 0);
}

void THListBox::AddString(const std::wstring& text) {
    const int width = ItemWidth(text);
    if (width > FMaxWidth) {
        FMaxWidth = width;
        SendMessageW(hwnd(), LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FMaxWidth), 0);
    }
    addString(text);
}

} // namespace components
