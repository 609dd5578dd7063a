// Text on the About page stands out from what lies beneath it, in the standard scheme and
// in a dark one, with and without high contrast, measured in rendered pixels. Wine cannot
// turn high contrast on, so a seam reports it; it reads HKCU\Control Panel\Colors when a
// program starts, so the dark scheme is checked in a new run of this program.
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "tests/e2e/Driver.h"
#include "tests/support/Pixels.h"
#include "tests/support/TestSupport.h"
#include "ui/ColorScheme.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

bool g_highContrast = false;
bool reportHighContrast() {
    return g_highContrast;
}

bool inDarkSchemeRun() {
    return testsupport::argumentEndingWith(L"--dark-scheme") == L"--dark-scheme";
}

// Text drawn by a control over its parent: the colour most of its pixels take, and the
// lowest contrast of that colour with the parent's pixels beneath them.
struct Text {
    COLORREF ink = 0;
    double contrast = 0;
    int pixels = 0;
};

Text textOf(HWND control) {
    HWND parent = GetParent(control);
    RECT page{};
    GetClientRect(parent, &page);
    testpixels::Canvas beneath(page.right, page.bottom);
    beneath.render(parent);
    const RECT at = ui::boundsInParent(control);
    testpixels::Canvas drawn(at.right - at.left, at.bottom - at.top);
    drawn.render(control);

    std::map<COLORREF, int> inks;
    for (int y = 0; y < at.bottom - at.top; ++y)
        for (int x = 0; x < at.right - at.left; ++x)
            if (drawn.at(x, y) != beneath.at(at.left + x, at.top + y))
                ++inks[drawn.at(x, y)];
    Text text;
    for (const auto& [colour, count] : inks) {
        text.pixels += count;
        if (count > inks[text.ink])
            text.ink = colour;
    }
    text.contrast = 21;
    for (int y = 0; y < at.bottom - at.top; ++y)
        for (int x = 0; x < at.right - at.left; ++x)
            if (drawn.at(x, y) == text.ink)
                text.contrast = std::min(
                    text.contrast,
                    testpixels::contrastRatio(text.ink, beneath.at(at.left + x, at.top + y)));
    return text;
}

// Readable body text: WCAG's level AA.
constexpr double kReadable = 4.5;

struct AboutPageText : ::testing::Test {
    app::TSettingsFrm form;
    HWND window = nullptr;
    ui::HighContrastQuery previous = nullptr;
    void SetUp() override {
        previous = ui::setHighContrastQuery(&reportHighContrast);
        g_highContrast = false;
        form.create({L"nothing"});
        window = form.hwnd();
        form.show();
    }
    void TearDown() override { ui::setHighContrastQuery(previous); }
    HWND control(int id) { return e2e::findControl(window, id); }
};

TEST_F(AboutPageText, StandsOutWithAndWithoutHighContrast) {
    if (inDarkSchemeRun()) { // the scheme the registry was given took
        ASSERT_EQ(GetSysColor(COLOR_WINDOW), RGB(0, 0, 0));
    }
    // Over the light tiles, in the program's own dark ink, whatever the scheme.
    for (int id : {app::idASLink2, app::idLabel21, app::idLabel11}) {
        const Text text = textOf(control(id));
        EXPECT_GT(text.pixels, 50) << id;
        EXPECT_GE(text.contrast, kReadable) << id;
    }

    // High contrast: no tiles; the system's surface, text and link colours.
    g_highContrast = true;
    SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    testpixels::Canvas page(40, 40);
    page.render(control(app::idBitmapPanel4));
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(page.at(i, (i * 7) % 40), GetSysColor(COLOR_BTNFACE)) << i;
    const Text link = textOf(control(app::idASLink2));
    EXPECT_EQ(link.ink, GetSysColor(COLOR_HOTLIGHT));
    const Text address = textOf(control(app::idLabel21));
    EXPECT_EQ(address.ink, GetSysColor(COLOR_BTNTEXT));
    // A scheme made for reading, as high contrast comes with, gives readable text.
    if (inDarkSchemeRun()) {
        EXPECT_GE(link.contrast, kReadable);
        EXPECT_GE(address.contrast, kReadable);
    }

    // And back, when the system says its colours changed.
    g_highContrast = false;
    SendMessageW(window, WM_SYSCOLORCHANGE, 0, 0);
    EXPECT_EQ(textOf(control(app::idASLink2)).ink, ui::resolve(ui::clLinkOnPicture));
}

TEST(DarkScheme, TheAboutPageTextStandsOutInIt) {
    if (inDarkSchemeRun())
        GTEST_SKIP() << "this is the run it starts";
    testsupport::RegistryGuard colours(L"Control Panel\\Colors");
    // White on black with a yellow link, as Windows' "High Contrast Black".
    for (const auto& [name, value] : {std::pair{L"Window", L"0 0 0"},
                                      {L"WindowText", L"255 255 255"},
                                      {L"ButtonFace", L"0 0 0"},
                                      {L"ButtonText", L"255 255 255"},
                                      {L"HotTrackingColor", L"255 255 0"},
                                      {L"GrayText", L"0 255 0"}})
        testsupport::setText(L"Control Panel\\Colors", name, value);
    EXPECT_EQ(testsupport::runThisProgramAgain(L"--gtest_filter=AboutPageText.* --dark-scheme"), 0);
}

} // namespace
