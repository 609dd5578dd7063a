// The layout routine: positions, font, help topics, and z-order = tab order so that
// dialog-style navigation follows the table.
#include "ui/Layout.h"
#include "tests/face/GuiTestHelpers.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// A hidden parent that lets dialog-style navigation into its children.
struct HostWindow : facetest::Host {
    HostWindow() : facetest::Host(facetest::makeStaticHost(400, 300, WS_EX_CONTROLPARENT)) {}
};

RECT rectIn(HWND parent, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// clang-format off
constexpr ui::ControlDef kTable[] = {
    {"Box",    "STATIC", 10, nullptr, 5,  6,   200, 150, "",      0,                          1, 9},
    {"Second", "BUTTON", 11, nullptr, 5,  200, 60,  20,  "Second", BS_PUSHBUTTON | WS_TABSTOP, 0, 0},
    {"Label",  "STATIC", 12, "Box",   3,  4,   ui::kFitText, 13, "Some words", SS_LEFT, ui::kNoTab, 0},
    {"Third",  "BUTTON", 13, "Box",   10, 40,  60,  20,  "Third", BS_PUSHBUTTON | WS_TABSTOP, 2, 4},
    {"First",  "BUTTON", 14, "Box",   10, 70,  60,  20,  "First", BS_PUSHBUTTON | WS_TABSTOP, 0, 0},
    {"Off",    "BUTTON", 15, "Box",   10, 100, 60,  20,  "Off",   BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 1, 0},
};
// clang-format on

TEST(Layout, PlacesEveryControlWithFontAndHelpTopic) {
    HostWindow host;
    ui::Layout layout;
    layout.build(host, kTable, ui::defaultFont(), nullptr);

    HWND box = layout.find("Box");
    HWND third = layout.find("Third");
    ASSERT_TRUE(box && third);
    EXPECT_EQ(GetParent(third), box);
    const RECT r = rectIn(box, third);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 60);
    EXPECT_EQ(r.bottom - r.top, 20);
    EXPECT_EQ(GetDlgCtrlID(third), 13);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(third, WM_GETFONT, 0, 0)), ui::defaultFont());
    EXPECT_EQ(GetWindowContextHelpId(third), 4u);
    EXPECT_EQ(GetWindowContextHelpId(box), 9u);
    EXPECT_EQ(GetWindowContextHelpId(layout.find("First")), 0u);
    EXPECT_FALSE(IsWindowEnabled(layout.find("Off")));
    EXPECT_EQ(layout.find("Nothing"), nullptr);

    // A fitted label is as wide as its text in the layout's font.
    const RECT label = rectIn(box, layout.find("Label"));
    EXPECT_EQ(label.right - label.left, ui::textWidth(ui::defaultFont(), "Some words"));
    EXPECT_GT(label.right - label.left, 20);
}

TEST(Layout, ZOrderFollowsTabOrderSoNavigationDoes) {
    HostWindow host;
    ui::Layout layout;
    layout.build(host, kTable, ui::defaultFont(), nullptr);

    std::vector<HWND> children;
    for (HWND w = GetWindow(layout.find("Box"), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        children.push_back(w);
    const std::vector<HWND> expected{layout.find("First"), layout.find("Off"), layout.find("Third"),
                                     layout.find("Label")};
    EXPECT_EQ(children, expected);

    std::vector<HWND> top;
    for (HWND w = GetWindow(host, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        top.push_back(w);
    EXPECT_EQ(top, (std::vector<HWND>{layout.find("Second"), layout.find("Box")}));
}

TEST(Layout, RefusesAParentThatIsNotInTheTable) {
    HostWindow host;
    constexpr ui::ControlDef orphan[] = {
        {"Lost", "STATIC", 1, "Nowhere", 0, 0, 10, 10, "", 0, ui::kNoTab, 0}};
    ui::Layout layout;
    EXPECT_THROW(layout.build(host, orphan, ui::defaultFont(), nullptr), std::logic_error);
}

TEST(Layout, OwnComponentsComeFromTheFactoryAtTheirTablePosition) {
    HostWindow host;
    constexpr ui::ControlDef table[] = {{"Own", nullptr, 21, nullptr, 7, 8, 50, 40, "", 0, 0, 3}};
    ui::Layout layout;
    std::string asked;
    layout.build(host, table, ui::defaultFont(), [&](const ui::ControlDef& entry, HWND parent) {
        asked = entry.name;
        return CreateWindowExA(0, "STATIC", "", WS_CHILD, entry.left, entry.top, entry.width,
                               entry.height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    });
    EXPECT_EQ(asked, "Own");
    HWND own = layout.find("Own");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(rectIn(host, own).left, 7);
    EXPECT_EQ(GetWindowContextHelpId(own), 3u);
}

} // namespace
