#pragma once
// A standard tab control whose pages are its siblings, laid over its display area and
// placed after it in z-order: dialog-style navigation then goes from the tab strip into
// the shown page, as a page control's does. The strip leaves the pages' area alone: it
// paints around it and lets the mouse through to the page below.
#include "ui/Window.h"

#include <functional>
#include <string>
#include <vector>

namespace ui {

class TabControl : public Window {
public:
    HWND create(HWND parent, int id, int x, int y, int width, int height, DWORD style);
    // Adds a tab whose page is `page` (a sibling window); the first page added is shown.
    void addPage(const std::wstring& caption, HWND page);
    int selected() const;
    void select(int index);
    int pageCount() const { return static_cast<int>(pages_.size()); }
    // Turns `step` pages on (back when negative), wrapping at either end, with the
    // notifications a click on that tab sends.
    void turnPages(int step);
    // The pages a key turns, as in every property sheet: 1 for Ctrl+Tab and Ctrl+Page Down,
    // -1 for Ctrl+Shift+Tab and Ctrl+Page Up, 0 for any other message.
    static int pageStepOfKey(const MSG& msg);
    // Called after the user (or select) changed the shown page.
    std::function<void()> onChange;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    bool reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void showSelectedPage();
    // The area the pages cover, in the strip's client coordinates.
    RECT pageArea() const;
    std::vector<HWND> pages_;
};

} // namespace ui
