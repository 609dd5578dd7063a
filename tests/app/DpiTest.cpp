// The windows at 96, 120, 144 and 192 DPI: every text fits its control, every check box
// shows its whole box, the message's icon and text stay apart, the lists show as many rows
// and the pictures grow with the rest. Wine takes the DPI from HKCU\Control Panel\Desktop
// "LogPixels" when a program starts, so the checks run again in a new process for each DPI.
// And a window told of a new DPI lays itself out again.
#include "app/MessageDialog.h"
#include "app/RemoveShortcuts.h"
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "app/SettingsLayout.h"
#include "app/Splash.h"
#include "components/ASLink.h"
#include "tests/app/AnswerFromTimer.h"
#include "tests/e2e/Driver.h"
#include "tests/face/GuiTestHelpers.h"
#include "tests/support/TestSupport.h"
#include "ui/Dpi.h"
#include "ui/Gdi.h"
#include "ui/Picture.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <shellapi.h>

#include <cwchar>
#include <string>
#include <vector>

namespace {

// The DPI this run was started at: --dpi=N, else 96.
UINT expectedDpi() {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    UINT dpi = 96;
    for (int i = 1; args && i < count; ++i)
        if (std::wcsncmp(args[i], L"--dpi=", 6) == 0)
            dpi = static_cast<UINT>(std::wcstoul(args[i] + 6, nullptr, 10));
    LocalFree(args);
    return dpi;
}

std::wstring className(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, static_cast<int>(std::size(name)));
    return name;
}

SIZE clientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// What DrawText measures for `text` in `font` with `flags`, wrapped at `width` when the
// flags ask for it.
SIZE measure(HFONT font, const std::wstring& text, UINT flags, int width = 0) {
    ui::WindowDC screen(nullptr);
    ui::Selected select(screen.get(), font);
    RECT r{0, 0, width, 0};
    DrawTextW(screen.get(), text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    return {r.right, r.bottom};
}

HFONT fontOf(HWND control) {
    return reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
}

// The box a check box draws: the size the system gives it at this DPI.
int checkGlyph(UINT dpi) {
    return ui::systemMetric(SM_CXMENUCHECK, dpi);
}

BOOL CALLBACK collect(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

// Labels, push buttons and check boxes among the descendants of `root`: each text fits
// its control as the control draws it, each check box has room for its whole box.
void expectEveryControlFits(HWND root, UINT dpi) {
    std::vector<HWND> controls;
    EnumChildWindows(root, &collect, reinterpret_cast<LPARAM>(&controls));
    int checked = 0;
    for (HWND control : controls) {
        const std::wstring text = e2e::windowText(control);
        const LONG style = GetWindowLongW(control, GWL_STYLE);
        const SIZE room = clientSize(control);
        const std::wstring cls = className(control);
        if (cls == L"Button" || cls == L"BUTTON") {
            const LONG type = style & BS_TYPEMASK;
            if (type == BS_CHECKBOX || type == BS_AUTOCHECKBOX) {
                EXPECT_GE(room.cx, checkGlyph(dpi)) << GetDlgCtrlID(control);
                EXPECT_GE(room.cy, checkGlyph(dpi)) << GetDlgCtrlID(control);
                ++checked;
            } else if (!text.empty()) {
                const SIZE need = measure(fontOf(control), text, DT_SINGLELINE);
                EXPECT_LE(need.cx, room.cx) << text;
                EXPECT_LE(need.cy, room.cy) << text;
                ++checked;
            }
        } else if ((cls == L"Static" || cls == L"STATIC") && !text.empty() &&
                   (style & SS_TYPEMASK) == SS_LEFT) {
            const SIZE need = measure(
                fontOf(control), text,
                DT_WORDBREAK | DT_EXPANDTABS | ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0), room.cx);
            EXPECT_LE(need.cx, room.cx) << text;
            EXPECT_LE(need.cy, room.cy) << text;
            ++checked;
        } else if (auto* link =
                       dynamic_cast<components::TASLink*>(ui::Window::fromHandle(control))) {
            const ui::Font font(CreateFontIndirectW(&link->font()));
            const SIZE need = measure(font.get(), text, DT_SINGLELINE);
            EXPECT_LE(need.cx, room.cx) << text;
            EXPECT_LE(need.cy, room.cy) << text;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

// Rows of `list` that show whole, below its horizontal scroll bar if it has one.
int wholeRows(HWND list) {
    const int row = static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
    return row > 0 ? clientSize(list).cy / row : 0;
}

void expectRowsFitTheFont(HWND list) {
    ui::WindowDC dc(list);
    ui::Selected select(dc.get(), fontOf(list));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    EXPECT_GE(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), metrics.tmHeight);
}

struct AtThisDpi : ::testing::Test {
    const UINT dpi = expectedDpi();
};

TEST_F(AtThisDpi, TheMainWindowsTextsFitAndItsPicturesGrow) {
    app::TSettingsFrm form;
    form.create({L"nothing"});
    HWND window = form.hwnd();
    ASSERT_EQ(ui::dpiOf(window), dpi) << "the prefix did not start this run at that DPI";
    form.show();
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, ui::scale(app::kClientWidth, dpi));
    EXPECT_EQ(client.bottom, ui::scale(app::kClientHeight, dpi));
    expectEveryControlFits(window, dpi);
    expectRowsFitTheFont(e2e::findControl(window, app::idUserDirs));

    // The tab captions sit above the pages, not under them.
    HWND tabs = e2e::findControl(window, app::idOptionsPage);
    RECT tab{}, page{};
    SendMessageW(tabs, TCM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&tab));
    MapWindowPoints(tabs, nullptr, reinterpret_cast<POINT*>(&tab), 2);
    GetWindowRect(e2e::findControl(window, app::idBitmapPanel1), &page);
    EXPECT_LE(tab.bottom, page.top);
    EXPECT_GE(tab.bottom - tab.top, measure(fontOf(tabs), L"Control", DT_SINGLELINE).cy);

    // The banner fills its frame at this DPI.
    HWND image = e2e::findControl(window, app::idImage1);
    const SIZE banner = ui::pictureSize(
        reinterpret_cast<HBITMAP>(SendMessageW(image, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    EXPECT_EQ(banner.cy, ui::scale(68, dpi));
    EXPECT_NEAR(banner.cx, ui::scale(327, dpi), 1);
    const RECT logo = ui::boundsInParent(e2e::findControl(window, app::idImage2));
    EXPECT_EQ(logo.right - logo.left, ui::scale(58, dpi));
}

TEST_F(AtThisDpi, TheOrphanDialogsTextsFitAndItsListShowsSixRows) {
    app::TRemoveLinksDlg dialog;
    dialog.create(nullptr);
    // A long path, so the list has its horizontal scroll bar, and a Start Menu one, so
    // "Remove Empty Folders" shows.
    dialog.LoadShortcuts({L"C:\\users\\me\\Desktop\\Some Program That Was Removed Long Ago.lnk",
                          L"C:\\users\\me\\Start Menu\\Programs\\Old Tool.lnk"});
    dialog.FormShow();
    ShowWindow(dialog.hwnd(), SW_SHOWNA);
    expectEveryControlFits(dialog.hwnd(), dpi);
    HWND list = dialog.ShortcutList().hwnd();
    expectRowsFitTheFont(list);
    EXPECT_GE(wholeRows(list), 6); // as many as at 96 DPI
    ShowWindow(dialog.hwnd(), SW_HIDE);
}

TEST_F(AtThisDpi, TheMessagesIconAndTextStayApartAndFit) {
    RECT icon{}, text{};
    int iconSize = 0;
    UINT dialogDpi = 0;
    bool fits = false;
    apptest::answerFromTimer([&](HWND dialog) {
        dialogDpi = ui::dpiOf(dialog);
        for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            const LONG type = GetWindowLongW(c, GWL_STYLE) & SS_TYPEMASK;
            if (className(c) == L"Button" || className(c) == L"BUTTON")
                continue;
            GetWindowRect(c, type == SS_ICON ? &icon : &text);
        }
        iconSize = icon.right - icon.left;
        expectEveryControlFits(dialog, dialogDpi);
        fits = true;
        e2e::pressKey(GetFocus(), VK_RETURN);
        return true;
    });
    app::ShowMessage(nullptr, app::MessageKind::Confirmation,
                     L"You have chosen to DELETE ALL data in the locations you have "
                     L"specified.\r\nAre you sure you want to do this?");
    ASSERT_TRUE(fits);
    EXPECT_EQ(dialogDpi, dpi);
    RECT overlap{};
    EXPECT_FALSE(IntersectRect(&overlap, &icon, &text));
    EXPECT_EQ(iconSize, ui::scale(32, dpi));
}

TEST_F(AtThisDpi, TheSplashIsItsPictureGrown) {
    facetest::Host owner(100, 100);
    app::TSplashFrm splash(owner);
    splash.show();
    RECT r{};
    GetWindowRect(splash.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, ui::scale(321, dpi));
    EXPECT_EQ(r.bottom - r.top, ui::scale(216, dpi));
    LOGFONTW font{};
    GetObjectW(splash.font(), sizeof font, &font);
    EXPECT_EQ(font.lfHeight, ui::scale(-14, dpi));
}

// Sets HKCU\Control Panel\Desktop "LogPixels" for the programs started from now on, and
// puts back what was there.
class LogPixels {
public:
    explicit LogPixels(DWORD dpi) : saved_(testsupport::storedValue(kKey, L"LogPixels")) {
        testsupport::setDword(kKey, L"LogPixels", dpi);
    }
    LogPixels(const LogPixels&) = delete;
    LogPixels& operator=(const LogPixels&) = delete;
    ~LogPixels() {
        if (saved_.present)
            testsupport::setValue(kKey, L"LogPixels", saved_.type, saved_.data.data(),
                                  static_cast<DWORD>(saved_.data.size()));
        else
            testsupport::deleteValue(kKey, L"LogPixels");
    }

private:
    static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
    testsupport::StoredValue saved_;
};

TEST(EveryDpi, TheChecksPassAt120And144And192) {
    ASSERT_EQ(expectedDpi(), 96u) << "started by another run of this test";
    ASSERT_EQ(ui::dpiOf(nullptr), 96u) << "the prefix is left at another DPI";
    for (DWORD dpi : {120, 144, 192}) {
        LogPixels atDpi(dpi);
        EXPECT_EQ(testsupport::runThisProgramAgain(L"--gtest_filter=AtThisDpi.* --dpi=" +
                                                   std::to_wstring(dpi)),
                  0)
            << dpi;
    }
}

TEST(DpiChange, TheMainWindowLaysItselfOutAgainInTheSuggestedRectangle) {
    app::TSettingsFrm form;
    form.create({L"nothing"});
    HWND window = form.hwnd();
    HWND go = e2e::findControl(window, app::idButton1);
    const auto changeTo = [&](UINT dpi, RECT suggested) {
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        RECT now{};
        GetWindowRect(window, &now);
        EXPECT_TRUE(EqualRect(&now, &suggested)) << dpi;
    };
    changeTo(144, RECT{10, 20, 560, 700});
    EXPECT_EQ(ui::boundsInParent(go).left, 144);
    EXPECT_EQ(ui::boundsInParent(go).top, 582);
    EXPECT_EQ(fontOf(go), ui::defaultFont(144));
    HWND list = e2e::findControl(window, app::idUserDirs);
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), ui::scale(13, 144));
    const RECT logo = ui::boundsInParent(e2e::findControl(window, app::idImage2));
    EXPECT_EQ(logo.right - logo.left, ui::scale(58, 144));

    changeTo(96, RECT{30, 40, 400, 480});
    EXPECT_EQ(ui::boundsInParent(go).left, 96);
    EXPECT_EQ(ui::boundsInParent(go).top, 388);
    EXPECT_EQ(fontOf(go), ui::defaultFont());
    EXPECT_EQ(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0), 13);
}

} // namespace
