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

namespace {

std::string g_exe, g_probe;
constexpr const char* kSettingsKey = "Software\\Quellmoor Software\\Brightsweep";
constexpr const char* kUrlFile = "C:\\t\\work\\opened-url.txt";
constexpr const char* kSplashClass = "Brightsweep.Splash";

// A visible top-level window of the program by class, waited for up to `ms`.
HWND window(const e2e::Process& program, const char* className, DWORD ms = 15000) {
    return e2e::waitForWindow(program.id(), className, nullptr, ms);
}

// Posted: a click on the link or the logo returns only after the shell has been asked.
void click(HWND control, int x, int y) {
    PostMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// Clicks the tab whose index is `page` and waits until it is selected.
bool selectPage(HWND tabs, int page) {
    for (int x = 4; x < 200; x += 8) {
        click(tabs, x, 10);
        for (int i = 0; i < 10; ++i, Sleep(30))
            if (SendMessageA(tabs, 0x130B /* TCM_GETCURSEL */, 0, 0) == page)
                return true;
    }
    return false;
}

int topOf(HWND control) {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return r.top;
}

std::vector<std::string> openedUrls(size_t atLeast, DWORD ms) {
    std::vector<std::string> lines;
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(100)) {
        lines.clear();
        std::ifstream in(kUrlFile);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        if (lines.size() >= atLeast)
            break;
    }
    return lines;
}

class FaceE2E : public ::testing::Test {
protected:
    FaceE2E() : settings_(kSettingsKey) {}
    void SetUp() override {
        ASSERT_FALSE(g_exe.empty()) << "pass the program's path";
        CreateDirectoryA("C:\\t", nullptr);
        CreateDirectoryA("C:\\t\\work", nullptr);
        // Nothing ticked, no folders: a stray clean run has nothing to do.
        testsupport::deleteKeyTree(kSettingsKey);
    }
    testsupport::RegistryGuard settings_;
};

TEST_F(FaceE2E, SplashOnlyInAnInteractiveStartAndGoneAfterItsTimer) {
    {
        e2e::Process program(g_exe, "");
        HWND splash = window(program, kSplashClass);
        ASSERT_TRUE(splash);
        RECT r;
        GetWindowRect(splash, &r);
        EXPECT_EQ(321, r.right - r.left);
        EXPECT_EQ(216, r.bottom - r.top);
        click(splash, 30, 30); // does nothing
        Sleep(300);
        EXPECT_TRUE(IsWindowVisible(splash));
        Sleep(3500);
        EXPECT_FALSE(IsWindowVisible(splash));
        EXPECT_TRUE(window(program, app::kMainWindowClass, 0));
    }
    for (const char* args : {"/x", "/s"}) {
        e2e::Process program(g_exe, args);
        EXPECT_FALSE(window(program, kSplashClass, 2000)) << args;
        if (std::string(args) == "/s") {
            EXPECT_TRUE(program.waitForExit(15000));
        }
    }
}

TEST_F(FaceE2E, CreditsScrollOnlyWhileAboutIsShown) {
    e2e::Process program(g_exe, "/x"); // no splash in the way
    HWND main = window(program, app::kMainWindowClass);
    ASSERT_TRUE(main);
    HWND tabs = e2e::findControl(main, app::idOptionsPage);
    HWND credits = e2e::findControl(main, app::idLabel13);
    ASSERT_TRUE(tabs);
    ASSERT_TRUE(credits);

    const int before = topOf(credits);
    Sleep(800);
    EXPECT_EQ(before, topOf(credits)); // not started, though created not paused

    ASSERT_TRUE(selectPage(tabs, 1));
    Sleep(200);
    const int started = topOf(credits);
    Sleep(1000);
    const int climbed = topOf(credits);
    EXPECT_LT(climbed, started);
    EXPECT_GT(climbed, started - 40); // at most about 16 pixels a second

    ASSERT_TRUE(selectPage(tabs, 0));
    const int stopped = topOf(credits);
    Sleep(800);
    EXPECT_EQ(stopped, topOf(credits));

    ASSERT_TRUE(selectPage(tabs, 1));
    EXPECT_LE(topOf(credits), stopped); // from the same place, not laid out again
    EXPECT_GE(topOf(credits), stopped - 3);
    Sleep(800);
    EXPECT_LT(topOf(credits), stopped);

    // Closing while the credits run ends the program promptly.
    PostMessageA(main, WM_CLOSE, 0, 0);
    EXPECT_TRUE(program.waitForExit(5000));
}

// Swaps the prefix's http handler for the stand-in browser and puts the old one back.
class HttpHandler {
public:
    HttpHandler() {
        RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\open\\command", 0, nullptr, 0,
                        KEY_ALL_ACCESS, nullptr, &key_, nullptr);
        char buffer[1024] = {};
        DWORD size = sizeof buffer - 1;
        had_ = RegQueryValueExA(key_, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer),
                                &size) == ERROR_SUCCESS;
        old_ = buffer;
        const std::string command = "\"" + g_probe + "\" \"%1\"";
        RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>(command.size() + 1));
    }
    HttpHandler(const HttpHandler&) = delete;
    HttpHandler& operator=(const HttpHandler&) = delete;
    ~HttpHandler() {
        if (had_)
            RegSetValueExA(key_, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(old_.c_str()),
                           static_cast<DWORD>(old_.size() + 1));
        else
            RegDeleteValueA(key_, nullptr);
        RegCloseKey(key_);
    }

private:
    HKEY key_ = nullptr;
    bool had_ = false;
    std::string old_;
};

TEST_F(FaceE2E, LogoAndLinkHandTheSameAddressToTheShell) {
    ASSERT_FALSE(g_probe.empty()) << "pass the stand-in browser's path";
    DeleteFileA(kUrlFile);
    HttpHandler handler;
    e2e::Process program(g_exe, "/x");
    HWND main = window(program, app::kMainWindowClass);
    ASSERT_TRUE(main);
    ASSERT_TRUE(selectPage(e2e::findControl(main, app::idOptionsPage), 1));
    HWND logo = e2e::findControl(main, app::idImage2);
    HWND link = e2e::findControl(main, app::idASLink2);
    ASSERT_TRUE(logo);
    ASSERT_TRUE(link);
    click(logo, 20, 20);
    auto urls = openedUrls(1, 15000);
    ASSERT_EQ(1u, urls.size());
    click(link, 5, 5);
    urls = openedUrls(2, 15000);
    ASSERT_EQ(2u, urls.size());
    EXPECT_EQ(0u, urls[0].find("http://quellmoor.example/"));
    EXPECT_EQ(urls[0], urls[1]);
    DeleteFileA(kUrlFile);
}

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (argc > 1)
        g_exe = argv[1];
    if (argc > 2)
        g_probe = argv[2];
    return RUN_ALL_TESTS();
}
