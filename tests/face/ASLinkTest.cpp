// The hyperlink label: what reaches the shell, how it measures and draws (pixels of a
// memory DC), its hover colour, layouts, and its accelerator and focus control.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/ASLink.h"
#include "tests/face/GuiTestHelpers.h"
#include "tests/support/Pixels.h"

using namespace components;

namespace {

struct ShellCall {
    HWND owner;
    bool verbNull;
    std::wstring file, params, directory;
    bool paramsNull, directoryNull;
    int show;
};
std::vector<ShellCall> g_calls;
INT_PTR g_shellAnswer = 42;

HINSTANCE WINAPI fakeShell(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR params, LPCWSTR dir,
                           INT show) {
    g_calls.push_back({owner, verb == nullptr, file ? file : L"", params ? params : L"",
                       dir ? dir : L"", params == nullptr, dir == nullptr, show});
    return reinterpret_cast<HINSTANCE>(g_shellAnswer);
}

class LinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        g_calls.clear();
        g_shellAnswer = 42;
        previous_ = setShellExecute(&fakeShell);
    }
    void TearDown() override { setShellExecute(previous_); }
    ShellExecuteFn previous_ = nullptr;
};

SIZE textExtent(const TASLink& link, const std::wstring& text) {
    HDC screen = GetDC(nullptr);
    HFONT font = CreateFontIndirectW(&link.font());
    HGDIOBJ old = SelectObject(screen, font);
    SIZE size{};
    GetTextExtentPoint32W(screen, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(screen, old);
    DeleteObject(font);
    ReleaseDC(nullptr, screen);
    return size;
}

// Pixel checks need exact colours: no smoothed glyph edges.
void useCrispFont(TASLink& link) {
    LOGFONTW font = link.font();
    font.lfQuality = NONANTIALIASED_QUALITY;
    link.setFont(font);
}

// Renders an opaque link (background `back`, text `ink`, shadow `shadow`) into a canvas.
void render(TASLink& link, testpixels::Canvas& canvas, COLORREF back, COLORREF ink,
            COLORREF shadow) {
    link.setTransparent(false);
    link.setColor(back);
    link.setFontColor(ink);
    link.setShadowColor(shadow);
    canvas.fill(RGB(1, 2, 3));
    link.paint(canvas.dc());
}

DWORD WINAPI windows3() {
    return 3;
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kRed = RGB(255, 0, 0);

TEST_F(LinkTest, NewLinkDefaultsAndClickOpensMailto) {
    TASLink link;
    EXPECT_EQ(65, link.width());
    EXPECT_EQ(17, link.height());
    EXPECT_TRUE(link.transparent());
    EXPECT_TRUE(link.autoSize());
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649)), link.cursor()); // IDC_HAND
    EXPECT_EQ(TAlignment::taLeftJustify, link.alignment());
    EXPECT_EQ(tlTop, link.layout());
    EXPECT_EQ(ui::clBtnHighlight, link.shadowColor());
    EXPECT_EQ(1, link.shadowSize());
    EXPECT_EQ(spLeftTop, link.shadowPos());
    EXPECT_TRUE(link.showAccelChar());
    EXPECT_FALSE(link.showFocus());
    EXPECT_TRUE(link.urlEnabled());
    EXPECT_EQ(utMailto, link.urlType());
    EXPECT_TRUE(link.urlTypeAdd());
    EXPECT_EQ(ui::clBlue, link.linkColor());
    EXPECT_EQ(link.fontColor(), link.savedFontColor());

    facetest::Host host;
    link.create(host, 5, 6);
    link.setCaption(L"sales@quellmoor.example");
    // A click anywhere on it opens the link.
    SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(link.width() - 2, 1));
    SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(link.width() - 2, 1));
    ASSERT_EQ(1u, g_calls.size());
    EXPECT_EQ(L"mailto:sales@quellmoor.example", g_calls[0].file);
    EXPECT_TRUE(g_calls[0].verbNull);
    EXPECT_EQ(SW_SHOWNOACTIVATE, g_calls[0].show);
    // Empty texts go as empty strings, not as null pointers.
    EXPECT_FALSE(g_calls[0].paramsNull);
    EXPECT_FALSE(g_calls[0].directoryNull);
    EXPECT_EQ(L"", g_calls[0].params);
    EXPECT_EQ(host, g_calls[0].owner);

    // A double click is one click: its second press arrives as a double-click message.
    g_calls.clear();
    const LPARAM at = MAKELPARAM(3, 3);
    SendMessageW(link.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, at);
    SendMessageW(link.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(1u, g_calls.size());
    // A button pressed elsewhere and released over the link is no click on it.
    g_calls.clear();
    SendMessageW(link.hwnd(), WM_LBUTTONUP, 0, at);
    EXPECT_EQ(0u, g_calls.size());
    host.destroy();
}

TEST_F(LinkTest, PrefixingFollowsURLTypeAddAndLongTextsPassWhole) {
    TASLink link;
    link.setCaption(L"http://www.quellmoor.example/");
    link.setURLTypeAdd(false);
    EXPECT_TRUE(link.OpenURL());
    link.setURLTypeAdd(true);
    link.setURLType(utHttp);
    EXPECT_TRUE(link.OpenURL());
    ASSERT_EQ(2u, g_calls.size());
    EXPECT_EQ(L"http://www.quellmoor.example/", g_calls[0].file);
    EXPECT_EQ(L"http://http://www.quellmoor.example/", g_calls[1].file);

    const std::wstring longPath(150, L'a');
    link.setURLType(utHttps);
    link.setCaption(L"www.quellmoor.example/" + longPath);
    EXPECT_TRUE(link.OpenURL());
    EXPECT_EQ(L"https://www.quellmoor.example/" + longPath, g_calls.back().file);

    const wchar_t* expected[] = {L"file://", L"ftp://", L"gopher://", L"http://", L"https://",
                                 L"mailto:", L"news:",  L"telnet:",   L"wais:"};
    for (int t = utFile; t <= utWais; ++t)
        EXPECT_STREQ(expected[t], urlPrefix(static_cast<TURLType>(t)));
}

TEST_F(LinkTest, OpenURLFailsWithoutCallingTheShellOrWhenTheShellFails) {
    TASLink link;
    EXPECT_FALSE(link.OpenURL()); // empty caption
    link.setCaption(L"x");
    link.setURLEnabled(false);
    EXPECT_FALSE(link.OpenURL());
    EXPECT_TRUE(g_calls.empty());
    link.setURLEnabled(true);
    g_shellAnswer = 32;
    EXPECT_FALSE(link.OpenURL());
    g_shellAnswer = 33;
    EXPECT_TRUE(link.OpenURL());
}

TEST_F(LinkTest, MeasuredSizesOfEmptyAmpersandAndShadowedCaptions) {
    TASLink link;
    link.setShadowSize(0);
    link.setCaption(L"x");
    link.setCaption(L"");
    const SIZE space = textExtent(link, L" ");
    EXPECT_EQ(space.cx + 2, link.width());
    EXPECT_EQ(space.cy, link.height());
    link.setShadowSize(1);
    EXPECT_EQ(space.cx + 3, link.width());
    EXPECT_EQ(space.cy + 1, link.height());

    // "&" alone measures as "& ", which draws as an underlined space.
    link.setCaption(L"&");
    EXPECT_EQ(space.cx + 3, link.width());
    link.setShowAccelChar(false);
    link.FitToText();
    EXPECT_EQ(textExtent(link, L"&").cx + 3, link.width());

    link.setShowAccelChar(true);
    link.setCaption(L"Quellmoor");
    link.setShadowSize(0);
    const int w0 = link.width(), h0 = link.height();
    EXPECT_EQ(textExtent(link, L"Quellmoor").cx + 2, w0);
    link.setShadowPos(spRightBottom);
    link.setShadowSize(2);
    EXPECT_EQ(w0 + 2, link.width());
    EXPECT_EQ(h0 + 2, link.height());
}

TEST_F(LinkTest, RightAlignedAutoSizeKeepsTheRightEdge) {
    TASLink link;
    link.setAlignment(TAlignment::taRightJustify);
    link.setBounds(100, 10, 65, 17);
    link.setCaption(L"short");
    const int right = link.left() + link.width();
    link.setCaption(L"a much longer caption");
    EXPECT_EQ(right, link.left() + link.width());
    EXPECT_GT(link.width(), textExtent(link, L"short").cx);
    link.setCaption(L"s");
    EXPECT_EQ(right, link.left() + link.width());
    link.setAlignment(TAlignment::taLeftJustify);
    const int left = link.left();
    link.setCaption(L"grows to the right");
    EXPECT_EQ(left, link.left());
}

TEST_F(LinkTest, ShadowPlacementForEveryPosition) {
    struct Case {
        TShadowPosition pos;
        int shadowDx, shadowDy; // where the shadow shows relative to the text
    } cases[] = {
        {spLeftTop, -3, -3}, {spLeftBottom, -3, 3}, {spRightBottom, 3, 3}, {spRightTop, 3, -3}};
    for (const Case& c : cases) {
        TASLink link;
        useCrispFont(link);
        link.setCaption(L"HIH");
        link.setShadowPos(c.pos);
        link.setShadowSize(3);
        testpixels::Canvas canvas(link.width(), link.height());
        render(link, canvas, kWhite, kBlack, kRed);
        const RECT text = canvas.boxOf(kBlack);
        const RECT shadow = canvas.boxOf(kRed);
        ASSERT_LE(text.left, text.right) << c.pos;
        ASSERT_LE(shadow.left, shadow.right) << c.pos;
        // Compare the edges the text cannot cover.
        if (c.shadowDx < 0)
            EXPECT_EQ(text.left + c.shadowDx, shadow.left) << c.pos;
        else
            EXPECT_EQ(text.right + c.shadowDx, shadow.right) << c.pos;
        if (c.shadowDy < 0)
            EXPECT_EQ(text.top + c.shadowDy, shadow.top) << c.pos;
        else
            EXPECT_EQ(text.bottom + c.shadowDy, shadow.bottom) << c.pos;
        // The whole block stays inside the auto-sized control.
        EXPECT_GE(std::min(text.left, shadow.left), 1) << c.pos;
        EXPECT_GE(std::min(text.top, shadow.top), 0) << c.pos;
    }
}

TEST_F(LinkTest, DisabledLookIsGreyWithAHighlightShadowAndLeavesTheFontAlone) {
    TASLink link;
    useCrispFont(link);
    link.setCaption(L"HIH");
    link.setShadowSize(0);
    link.setEnabled(false);
    link.setAutoSize(false);
    link.setBounds(0, 0, 40, 20);
    testpixels::Canvas canvas(40, 20);
    render(link, canvas, kBlack, RGB(0, 0, 200), kRed);
    const COLORREF grey = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    ASSERT_NE(grey, light);
    const RECT text = canvas.boxOf(grey);
    const RECT shadow = canvas.boxOf(light);
    ASSERT_LE(text.left, text.right);
    // Windows 4 and later (Wine says 6): one pixel to the lower right.
    ASSERT_GE(LOBYTE(LOWORD(GetVersion())), 4);
    ASSERT_LE(shadow.left, shadow.right);
    EXPECT_EQ(text.right + 1, shadow.right);
    EXPECT_EQ(text.bottom + 1, shadow.bottom);
    EXPECT_GT(canvas.boxOf(kRed).left, canvas.boxOf(kRed).right); // configured shadow colour unused
    EXPECT_EQ(static_cast<ui::Color>(RGB(0, 0, 200)), link.fontColor());
    EXPECT_EQ(0, link.shadowSize());

    // Before Windows 4 the shadow keeps its size 0 and lies hidden under the grey text.
    const auto previous = setGetVersion(&windows3);
    render(link, canvas, kBlack, RGB(0, 0, 200), kRed);
    setGetVersion(previous);
    EXPECT_EQ(text.right, canvas.boxOf(grey).right);
    EXPECT_GT(canvas.boxOf(light).left, canvas.boxOf(light).right); // no highlight shows
}

TEST_F(LinkTest, LayoutsPlaceTheMeasuredBlock) {
    auto topOfText = [](TTextLayout layout, int height, int& measured) {
        TASLink link;
        useCrispFont(link);
        link.setCaption(L"HIH");
        link.setShadowSize(0);
        measured = link.height();
        link.setAutoSize(false);
        link.setBounds(0, 0, link.width(), height);
        link.setLayout(layout);
        testpixels::Canvas canvas(link.width(), height);
        render(link, canvas, kWhite, kBlack, kRed);
        return canvas.boxOf(kBlack).top;
    };
    int measured = 0;
    const int top = topOfText(tlTop, 20, measured);
    ASSERT_LT(measured, 20);
    EXPECT_EQ(top + (20 - measured) / 2, topOfText(tlCenter, 20, measured));
    EXPECT_EQ(top + (40 - measured), topOfText(tlBottom, 40, measured));
    if (measured == 13) {
        EXPECT_EQ(top + 3, topOfText(tlCenter, 20, measured));
    }
}

TEST_F(LinkTest, TransparentShowsTheParentOpaqueFillsWithColor) {
    facetest::Host host(200, 100, RGB(0, 128, 0));
    TASLink link;
    link.setCaption(L"x");
    link.create(host, 20, 20);
    testpixels::Canvas canvas(link.width(), link.height());
    canvas.fill(RGB(1, 2, 3));
    SendMessageW(link.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(RGB(0, 128, 0), canvas.at(link.width() - 1, link.height() - 1));
    link.setTransparent(false);
    link.setColor(RGB(0, 0, 255));
    SendMessageW(link.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    EXPECT_EQ(RGB(0, 0, 255), canvas.at(link.width() - 1, link.height() - 1));
    host.destroy();
}

TEST_F(LinkTest, HoverShowsLinkColorAndRestoresTheFontColor) {
    TASLink link;
    link.setFontColor(RGB(10, 20, 30));
    link.mouseEnter();
    EXPECT_EQ(ui::clBlue, link.fontColor());
    EXPECT_EQ(static_cast<ui::Color>(RGB(10, 20, 30)), link.savedFontColor());
    link.mouseLeave();
    EXPECT_EQ(static_cast<ui::Color>(RGB(10, 20, 30)), link.fontColor());

    facetest::Host host;
    link.create(host, 0, 0);
    SendMessageW(link.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    SendMessageW(link.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 2)); // still inside: no new save
    EXPECT_EQ(ui::clBlue, link.fontColor());
    SendMessageW(link.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(static_cast<ui::Color>(RGB(10, 20, 30)), link.fontColor());
    host.destroy();
}

TEST_F(LinkTest, AcceleratorFocusesTheFocusControlWhichNeverDangles) {
    facetest::Host host;
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 60, 80, 20,
                                host, nullptr, GetModuleHandleW(nullptr), nullptr);
    HWND other = CreateWindowExW(0, L"BUTTON", L"o", WS_CHILD | WS_VISIBLE, 100, 60, 40, 20, host,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
    TASLink link;
    link.create(host, 10, 10);
    link.setCaption(L"&Name");
    link.setShowFocus(true);
    SetFocus(other);
    EXPECT_FALSE(link.acceleratorChar(L'n')); // no focus control yet
    link.setFocusControl(edit);
    EXPECT_FALSE(link.acceleratorChar(L'x'));
    EXPECT_TRUE(TASLink::routeAccelerator(host, L'n')); // any letter case
    EXPECT_EQ(edit, GetFocus());
    EXPECT_TRUE(link.hasFocus());
    // ShowFocus marks the link while its focus control holds the focus.
    auto edgePixels = [&link] {
        testpixels::Canvas canvas(link.width(), link.height());
        link.setTransparent(false);
        link.setColor(kWhite);
        link.paint(canvas.dc());
        int marked = 0;
        for (int x = 0; x < link.width(); ++x)
            marked += canvas.at(x, link.height() - 1) != kWhite;
        return marked;
    };
    EXPECT_GT(edgePixels(), 0);
    SetFocus(other);
    EXPECT_FALSE(link.hasFocus());
    EXPECT_EQ(0, edgePixels());

    link.setShowAccelChar(false);
    EXPECT_FALSE(link.acceleratorChar(L'N'));
    link.setShowAccelChar(true);
    link.setEnabled(false);
    EXPECT_FALSE(link.acceleratorChar(L'N'));
    link.setEnabled(true);
    EnableWindow(edit, FALSE);
    EXPECT_FALSE(link.acceleratorChar(L'N')); // cannot take the focus
    EnableWindow(edit, TRUE);

    TASLink second; // a second link on the same control
    second.setCaption(L"&Edit");
    second.setFocusControl(edit);
    DestroyWindow(edit);
    EXPECT_EQ(nullptr, link.focusControl());
    EXPECT_EQ(nullptr, second.focusControl());
    EXPECT_FALSE(link.acceleratorChar(L'N'));
    host.destroy();
}

TEST_F(LinkTest, OnClickRunsBeforeTheLinkOpens) {
    TASLink link;
    link.setCaption(L"a@b.example");
    struct Seen {
        std::size_t callsAtClick = 99;
    } seen;
    link.setOnClick(
        [](void* ctx, TASLink&) { static_cast<Seen*>(ctx)->callsAtClick = g_calls.size(); }, &seen);
    link.click();
    EXPECT_EQ(0u, seen.callsAtClick);
    EXPECT_EQ(1u, g_calls.size());
}

} // namespace
