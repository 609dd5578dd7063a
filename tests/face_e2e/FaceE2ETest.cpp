// The real program: the splash only in an interactive start and gone after its timer;
// the credits stand still until "About" is first shown, climb while it is shown, stop on
// "Control" and go on from there; the logo and the link hand the same address to the
// shell, seen through a stand-in browser registered as the prefix's http handler.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

std::string g_exe, g_probe;
constexpr const char* kSettingsKey = "Software\\Quellmoor Software\\Brightsweep";
constexpr const char* kUrlFile = "C:\\t\\work\\opened-url.txt";
// Control ids of the About page.
constexpr int idImage2 = 1100, idLabel13 = 1102, idASLink2 = 1104;

struct FindTopLevel {
    DWORD pid;
    const char* cls;
    bool visible;
    HWND found;
};
BOOL CALLBACK matchTopLevel(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindTopLevel*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (pid == f->pid && lstrcmpA(cls, f->cls) == 0 && (!f->visible || IsWindowVisible(hwnd))) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

struct FindChild {
    int id;          // by control id, or
    const char* cls; // by class name
    HWND found;
};
BOOL CALLBACK matchChild(HWND hwnd, LPARAM param) {
    auto* f = reinterpret_cast<FindChild*>(param);
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (f->cls ? lstrcmpiA(cls, f->cls) == 0 : GetDlgCtrlID(hwnd) == f->id) {
        f->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

class Program {
public:
    explicit Program(const std::string& args = "") {
        std::string line = "\"" + g_exe + "\"" + (args.empty() ? "" : " " + args);
        STARTUPINFOA si{};
        si.cb = sizeof si;
        if (CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &pi_))
            CloseHandle(pi_.hThread);
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (!pi_.hProcess)
            return;
        if (HWND main = window("TSettingsFrm"))
            PostMessageA(main, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(pi_.hProcess, 10000) != WAIT_OBJECT_0)
            TerminateProcess(pi_.hProcess, 1);
        CloseHandle(pi_.hProcess);
    }
    bool running() const { return WaitForSingleObject(pi_.hProcess, 0) == WAIT_TIMEOUT; }
    bool waitForExit(DWORD ms) const { return WaitForSingleObject(pi_.hProcess, ms) == 0; }

    // A top-level window of the program by class (visible ones only when asked).
    HWND window(const char* className, bool visibleOnly = false) const {
        FindTopLevel find{pi_.dwProcessId, className, visibleOnly, nullptr};
        EnumWindows(&matchTopLevel, reinterpret_cast<LPARAM>(&find));
        return find.found;
    }
    HWND waitForWindow(const char* className, DWORD ms = 15000) const {
        for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(50))
            if (HWND w = window(className, true))
                return w;
        return nullptr;
    }

private:
    PROCESS_INFORMATION pi_{};
};

HWND descendant(HWND root, int id) {
    FindChild find{id, nullptr, nullptr};
    EnumChildWindows(root, &matchChild, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

HWND tabControl(HWND main) {
    FindChild find{0, "SysTabControl32", nullptr};
    EnumChildWindows(main, &matchChild, reinterpret_cast<LPARAM>(&find));
    return find.found;
}

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
        Program program;
        HWND splash = program.waitForWindow("Brightsweep.Splash");
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
        EXPECT_TRUE(program.window("TSettingsFrm", true));
    }
    for (const char* args : {"/x", "/s"}) {
        Program program(args);
        bool seen = false;
        for (int i = 0; i < 40 && !seen; ++i, Sleep(50))
            seen = program.window("Brightsweep.Splash", true) != nullptr;
        EXPECT_FALSE(seen) << args;
        if (std::string(args) == "/s") {
            EXPECT_TRUE(program.waitForExit(15000));
        }
    }
}

TEST_F(FaceE2E, CreditsScrollOnlyWhileAboutIsShown) {
    Program program("/x"); // no splash in the way
    HWND main = program.waitForWindow("TSettingsFrm");
    ASSERT_TRUE(main);
    HWND tabs = tabControl(main);
    HWND credits = descendant(main, idLabel13);
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
    Program program("/x");
    HWND main = program.waitForWindow("TSettingsFrm");
    ASSERT_TRUE(main);
    ASSERT_TRUE(selectPage(tabControl(main), 1));
    HWND logo = descendant(main, idImage2);
    HWND link = descendant(main, idASLink2);
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
