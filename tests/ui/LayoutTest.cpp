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
    {L"Box",    L"STATIC", 10, nullptr, 5,  6,   200, 150, L"",       0,                          1, 9},
    {L"Second", L"BUTTON", 11, nullptr, 5,  200, 60,  20,  L"Second", BS_PUSHBUTTON | WS_TABSTOP, 0, 0},
    {L"Label",  L"STATIC", 12, L"Box",  3,  4,   ui::kFitText, 13, L"Some words", SS_LEFT, ui::kNoTab, 0},
    {L"Third",  L"BUTTON", 13, L"Box",  10, 40,  60,  20,  L"Third",  BS_PUSHBUTTON | WS_TABSTOP, 2, 4},
    {L"First",  L"BUTTON", 14, L"Box",  10, 70,  60,  20,  L"First",  BS_PUSHBUTTON | WS_TABSTOP, 0, 0},
    {L"Off",    L"BUTTON", 15, L"Box",  10, 100, 60,  20,  L"Off",    BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED, 1, 0},
};
// clang-format on

TEST(Layout, PlacesEveryControlWithFontAndHelpTopic) {
    HostWindow host;
    ui::Layout layout;
    layout.build(host, kTable, ui::defaultFont(), nullptr);

    HWND box = layout.find(L"Box");
    HWND third = layout.find(L"Third");
    ASSERT_TRUE(box && third);
    EXPECT_EQ(GetParent(third), box);
    const RECT r = rectIn(box, third);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(r.right - r.left, 60);
    EXPECT_EQ(r.bottom - r.top, 20);
    EXPECT_EQ(GetDlgCtrlID(third), 13);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(third, WM_GETFONT, 0, 0)), ui::defaultFont());
    EXPECT_EQ(GetWindowContextHelpId(third), 4u);
    EXPECT_EQ(GetWindowContextHelpId(box), 9u);
    EXPECT_EQ(GetWindowContextHelpId(layout.find(L"First")), 0u);
    EXPECT_FALSE(IsWindowEnabled(layout.find(L"Off")));
    EXPECT_EQ(layout.find(L"Nothing"), nullptr);

    // A fitted label is as wide as its text in the layout's font.
    const RECT label = rectIn(box, layout.find(L"Label"));
    EXPECT_EQ(label.right - label.left, ui::textWidth(ui::defaultFont(), L"Some words"));
    EXPECT_GT(label.right - label.left, 20);
}

TEST(Layout, ZOrderFollowsTabOrderSoNavigationDoes) {
    HostWindow host;
    ui::Layout layout;
    layout.build(host, kTable, ui::defaultFont(), nullptr);

    std::vector<HWND> children;
    for (HWND w = GetWindow(layout.find(L"Box"), GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        children.push_back(w);
    const std::vector<HWND> expected{layout.find(L"First"), layout.find(L"Off"),
                                     layout.find(L"Third"), layout.find(L"Label")};
    EXPECT_EQ(children, expected);

    std::vector<HWND> top;
    for (HWND w = GetWindow(host, GW_CHILD); w; w = GetWindow(w, GW_HWNDNEXT))
        top.push_back(w);
    EXPECT_EQ(top, (std::vector<HWND>{layout.find(L"Second"), layout.find(L"Box")}));
}

TEST(Layout, RefusesAParentThatIsNotInTheTable) {
    HostWindow host;
    constexpr ui::ControlDef orphan[] = {
        {L"Lost", L"STATIC", 1, L"Nowhere", 0, 0, 10, 10, L"", 0, ui::kNoTab, 0}};
    ui::Layout layout;
    EXPECT_THROW(layout.build(host, orphan, ui::defaultFont(), nullptr), std::logic_error);
}

TEST(Layout, OwnComponentsComeFromTheFactoryAtTheirTablePosition) {
    HostWindow host;
    constexpr ui::ControlDef table[] = {{L"Own", nullptr, 21, nullptr, 7, 8, 50, 40, L"", 0, 0, 3}};
    ui::Layout layout;
    std::wstring asked;
    layout.build(host, table, ui::defaultFont(), [&](const ui::ControlDef& entry, HWND parent) {
        asked = entry.name;
        return CreateWindowExW(0, L"STATIC", L"", WS_CHILD, entry.left, entry.top, entry.width,
                               entry.height, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    });
    EXPECT_EQ(asked, L"Own");
    HWND own = layout.find(L"Own");
    ASSERT_NE(own, nullptr);
    EXPECT_EQ(rectIn(host, own).left, 7);
    EXPECT_EQ(GetWindowContextHelpId(own), 3u);
}

} // namespace

namespace {

TEST(Layout, BuildsAtTheWindowsDpiAndLaysOutAgainWhenItChanges) {
    HostWindow host;
    ui::Layout layout;
    layout.build(host, kTable, ui::defaultFont(144), nullptr, 144);
    HWND box = layout.find(L"Box");
    HWND third = layout.find(L"Third");
    // Edges scale, not sizes: 10 + 60 = 70 becomes 105, so the width is 105 - 15.
    EXPECT_EQ(rectIn(box, third).left, 15);
    EXPECT_EQ(rectIn(box, third).top, 60);
    EXPECT_EQ(rectIn(box, third).right, 105);
    EXPECT_EQ(rectIn(box, third).bottom, 90);
    EXPECT_EQ(rectIn(host, box).right, 308); // (5 + 200) * 1.5, rounded
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(third, WM_GETFONT, 0, 0)), ui::defaultFont(144));
    LOGFONTW font{};
    GetObjectW(ui::defaultFont(144), sizeof font, &font);
    EXPECT_LE(font.lfHeight, -16);
    const RECT label = rectIn(box, layout.find(L"Label"));
    EXPECT_EQ(label.right - label.left, ui::textWidth(ui::defaultFont(144), L"Some words"));

    layout.applyDpi(96, ui::defaultFont());
    EXPECT_EQ(rectIn(box, third).left, 10);
    EXPECT_EQ(rectIn(box, third).right, 70);
    EXPECT_EQ(rectIn(host, box).right, 205);
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(third, WM_GETFONT, 0, 0)), ui::defaultFont());
    const RECT label96 = rectIn(box, layout.find(L"Label"));
    EXPECT_EQ(label96.right - label96.left, ui::textWidth(ui::defaultFont(), L"Some words"));
}

} // namespace
