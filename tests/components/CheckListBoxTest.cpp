// The check-list box: ticks that follow their items, toggling by click and Space, and
// the notifications its parent gets.
#include "components/CheckListBox.h"
#include "components/HListBox.h"
#include "tests/support/Pixels.h"
#include "ui/Layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using components::TCheckListBox;

// A parent that records the WM_COMMAND codes it receives from the list.
struct Parent {
    static std::vector<WORD>& codes() {
        static std::vector<WORD> c;
        return c;
    }
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
        if (msg == WM_COMMAND)
            codes().push_back(HIWORD(wParam));
        if (msg == WM_DRAWITEM || msg == WM_COMMAND) {
            LRESULT result = 0;
            if (ui::reflectToChild(msg, wParam, lParam, result))
                return result;
        }
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    }
    Parent() {
        WNDCLASSW wc{};
        wc.lpfnWndProc = &proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"CheckListParent";
        RegisterClassW(&wc);
        hwnd = CreateWindowExW(0, L"CheckListParent", L"", WS_POPUP, 0, 0, 300, 200, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
        codes().clear();
    }
    ~Parent() { DestroyWindow(hwnd); }
    HWND hwnd;
};

struct CheckListFixture : ::testing::Test {
    Parent parent;
    TCheckListBox list;
    void SetUp() override {
        ASSERT_TRUE(list.create(parent.hwnd, 5, 0, 0, 200, 100));
        list.addString(L"C:\\one");
        list.addString(L"C:\\two");
        list.addString(L"C:\\three");
    }
    LPARAM pointInItem(int index, int x) {
        RECT r{};
        SendMessageW(list.hwnd(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return MAKELPARAM(x, (r.top + r.bottom) / 2);
    }
};

TEST_F(CheckListFixture, ItemsKeepOrderTextAndTheirOwnTicks) {
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.text(2), L"C:\\three");
    EXPECT_FALSE(list.checked(0));
    list.setChecked(2, true);
    list.setChecked(0, true);
    list.setChecked(0, false);
    EXPECT_FALSE(list.checked(0));
    EXPECT_TRUE(list.checked(2));

    // Unsorted: a later "A..." goes last; ticks stay with their items when one goes.
    list.addString(L"A:\\first?");
    EXPECT_EQ(list.text(3), L"A:\\first?");
    list.deleteString(0);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.text(0), L"C:\\two");
    EXPECT_FALSE(list.checked(0));
    EXPECT_TRUE(list.checked(1));

    // Automation reads the text through the list box itself.
    wchar_t buffer[64] = {};
    SendMessageW(list.hwnd(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, L"C:\\three");

    // Out of range asks nothing and breaks nothing.
    list.setChecked(17, true);
    EXPECT_FALSE(list.checked(17));
    EXPECT_EQ(list.text(17), L"");

    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(CheckListFixture, AClickOnTheTickBoxTogglesAClickOnTheTextOnlySelects) {
    SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, pointInItem(1, 80));
    SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, pointInItem(1, 80));
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_FALSE(list.checked(1));

    Parent::codes().clear();
    SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, pointInItem(2, 5));
    SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, pointInItem(2, 5));
    EXPECT_TRUE(list.checked(2));
    EXPECT_FALSE(list.checked(1));
    const auto& codes = Parent::codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), TCheckListBox::kNotifyTickChanged),
              codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), TCheckListBox::kNotifyClick), codes.end());

    // A click below the last item toggles nothing but still reports the click.
    Parent::codes().clear();
    SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 90));
    SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 90));
    EXPECT_TRUE(list.checked(2));
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TCheckListBox::kNotifyClick), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TCheckListBox::kNotifyTickChanged), 0);
}

TEST_F(CheckListFixture, AtTwiceTheDpiRowsAndTheTickColumnGrow) {
    list.setDpi(192);
    EXPECT_EQ(SendMessageW(list.hwnd(), LB_GETITEMHEIGHT, 0, 0), 26);
    // 20 pixels in lies inside the tick column, 32 wide now.
    SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, pointInItem(1, 20));
    SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, pointInItem(1, 20));
    EXPECT_TRUE(list.checked(1));
    SendMessageW(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, pointInItem(2, 40));
    SendMessageW(list.hwnd(), WM_LBUTTONUP, 0, pointInItem(2, 40));
    EXPECT_FALSE(list.checked(2));
}

TEST_F(CheckListFixture, SpaceTogglesTheSelectedItemAndDoubleClicksAreReported) {
    SendMessageW(list.hwnd(), LB_SETCURSEL, 0, 0);
    SendMessageW(list.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageW(list.hwnd(), WM_CHAR, ' ', 0);
    EXPECT_TRUE(list.checked(0));
    EXPECT_EQ(list.selectedIndex(), 0);
    SendMessageW(list.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(list.checked(0));

    Parent::codes().clear();
    SendMessageW(list.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, pointInItem(1, 80));
    const auto& codes = Parent::codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), TCheckListBox::kNotifyDoubleClick),
              codes.end());
}

// "Zdjęcia 写真 😀": letters no single code page holds, and one beyond 16 bits.
TEST(CheckListBoxText, AnyNameComesBackAndIsDrawnAsItIs) {
    Parent parent;
    components::THListBox list;
    ASSERT_TRUE(list.create(parent.hwnd, 6, 0, 0, 200, 60));
    SendMessageW(list.hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::defaultFont()), FALSE);
    const std::wstring name = L"Zdj\u0119cia \u5199\u771f \U0001F600";
    const std::wstring narrowed = L"Zdjecia ?? ??"; // the same through an ANSI code page
    list.AddString(name);
    list.AddString(narrowed);
    EXPECT_EQ(list.text(0), name);
    wchar_t read[32] = {};
    SendMessageW(list.hwnd(), LB_GETTEXT, 0, reinterpret_cast<LPARAM>(read));
    EXPECT_EQ(std::wstring(read), name);
    EXPECT_EQ(list.maxWidth(), std::max(list.ItemWidth(name), list.ItemWidth(narrowed)));
    EXPECT_NE(list.ItemWidth(name), list.ItemWidth(narrowed));

    // The two rows, text column only: they must not look alike.
    testpixels::Canvas canvas(200, 26);
    canvas.fill(RGB(1, 2, 3));
    canvas.render(list.hwnd());
    int differing = 0;
    for (int y = 0; y < 13; ++y)
        for (int x = 16; x < 200; ++x)
            differing += canvas.at(x, y) != canvas.at(x, y + 13);
    EXPECT_GT(differing, 0);
}

} // namespace
