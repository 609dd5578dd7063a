// The real program: the splash only in an interactive start and gone after its timer;
// the credits stand still until "About" is first shown, climb while it is shown, stop on
// "Control" and go on from there; the logo and the link hand the same address to the
// shell, seen through a stand-in browser registered as the prefix's http handler.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/SettingsIds.h"
#include "tests/e2e/Driver.h"
#include "tests/support/TestSupport.h"
#include "ui/Window.h"

namespace {

constexpr const wchar_t* kUrlFile = L"C:\\t\\work\\opened-url.txt";
constexpr const wchar_t* kSplashClass = L"Brightsweep.Splash";

// The stand-in browser's path.
std::wstring probePath() {
    return e2e::argumentEndingWith(L"face_url_probe.exe");
}

// Clicks the tab whose index is `page` and waits until it is selected.
bool selectPage(HWND tabs, int page) {
    for (int x = 4; x < 200; x += 8) {
        e2e::postClickAt(tabs, x, 10);
        if (testsupport::waitUntil(
                [&] { return SendMessageW(tabs, 0x130B /* TCM_GETCURSEL */, 0, 0) == page; }, 300))
            return true;
    }
    return false;
}

int topOf(HWND control) {
    return ui::boundsInParent(control).top;
}

std::vector<std::wstring> openedUrls(size_t atLeast, DWORD ms) {
    std::vector<std::wstring> lines;
    testsupport::waitUntil(
        [&] {
            lines = testsupport::utf16Lines(kUrlFile);
            return lines.size() >= atLeast;
        },
        ms);
    return lines;
}

class FaceE2E : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(e2e::programPath().empty()) << L"pass the program's path";
        CreateDirectoryW(L"C:\\t", nullptr);
        CreateDirectoryW(L"C:\\t\\work", nullptr);
    }
    // Nothing ticked, no folders: a stray clean run has nothing to do.
    testsupport::RegistryGuard settings_{testsupport::kSettingsKey,
                                         testsupport::RegistryGuard::Start::Empty};
};

TEST_F(FaceE2E, SplashOnlyInAnInteractiveStartAndGoneAfterItsTimer) {
    {
        e2e::Process program(e2e::programPath(), L"");
        HWND splash = e2e::waitForWindow(program.id(), kSplashClass, nullptr);
        ASSERT_TRUE(splash);
        RECT r;
        GetWindowRect(splash, &r);
        EXPECT_EQ(321, r.right - r.left);
        EXPECT_EQ(216, r.bottom - r.top);
        e2e::clickAt(splash, 30, 30); // does nothing
        EXPECT_TRUE(IsWindowVisible(splash));
        EXPECT_TRUE(e2e::waitForWindowGone(program.id(), kSplashClass, nullptr));
        EXPECT_TRUE(e2e::waitForWindow(program.id(), app::kMainWindowClass, nullptr, 0));
    }
    for (const wchar_t* args : {L"/x", L"/s"}) {
        e2e::Process program(e2e::programPath(), args);
        EXPECT_FALSE(e2e::waitForWindow(program.id(), kSplashClass, nullptr, 2000)) << args;
        if (std::wstring(args) == L"/s") {
            EXPECT_TRUE(program.waitForExit(15000));
        }
    }
}

TEST_F(FaceE2E, CreditsScrollOnlyWhileAboutIsShown) {
    e2e::Process program(e2e::programPath(), L"/x"); // no splash in the way
    HWND main = e2e::waitForWindow(program.id(), app::kMainWindowClass, nullptr);
    ASSERT_TRUE(main);
    HWND tabs = e2e::findControl(main, app::idOptionsPage);
    HWND credits = e2e::findControl(main, app::idLabel13);
    ASSERT_TRUE(tabs);
    ASSERT_TRUE(credits);

    const int before = topOf(credits);
    Sleep(800);
    EXPECT_EQ(before, topOf(credits)); // not started, though created not paused

    ASSERT_TRUE(selectPage(tabs, 1));
    const int started = topOf(credits);
    EXPECT_TRUE(testsupport::waitUntil([&] { return topOf(credits) < started; }, 15000));

    ASSERT_TRUE(selectPage(tabs, 0));
    const int stopped = topOf(credits);
    Sleep(800);
    EXPECT_EQ(stopped, topOf(credits));

    ASSERT_TRUE(selectPage(tabs, 1));
    EXPECT_LE(topOf(credits), stopped); // from the same place, not laid out again
    EXPECT_TRUE(testsupport::waitUntil([&] { return topOf(credits) < stopped; }, 15000));

    // Closing while the credits run ends the program promptly.
    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.waitForExit(5000));
}

// Swaps the prefix's http handler for the stand-in browser and puts the old one back.
class HttpHandler {
public:
    HttpHandler() {
        RegCreateKeyExW(HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        wchar_t buffer[1024] = {};
        DWORD size = sizeof buffer - 1;
        had_ = RegQueryValueExW(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                                &size) == ERROR_SUCCESS;
        old_ = buffer;
        const std::wstring probe = probePath();
        const std::wstring command = L"\"" + probe + L"\" \"%1\"";
        RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    HttpHandler(const HttpHandler&) = delete;
    HttpHandler& operator=(const HttpHandler&) = delete;
    ~HttpHandler() {
        if (had_)
            RegSetValueExW(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                           static_cast<DWORD>((old_.size() + 1) * sizeof(wchar_t)));
        else
            RegDeleteValueW(key_, nullptr);
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    bool had_ = false;
    std::wstring old_;
};

TEST_F(FaceE2E, LogoAndLinkHandTheSameAddressToTheShell) {
    ASSERT_FALSE(probePath().empty()) << L"pass the stand-in browser's path";
    DeleteFileW(kUrlFile);
    HttpHandler handler;
    e2e::Process program(e2e::programPath(), L"/x");
    HWND main = e2e::waitForWindow(program.id(), app::kMainWindowClass, nullptr);
    ASSERT_TRUE(main);
    ASSERT_TRUE(selectPage(e2e::findControl(main, app::idOptionsPage), 1));
    HWND logo = e2e::findControl(main, app::idImage2);
    HWND link = e2e::findControl(main, app::idASLink2);
    ASSERT_TRUE(logo);
    ASSERT_TRUE(link);
    e2e::postClickAt(logo, 20, 20);
    auto urls = openedUrls(1, 15000);
    ASSERT_EQ(1u, urls.size());
    e2e::postClickAt(link, 5, 5);
    urls = openedUrls(2, 15000);
    ASSERT_EQ(2u, urls.size());
    EXPECT_EQ(0u, urls[0].find(L"http://quellmoor.example/"));
    EXPECT_EQ(urls[0], urls[1]);
    DeleteFileW(kUrlFile);
}

} // namespace
