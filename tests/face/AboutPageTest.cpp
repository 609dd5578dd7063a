// The About page: its layout, the texts FormShow fills and places, the credits that run
// only once the page has been shown and pause elsewhere, and logo and link opening the
// same address.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/AboutPage.h"
#include "tests/face/GuiTestHelpers.h"
#include "tests/support/Pixels.h"

namespace {

std::vector<std::wstring> g_opened;
HINSTANCE WINAPI recordShell(HWND, LPCWSTR, LPCWSTR file, LPCWSTR, LPCWSTR, INT) {
    g_opened.push_back(file);
    return reinterpret_cast<HINSTANCE>(42);
}

std::wstring textOf(HWND control) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

int count(const std::wstring& text, const std::wstring& part) {
    int n = 0;
    for (size_t at = text.find(part); at != std::wstring::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

class AboutTest : public ::testing::Test {
protected:
    void SetUp() override {
        panel_.create(host_, 1, 12, 8, 321, 269);
        page_.create(panel_);
    }
    void TearDown() override { host_.destroy(); }
    facetest::Host host_{360, 320};
    components::TBitmapPanel panel_;
    app::AboutPage page_;
};

TEST_F(AboutTest, LayoutFollowsThePageDescription) {
    const struct {
        const wchar_t* name;
        RECT bounds;
    } expected[] = {
        {L"Image2", {12, 12, 70, 57}},
        {L"ScrollingCreditsBox1", {88, 8, 309, 125}},
        {L"ASLink2", {88, 218, 88 + page_.link().width(), 218 + page_.link().height()}}};
    for (const auto& e : expected) {
        const RECT r = ui::boundsInParent(page_.item(e.name));
        EXPECT_EQ(e.bounds.left, r.left) << e.name;
        EXPECT_EQ(e.bounds.top, r.top) << e.name;
        EXPECT_EQ(e.bounds.right, r.right) << e.name;
        EXPECT_EQ(e.bounds.bottom, r.bottom) << e.name;
    }
    EXPECT_EQ(88, ui::boundsInParent(page_.item(L"Label21")).left);
    EXPECT_EQ(132, ui::boundsInParent(page_.item(L"Label21")).top);
    EXPECT_EQ(4, ui::boundsInParent(page_.item(L"Label11")).left);
    EXPECT_EQ(250, ui::boundsInParent(page_.item(L"Label11")).top);
    EXPECT_EQ(page_.creditsBox().hwnd(), GetParent(page_.item(L"Label13")));
    auto& box = page_.creditsBox();
    EXPECT_EQ(10, box.CompSpace());
    EXPECT_EQ(1, box.ScrollStep());
    EXPECT_EQ(60, box.TimeDelay());
    EXPECT_FALSE(box.Paused());
    EXPECT_TRUE(box.singleBorder());
    EXPECT_EQ(L"Click here to stop scrolling", box.hint());
    auto& link = page_.link();
    EXPECT_EQ(ui::clNone, link.shadowColor());
    EXPECT_EQ(0, link.shadowSize());
    EXPECT_TRUE(link.transparent());
    EXPECT_FALSE(link.urlTypeAdd());
    EXPECT_TRUE(link.font().lfUnderline);
    EXPECT_EQ(0u, std::wstring(app::kWebAddress).find(L"http://quellmoor.example/"));
    // Everything fits on the page.
    for (const wchar_t* name : {L"Label11", L"ASLink2", L"Label21"}) {
        page_.FormShow();
        EXPECT_LE(ui::boundsInParent(page_.item(name)).right, 321) << name;
    }
}

TEST_F(AboutTest, FormShowFillsTheTextsAndPutsTheLinkBelowTheAddress) {
    page_.FormShow();
    HWND label13 = page_.item(L"Label13");
    const std::wstring credits = textOf(label13);
    EXPECT_EQ(9, count(credits, L"\r\n\r\n")); // ten paragraphs
    EXPECT_NE(L"\n", credits.substr(credits.size() - 1));
    const RECT r13 = ui::boundsInParent(label13);
    EXPECT_EQ(205, r13.right - r13.left);
    EXPECT_GT(r13.bottom - r13.top, 20 * 13); // grown to the wrapped text

    HWND label21 = page_.item(L"Label21");
    EXPECT_EQ(5, count(textOf(label21), L"\r\n")); // six lines
    for (const wchar_t* lines :
         {L"one", L"one\r\ntwo\r\nthree\r\nfour\r\nfive\r\nsix\r\nseven\r\neight",
          L"Quellmoor Software\r\n14 Harrow Lane"}) {
        page_.contactLines = lines;
        page_.FormShow();
        const RECT r21 = ui::boundsInParent(label21);
        EXPECT_EQ((count(lines, L"\r\n") + 1) * 13, r21.bottom - r21.top) << lines;
        EXPECT_EQ(r21.bottom + 3, ui::boundsInParent(page_.item(L"ASLink2")).top) << lines;
        EXPECT_EQ(r21.bottom + 3, page_.link().top()) << lines;
    }
}

TEST_F(AboutTest, CreditsRunOnlyOnceShownAndPauseElsewhere) {
    page_.FormShow();
    auto& box = page_.creditsBox();
    HWND label13 = page_.item(L"Label13");
    page_.pageChanged(false); // the first showing, on "Control"
    facetest::pump(300);
    EXPECT_FALSE(box.Started());
    EXPECT_EQ(0, ui::boundsInParent(label13).top);

    page_.pageChanged(true);
    EXPECT_TRUE(box.Started());
    EXPECT_FALSE(box.Paused());
    const int startTop = ui::boundsInParent(label13).top;
    EXPECT_EQ(117, startTop); // laid out just below the box
    EXPECT_TRUE(facetest::pumpUntil([&] { return ui::boundsInParent(label13).top < startTop; }));

    page_.pageChanged(false);
    EXPECT_TRUE(box.Paused());
    const int stoppedAt = ui::boundsInParent(label13).top;
    facetest::pump(300);
    EXPECT_EQ(stoppedAt, ui::boundsInParent(label13).top);

    page_.pageChanged(true); // resumes from there, not laid out again
    EXPECT_EQ(stoppedAt, ui::boundsInParent(label13).top);
    EXPECT_TRUE(facetest::pumpUntil([&] { return ui::boundsInParent(label13).top < stoppedAt; }));
}

TEST_F(AboutTest, LogoAndLinkOpenTheSameAddress) {
    auto previous = components::setShellExecute(&recordShell);
    g_opened.clear();
    HWND logo = page_.item(L"Image2");
    SendMessageW(logo, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    HWND link = page_.item(L"ASLink2");
    SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    // A double click on the logo opens once; a drag released over it opens nothing.
    SendMessageW(logo, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 20));
    SendMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    SendMessageW(logo, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    components::setShellExecute(previous);
    ASSERT_EQ(2u, g_opened.size());
    EXPECT_EQ(app::kWebAddress, g_opened[0]);
    EXPECT_EQ(g_opened[0], g_opened[1]);
    EXPECT_EQ((HCURSOR)GetClassLongPtrW(logo, GCLP_HCURSOR), LoadCursorW(nullptr, IDC_HAND));
}

TEST_F(AboutTest, TheLinkIsATabStopThatShowsItsFocusAndOpensOnEnter) {
    page_.FormShow();
    HWND link = page_.item(L"ASLink2");
    EXPECT_TRUE(GetWindowLongW(link, GWL_STYLE) & WS_TABSTOP);
    RECT r{};
    GetClientRect(link, &r);
    const auto bottomRow = [&] {
        testpixels::Canvas canvas(r.right, r.bottom);
        canvas.fill(RGB(1, 2, 3));
        SendMessageW(link, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
        std::vector<COLORREF> row;
        for (int x = 0; x < r.right; ++x)
            row.push_back(canvas.at(x, r.bottom - 1));
        return row;
    };
    SetFocus(host_);
    const auto plain = bottomRow();
    SetFocus(link);
    EXPECT_NE(bottomRow(), plain) << "a dotted rectangle around the link";
    SetFocus(host_);
    EXPECT_EQ(bottomRow(), plain);

    // Enter is the link's own key: the window's default button does not get it.
    MSG enter{link, WM_KEYDOWN, VK_RETURN, 1, 0, {}};
    EXPECT_TRUE(SendMessageW(link, WM_GETDLGCODE, VK_RETURN, reinterpret_cast<LPARAM>(&enter)) &
                DLGC_WANTMESSAGE);
    auto previous = components::setShellExecute(&recordShell);
    g_opened.clear();
    SendMessageW(link, WM_KEYDOWN, VK_RETURN, 1);
    components::setShellExecute(previous);
    EXPECT_EQ(g_opened, std::vector<std::wstring>{app::kWebAddress});
}

TEST_F(AboutTest, TheLogoLetsTheTilesShowThroughItsKeyColour) {
    testpixels::Canvas canvas(58, 45);
    canvas.fill(RGB(1, 2, 3));
    SendMessageW(page_.item(L"Image2"), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()),
                 PRF_CLIENT);
    // The corner is key colour in the picture: whatever shows there is the page, not magenta.
    EXPECT_NE(RGB(255, 0, 255), canvas.at(0, 44));
    EXPECT_NE(RGB(1, 2, 3), canvas.at(0, 44));
    EXPECT_NE(RGB(255, 0, 255), canvas.at(57, 0));
}

} // namespace
