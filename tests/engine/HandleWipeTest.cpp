// The folder wipe through handles, against real files in the prefix. Links made on the host
// are tested by HandleWipeLinks.sh.
#include <gtest/gtest.h>

#include "engine/HandleWipe.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TestSupport.h"

using engine::WipeFolderAt;
using testsupport::Held;
using testsupport::TempTree;
using Names = std::vector<std::wstring>;

namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// "．．＼": the ANSI API hands it back best-fitted as "..\".
const std::wstring kFullwidthDots = L"\uFF0E\uFF0E\uFF3C";
} // namespace

TEST(HandleWipeFiles, OnlyFilesThatCanBeOpenedExclusivelyGo) {
    TempTree tree(L"hwipe");
    for (const wchar_t* name : {L"plain.txt", L"desktop.ini.bak", L"my desktop.ini"})
        tree.file(std::wstring(L"w\\") + name);
    tree.file(L"w\\hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    tree.file(L"w\\system.dat", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
    tree.file(L"w\\readonly.txt", FILE_ATTRIBUTE_READONLY);
    tree.file(L"w\\desktop.ini");
    const std::wstring held = tree.file(L"w\\held.txt");
    const std::wstring heldHidden = tree.file(L"w\\held-hidden.txt", FILE_ATTRIBUTE_HIDDEN);
    {
        // Shared for reading, writing and deleting: a plain delete would still succeed.
        Held holdA(held, kShareAll), holdB(heldHidden, kShareAll);
        ASSERT_TRUE(holdA.valid() && holdB.valid());
        WipeFolderAt(tree.at(L"w"), false);
    }
    EXPECT_EQ(tree.list(L"w"),
              (Names{L"desktop.ini", L"held-hidden.txt", L"held.txt", L"readonly.txt"}));
    // Nothing is forced: the kept files keep their attribute bits.
    EXPECT_TRUE(tree.attributes(L"w\\readonly.txt") & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(tree.attributes(L"w\\held-hidden.txt") & FILE_ATTRIBUTE_HIDDEN);
}

TEST(HandleWipeFiles, DesktopIniStaysInAnyLetterCase) {
    TempTree tree(L"hwipe");
    const Names spellings = {L"DESKTOP.INI", L"Desktop.Ini", L"dEsKtOp.iNi"};
    for (size_t i = 0; i < spellings.size(); ++i) {
        tree.file(L"w\\" + std::to_wstring(i) + L"\\" + spellings[i]);
        tree.file(L"w\\" + std::to_wstring(i) + L"\\other.ini");
    }
    WipeFolderAt(tree.at(L"w"), true);
    for (size_t i = 0; i < spellings.size(); ++i)
        EXPECT_EQ(tree.list(L"w\\" + std::to_wstring(i)), Names{spellings[i]});
}

TEST(HandleWipeFolders, FlagOffLeavesSubFoldersAndTheirContents) {
    TempTree tree(L"hwipe");
    tree.file(L"w\\top.txt");
    tree.file(L"w\\sub\\inner.txt");
    tree.file(L"w\\sub\\deeper\\deep.txt");
    tree.mkdir(L"w\\empty");
    WipeFolderAt(tree.at(L"w"), false);
    EXPECT_EQ(tree.list(L"w"), (Names{L"empty", L"sub"}));
    EXPECT_TRUE(tree.exists(L"w\\sub\\inner.txt"));
    EXPECT_TRUE(tree.exists(L"w\\sub\\deeper\\deep.txt"));
}

TEST(HandleWipeFolders, FlagOnRemovesEveryFolderButTheGivenOne) {
    TempTree tree(L"hwipe");
    for (const wchar_t* name : {L"a", L"b\\c", L"b\\d\\e", L"f g\\h", L".hidden"})
        for (int i = 0; i < 3; ++i)
            tree.file(std::wstring(L"w\\") + name + L"\\file" + std::to_wstring(i));
    tree.mkdir(L"w\\empty");
    tree.file(L"w\\top.txt");
    tree.file(L"beside.txt");
    WipeFolderAt(tree.at(L"w"), true);
    EXPECT_TRUE(tree.exists(L"w"));
    EXPECT_EQ(tree.list(L"w"), Names{});
    EXPECT_TRUE(tree.exists(L"beside.txt"));
}

TEST(HandleWipeFolders, AKeptFileKeepsItsPathAndHoldsBackNoSibling) {
    TempTree tree(L"hwipe");
    // The first sub-folder in listing order keeps a file deep down.
    tree.file(L"w\\a\\b\\kept.txt", FILE_ATTRIBUTE_READONLY);
    tree.file(L"w\\a\\b\\gone.txt");
    tree.file(L"w\\a\\b\\c\\gone.txt");
    tree.file(L"w\\a\\z\\gone.txt");
    tree.file(L"w\\m\\gone.txt");
    tree.file(L"w\\z\\y\\gone.txt");
    tree.file(L"w\\top.txt");
    WipeFolderAt(tree.at(L"w"), true);
    EXPECT_EQ(tree.list(L"w"), Names{L"a"});
    EXPECT_EQ(tree.list(L"w\\a"), Names{L"b"});
    EXPECT_EQ(tree.list(L"w\\a\\b"), Names{L"kept.txt"});
}

TEST(HandleWipeFolders, ASubFolderHeldOpenElsewhereIsStillEmptied) {
    TempTree tree(L"hwipe");
    tree.file(L"w\\held\\inner.txt");
    tree.file(L"w\\held\\deeper\\deep.txt");
    tree.file(L"w\\other\\inner.txt");
    {
        // No delete sharing: the folder cannot be removed, but what it holds can.
        Held hold(tree.at(L"w\\held"), FILE_SHARE_READ | FILE_SHARE_WRITE);
        ASSERT_TRUE(hold.valid());
        WipeFolderAt(tree.at(L"w"), true);
    }
    EXPECT_EQ(tree.list(L"w"), Names{L"held"});
    EXPECT_EQ(tree.list(L"w\\held"), Names{});
}

TEST(HandleWipeFolders, ThePathIsTakenWithOrWithoutABackslashAndAMissingOneIsLeftAlone) {
    for (const wchar_t* suffix : {L"", L"\\"}) {
        TempTree tree(L"hwipe");
        tree.file(L"w\\x.txt");
        tree.file(L"w\\s\\y.txt");
        WipeFolderAt(tree.at(L"w") + suffix, true);
        EXPECT_EQ(tree.list(L"w"), Names{}) << "suffix '" << suffix << "'";
    }
    TempTree tree(L"hwipe");
    tree.file(L"beside.txt");
    tree.file(L"missingness\\inside.txt");
    WipeFolderAt(tree.at(L"missing"), true);
    WipeFolderAt(tree.at(L"missing\\"), false);
    WipeFolderAt(L"", true);
    EXPECT_EQ(tree.list(L""), (Names{L"beside.txt", L"missingness"}));
    EXPECT_TRUE(tree.exists(L"missingness\\inside.txt"));
}

TEST(HandleWipeNames, FullwidthDotsAndBackslashNeverLeadOutOfTheFolder) {
    for (const bool subFolders : {true, false}) {
        TempTree tree(L"hwipe");
        // Best-fitted, "..\x.txt" would be p\x.txt, and "..\" p itself.
        for (const wchar_t* canary :
             {L"canary.txt", L"p\\canary.txt", L"p\\x.txt", L"p\\keep\\canary.txt"})
            tree.file(canary);
        tree.file(L"p\\w\\" + kFullwidthDots + L"x.txt");
        tree.mkdir(L"p\\w\\" + kFullwidthDots);
        WipeFolderAt(tree.at(L"p\\w"), subFolders);
        EXPECT_EQ(tree.list(L""), (Names{L"canary.txt", L"p"}));
        EXPECT_EQ(tree.list(L"p"), (Names{L"canary.txt", L"keep", L"w", L"x.txt"}));
        EXPECT_TRUE(tree.exists(L"p\\keep\\canary.txt"));
        EXPECT_EQ(tree.list(L"p\\w"), subFolders ? Names{} : Names{kFullwidthDots});
    }
}

TEST(HandleWipeNames, NamesAndPathsTheAnsiApiCannotReachAllGo) {
    TempTree tree(L"hwipe");
    const Names names = {L"\u6587\u4EF6",  // CJK
                         L"\U0001F600",    // an emoji, beyond the basic plane
                         L"trailing dot.", //
                         L"trailing space "};
    for (const std::wstring& name : names) {
        tree.file(L"w\\" + name);
        tree.file(L"w\\" + name + L"-folder\\" + name);
    }
    std::wstring longPath = L"w";
    for (int i = 0; i < 6; ++i)
        longPath += L"\\" + std::wstring(200, static_cast<wchar_t>(L'a' + i));
    ASSERT_GT(tree.file(longPath + L"\\file.txt").size(), 1000u);
    for (const std::wstring& name : names)
        ASSERT_TRUE(tree.exists(L"w\\" + name + L"-folder\\" + name));
    WipeFolderAt(tree.at(L"w"), true);
    EXPECT_EQ(tree.list(L"w"), Names{});
}

TEST(HandleWipeNames, AThousandLevelTreeGoes) {
    TempTree tree(L"hwipe");
    // Built from the bottom up, each step near the top: under Wine one path costs the square
    // of its depth, and a thousand of them at full depth would take minutes.
    tree.file(L"chain\\bottom.txt");
    for (int level = 999; level > 0; --level) {
        if (level % 100 == 0)
            tree.file(L"next\\file.txt");
        else
            tree.mkdir(L"next");
        ASSERT_TRUE(tree.move(L"chain", L"next\\d") && tree.move(L"next", L"chain"));
    }
    tree.mkdir(L"w");
    ASSERT_TRUE(tree.move(L"chain", L"w\\d"));
    std::wstring bottom = L"w";
    for (int level = 0; level < 1000; ++level)
        bottom += L"\\d";
    ASSERT_TRUE(tree.exists(bottom + L"\\bottom.txt"));
    WipeFolderAt(tree.at(L"w"), true);
    EXPECT_EQ(tree.list(L"w"), Names{});
}

TEST(HandleWipeFolders, PathsThatAreNotAbsoluteWipeNothing) {
    // The current folder is a tree of the test's own on D:, so a wipe that followed an empty
    // or relative path could only reach what the test made.
    const std::wstring base = L"D:\\bs-wipe-" + std::to_wstring(GetCurrentProcessId());
    testsupport::removeTree(base);
    testsupport::writeFile(base + L"\\cwd\\here.txt");
    testsupport::writeFile(base + L"\\cwd\\sub\\inside.txt");
    const std::wstring rootProbe = L"D:\\bs-root-probe-" + std::to_wstring(GetCurrentProcessId());
    testsupport::writeFile(rootProbe);
    {
        enginetest::CurrentFolder cwd(base + L"\\cwd");
        const std::wstring rooted = base.substr(2) + L"\\cwd"; // "\bs-wipe-N\cwd"
        for (const std::wstring& path :
             {std::wstring(), std::wstring(L"."), std::wstring(L"sub"), std::wstring(L"D:"),
              std::wstring(L"D:sub"), rooted, std::wstring(L"\\"), std::wstring(L"\\\\")}) {
            WipeFolderAt(path, true);
        }
    }
    EXPECT_TRUE(testsupport::pathExists(rootProbe));
    EXPECT_TRUE(testsupport::pathExists(base + L"\\cwd\\here.txt"));
    EXPECT_TRUE(testsupport::pathExists(base + L"\\cwd\\sub\\inside.txt"));
    testsupport::removeTree(rootProbe);
    testsupport::removeTree(base);
}
