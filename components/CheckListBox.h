#pragma once
// TCheckListBox: a standard owner-drawn list box (LBS_HASSTRINGS, so LB_GETTEXT serves
// screen readers and automation) with a tick box before each item. A click on the tick
// box, or Space, toggles the tick of the item; each item keeps its tick in its item data.
#include "ui/Dpi.h"
#include "ui/Window.h"

#include <string>

namespace components {

class TCheckListBox : public ui::Window {
public:
    // Notification codes sent to the parent in a WM_COMMAND, besides the list box's own.
    static constexpr WORD kNotifyClick = 0x4001;       // any click inside the list
    static constexpr WORD kNotifyDoubleClick = 0x4002; // any double click inside the list
    static constexpr WORD kNotifyTickChanged = 0x4003; // the user toggled a tick
    static constexpr WORD kNotifyKeySelect = 0x4004;   // the user selected an item by key

    HWND create(HWND parent, int id, int x, int y, int width, int height, DWORD extraStyle = 0);

    int addString(const std::wstring& text);
    int count() const;
    std::wstring text(int index) const;
    bool checked(int index) const;
    void setChecked(int index, bool value);
    void deleteString(int index);
    void clear();
    // The selected item, or -1.
    int selectedIndex() const;
    void setItemHeight(int height);
    // The DPI the list is drawn at: its rows, tick column and tick boxes grow with it.
    void setDpi(UINT dpi);
    UINT dpi() const { return dpi_; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    virtual void drawItem(const DRAWITEMSTRUCT& item);
    // Width of the tick column at the left of every item, and the rows' height, at 96 DPI.
    static constexpr int kTickColumn = 16;
    static constexpr int kItemHeight = 13;
    int scaled(int pixels) const { return ui::scale(pixels, dpi_); }

private:
    void toggle(int index);
    void notifyParent(WORD code);
    // The item under a client point when the point lies in its tick column, or -1.
    int tickAt(LPARAM point) const;

    UINT dpi_ = ui::kBaseDpi;
};

} // namespace components
