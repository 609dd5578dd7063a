// The check-list box: ticks that follow their items, toggling by click and Space, and
// the notifications its parent gets.
#include "components/CheckListBox.h"

#include <gtest/gtest.h>

#include <algorithm>
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
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    Parent() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &proc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = "CheckListParent";
        RegisterClassA(&wc);
        hwnd = CreateWindowExA(0, "CheckListParent", "", WS_POPUP, 0, 0, 300, 200, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
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
        list.addString("C:\\one");
        list.addString("C:\\two");
        list.addString("C:\\three");
    }
    LPARAM pointInItem(int index, int x) {
        RECT r{};
        SendMessageA(list.hwnd(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
        return MAKELPARAM(x, (r.top + r.bottom) / 2);
    }
};

TEST_F(CheckListFixture, ItemsKeepOrderTextAndTheirOwnTicks) {
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.text(2), "C:\\three");
    EXPECT_FALSE(list.checked(0));
    list.setChecked(2, true);
    list.setChecked(0, true);
    list.setChecked(0, false);
    EXPECT_FALSE(list.checked(0));
    EXPECT_TRUE(list.checked(2));

    // Unsorted: a later "A..." goes last; ticks stay with their items when one goes.
    list.addString("A:\\first?");
    EXPECT_EQ(list.text(3), "A:\\first?");
    list.deleteString(0);
    EXPECT_EQ(list.count(), 3);
    EXPECT_EQ(list.text(0), "C:\\two");
    EXPECT_FALSE(list.checked(0));
    EXPECT_TRUE(list.checked(1));

    // Automation reads the text through the list box itself.
    char buffer[64] = {};
    SendMessageA(list.hwnd(), LB_GETTEXT, 1, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, "C:\\three");

    // Out of range asks nothing and breaks nothing.
    list.setChecked(17, true);
    EXPECT_FALSE(list.checked(17));
    EXPECT_EQ(list.text(17), "");

    list.clear();
    EXPECT_EQ(list.count(), 0);
    EXPECT_EQ(list.selectedIndex(), -1);
}

TEST_F(CheckListFixture, AClickOnTheTickBoxTogglesAClickOnTheTextOnlySelects) {
    SendMessageA(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, pointInItem(1, 80));
    SendMessageA(list.hwnd(), WM_LBUTTONUP, 0, pointInItem(1, 80));
    EXPECT_EQ(list.selectedIndex(), 1);
    EXPECT_FALSE(list.checked(1));

    Parent::codes().clear();
    SendMessageA(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, pointInItem(2, 5));
    SendMessageA(list.hwnd(), WM_LBUTTONUP, 0, pointInItem(2, 5));
    EXPECT_TRUE(list.checked(2));
    EXPECT_FALSE(list.checked(1));
    const auto& codes = Parent::codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), TCheckListBox::kNotifyTickChanged),
              codes.end());
    EXPECT_NE(std::find(codes.begin(), codes.end(), TCheckListBox::kNotifyClick), codes.end());

    // A click below the last item toggles nothing but still reports the click.
    Parent::codes().clear();
    SendMessageA(list.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 90));
    SendMessageA(list.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(5, 90));
    EXPECT_TRUE(list.checked(2));
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TCheckListBox::kNotifyClick), 1);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), TCheckListBox::kNotifyTickChanged), 0);
}

TEST_F(CheckListFixture, SpaceTogglesTheSelectedItemAndDoubleClicksAreReported) {
    SendMessageA(list.hwnd(), LB_SETCURSEL, 0, 0);
    SendMessageA(list.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    SendMessageA(list.hwnd(), WM_CHAR, ' ', 0);
    EXPECT_TRUE(list.checked(0));
    EXPECT_EQ(list.selectedIndex(), 0);
    SendMessageA(list.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(list.checked(0));

    Parent::codes().clear();
    SendMessageA(list.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, pointInItem(1, 80));
    const auto& codes = Parent::codes();
    EXPECT_NE(std::find(codes.begin(), codes.end(), TCheckListBox::kNotifyDoubleClick),
              codes.end());
}

} // namespace
