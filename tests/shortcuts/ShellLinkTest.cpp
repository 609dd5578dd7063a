// The shell-link component: property writes, the mappings, and loads of real shortcuts.
#include <gtest/gtest.h>

#include "shortcuts/ShellLnk.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <objbase.h>

#include <thread>

using namespace shortcuts;
using testsupport::TempTree;

namespace {

// True when the calling thread holds COM (CoInitialize answers S_FALSE then).
bool threadHoldsCom() {
    const HRESULT hr = CoInitialize(nullptr);
    if (SUCCEEDED(hr))
        CoUninitialize();
    return hr == S_FALSE;
}

// Wine's shell-link object stores the show command but reports 1 for every loaded link.
bool runningOnWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void setShellFolder(const wchar_t* name, const std::wstring& value) {
    ASSERT_TRUE(testsupport::setText(ShellFoldersKey, name, value));
}

struct Snapshot {
    std::wstring fileName, target, workingDir, description, arguments, iconFile;
    int showCmd, iconIndex;
    WORD hotKeyCode;
    TShellFolder folder;
    bool operator==(const Snapshot&) const = default;
};

Snapshot snapshot(const TPBShellLink& link) {
    return {link.FileName(),   link.Target(),
            link.WorkingDir(), link.Description(),
            link.Arguments(),  link.FileIcon().FileName(),
            link.ShowCmd(),    link.FileIcon().IconIndex(),
            link.HotKeyCode(), link.ShellFolder()};
}

} // namespace

TEST(ShellLinkProperties, FileNameIsNormalisedToALinkName) {
    TPBShellLink link;
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"C:\\a\\prog", L"C:\\a\\prog.lnk"},
        {L"C:\\a\\prog.exe", L"C:\\a\\prog.exe.lnk"},
        {L"C:\\a\\PROG.LNK", L"C:\\a\\PROG.LNK"},
        {L"C:\\a\\prog.Lnk", L"C:\\a\\prog.Lnk"},
        {L"C:\\a.d\\prog", L"C:\\a.d\\prog.lnk"},
        {L"C:\\a\\", L""},
        {L"C:\\a\\.lnk", L""},
        {L"C:\\a\\.LNK", L""},
        {L"", L""},
    };
    for (const auto& [written, stored] : cases) {
        link.SetFileName(L"C:\\other.lnk");
        link.SetFileName(written);
        EXPECT_EQ(link.FileName(), stored) << written;
    }
}

TEST(ShellLinkProperties, ShellFolderRebasesTheFileName) {
    testsupport::RegistryGuard guard(ShellFoldersKey);
    setShellFolder(L"Desktop", L"C:\\users\\someone\\Desktop");
    setShellFolder(L"Start Menu", L"C:\\menu");

    TPBShellLink link;
    EXPECT_EQ(link.ShellFolder(), sfNone);
    link.SetShellFolder(sfStartMenu); // empty name: the folder and a backslash, no ".lnk"
    EXPECT_EQ(link.FileName(), L"C:\\menu\\");
    link.SetShellFolder(sfDesktop); // the re-basing write keeps the name as it is
    EXPECT_EQ(link.FileName(), L"C:\\users\\someone\\Desktop\\");
    link.SetFileName(L"D:\\elsewhere\\notes");
    EXPECT_EQ(link.FileName(), L"C:\\users\\someone\\Desktop\\notes.lnk");
    link.SetShellFolder(sfNone);
    EXPECT_EQ(link.FileName(), L"C:\\users\\someone\\Desktop\\notes.lnk");
    link.SetFileName(L"D:\\elsewhere\\notes");
    EXPECT_EQ(link.FileName(), L"D:\\elsewhere\\notes.lnk");
}

TEST(ShellLinkProperties, WrongRegistryTypeFailsTheWriteAndKeepsTheName) {
    testsupport::RegistryGuard guard(ShellFoldersKey);
    ASSERT_TRUE(testsupport::setDword(ShellFoldersKey, L"Fonts", 7));
    testsupport::deleteValue(ShellFoldersKey, L"Templates");

    TPBShellLink link;
    link.SetFileName(L"C:\\x\\a.lnk");
    try {
        link.SetShellFolder(sfFonts);
        FAIL() << "no error";
    } catch (const std::exception& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'Fonts'");
    }
    // The folder was stored before the read failed; the name was not touched.
    EXPECT_EQ(link.ShellFolder(), sfFonts);
    EXPECT_EQ(link.FileName(), L"C:\\x\\a.lnk");
    EXPECT_THROW(link.SetFileName(L"C:\\x\\b"), std::exception);
    EXPECT_EQ(link.FileName(), L"C:\\x\\a.lnk");

    link.SetShellFolder(sfTemplates); // a missing value is the empty path
    EXPECT_EQ(link.FileName(), L"\\a.lnk");
}

TEST(ShellLinkProperties, HotKeyAndWindowStateMappings) {
    TPBShellLink link;
    EXPECT_EQ(link.WindowState(), wsNormal); // ShowCmd 0 of a never-loaded component
    link.SetHotKey(0x41 + 0x2000 + 0x4000);
    EXPECT_EQ(link.HotKeyCode(), 0x0341);
    EXPECT_EQ(link.HotKey(), 0x41 + 0x2000 + 0x4000);
    link.SetHotKey(0x70 + 0x8000);
    EXPECT_EQ(link.HotKeyCode(), 0x0470);
    link.SetHotKey(0x141 + 0x4000); // no one-byte key code: refused, not cut to 'A'
    EXPECT_EQ(link.HotKeyCode(), 0x0470);
    link.SetHotKey(0);
    EXPECT_EQ(link.HotKey(), 0);

    const std::pair<TWindowState, int> states[] = {
        {wsNormal, 1}, {wsMinimized, 7}, {wsMaximized, 3}};
    for (const auto& [state, code] : states) {
        link.SetWindowState(state);
        EXPECT_EQ(link.ShowCmd(), code);
        EXPECT_EQ(link.WindowState(), state);
    }
}

TEST(ShellLinkProperties, FileIconAssignAcceptsOnlyFileIcons) {
    TPBShellLink link;
    TFileIcon icon;
    icon.SetFileName(L"C:\\icons.dll");
    icon.SetIconIndex(-3);
    link.SetFileIcon(icon);
    EXPECT_EQ(link.FileIcon().FileName(), L"C:\\icons.dll");
    EXPECT_EQ(link.FileIcon().IconIndex(), -3);
    EXPECT_NE(&link.FileIcon(), &icon); // copied into the owned object

    TPersistent other;
    try {
        link.SetFileIcon(other);
        FAIL() << "no error";
    } catch (const EInvalidCast& e) {
        EXPECT_STREQ(e.what(), "Invalid class typecast");
    }
    EXPECT_EQ(link.FileIcon().FileName(), L"C:\\icons.dll");
}

class ShellLinkLoad : public ::testing::Test {
protected:
    TempTree tree{L"shelllink"};
};

TEST_F(ShellLinkLoad, ReadsWhatTheShellStored) {
    const std::wstring program = tree.file(L"bin\\tool.exe");
    linkfixtures::LinkOptions options;
    options.arguments = L"/quiet now";
    options.workingDir = tree.path();
    options.description = L"A tool";
    options.iconFile = L"C:\\windows\\system32\\shell32.dll";
    options.iconIndex = 4;
    options.showCmd = SW_SHOWMAXIMIZED;
    options.hotKey = MAKEWORD(L'K', HOTKEYF_CONTROL | HOTKEYF_ALT);
    linkfixtures::makeShortcut(tree.at(L"tool.lnk"), program, options);

    TPBShellLink link;
    link.SetFileName(tree.at(L"tool"));
    link.Load();
    EXPECT_EQ(AsciiLower(link.Target()), AsciiLower(program));
    EXPECT_EQ(link.Arguments(), L"/quiet now");
    EXPECT_EQ(AsciiLower(link.WorkingDir()), AsciiLower(tree.path()));
    EXPECT_EQ(link.Description(), L"A tool");
    EXPECT_EQ(AsciiLower(link.FileIcon().FileName()), L"c:\\windows\\system32\\shell32.dll");
    EXPECT_EQ(link.FileIcon().IconIndex(), 4);
    EXPECT_EQ(link.WindowState(), runningOnWine() ? wsNormal : wsMaximized) << link.ShowCmd();
    EXPECT_EQ(link.HotKey(), L'K' + 0x4000 + 0x8000);
    EXPECT_EQ(link.FileName(), tree.at(L"tool.lnk"));

    options.showCmd = SW_SHOWMINNOACTIVE;
    linkfixtures::makeShortcut(tree.at(L"min.lnk"), program, options);
    link.LoadFromFile(tree.at(L"min.lnk"));
    EXPECT_EQ(link.WindowState(), runningOnWine() ? wsNormal : wsMinimized) << link.ShowCmd();
}

TEST_F(ShellLinkLoad, DeletedTargetsAndShellItems) {
    const std::wstring gone = tree.at(L"Program Files\\Gone\\gone.exe");
    linkfixtures::makeOrphan(tree.at(L"gone.LNK"), gone);
    linkfixtures::makeIdListShortcut(tree.at(L"computer.lnk"));

    TPBShellLink link;
    link.LoadFromFile(tree.at(L"gone.LNK"));
    EXPECT_EQ(AsciiLower(link.Target()), AsciiLower(gone));
    EXPECT_EQ(link.FileName(), L""); // LoadFromFile leaves the name alone
    link.LoadFromFile(tree.at(L"computer.lnk"));
    EXPECT_EQ(link.Target(), L"");
}

TEST_F(ShellLinkLoad, FailedLoadsChangeNothingAndBalanceCom) {
    linkfixtures::makeShortcut(tree.at(L"good.lnk"), tree.file(L"good.txt"));
    linkfixtures::makeCorruptShortcut(tree.at(L"corrupt.lnk"));
    tree.mkdir(L"folder.lnk");

    TPBShellLink link;
    link.SetFileName(tree.at(L"good.lnk"));
    link.Load();
    link.SetFileIcon(TFileIcon());
    const auto expectFailure = [&](const auto& load, const char* message) {
        for (bool holdCom : {false, true}) {
            if (holdCom) {
                ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr)));
            }
            ASSERT_EQ(threadHoldsCom(), holdCom);
            const Snapshot before = snapshot(link);
            try {
                load();
                ADD_FAILURE() << "no error for " << message;
            } catch (const EPBShellLink& e) {
                EXPECT_STREQ(e.what(), message);
            }
            EXPECT_EQ(snapshot(link), before) << message;
            EXPECT_EQ(threadHoldsCom(), holdCom) << message;
            if (holdCom)
                CoUninitialize();
        }
    };
    expectFailure([&] { link.LoadFromFile(tree.at(L"corrupt.lnk")); }, "Read error.");
    expectFailure([&] { link.LoadFromFile(tree.at(L"missing.lnk")); }, "Read error.");

    link.SetFileName(L"");
    expectFailure([&] { link.Load(); }, "Link not found.");
    link.SetFileName(tree.at(L"folder.lnk"));
    expectFailure([&] { link.Load(); }, "Link not found.");
    link.SetFileName(tree.at(L"absent"));
    expectFailure([&] { link.Load(); }, "Link not found.");
    EXPECT_FALSE(threadHoldsCom());
}

TEST_F(ShellLinkLoad, ComOfAnotherApartmentIsLeftAsItWas) {
    // A thread in the multi-threaded apartment refuses the load's CoInitialize; the load
    // must then not undo the thread's own initialisation.
    linkfixtures::makeShortcut(tree.at(L"good.lnk"), tree.file(L"good.txt"));
    HRESULT again = E_FAIL;
    std::wstring target;
    std::thread worker([&] {
        if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
            return;
        TPBShellLink link;
        try {
            link.LoadFromFile(tree.at(L"good.lnk"));
            target = link.Target();
        } catch (const std::exception&) {
        }
        again = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        if (SUCCEEDED(again))
            CoUninitialize();
        CoUninitialize();
    });
    worker.join();
    EXPECT_EQ(again, S_FALSE); // still initialised after the load
    EXPECT_EQ(AsciiLower(target), AsciiLower(tree.at(L"good.txt")));
}
