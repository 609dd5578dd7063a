// Folder wiping against real files in the prefix.
#include <gtest/gtest.h>

#include "engine/Wipe.h"
#include "tests/engine/EngineFixtures.h"
#include "tests/support/TestSupport.h"

using engine::DeleteFolderFiles;
using engine::FirstSubFolder;
using engine::IsFileWritable;
using engine::WipeFolder;
using enginetest::attributesOf;
using testsupport::listFolder;
using testsupport::TempTree;
using Names = std::vector<std::wstring>;

TEST(WipeFiles, OnlyFilesThatCanBeWrittenExclusivelyGo) {
    TempTree tree(L"wipe");
    tree.file(L"w\\plain.txt");
    tree.file(L"w\\desktop.ini.bak");
    tree.file(L"w\\my desktop.ini");
    const std::wstring readOnly = tree.file(L"w\\readonly.txt");
    enginetest::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    const std::wstring held = tree.file(L"w\\held.txt");
    const std::wstring heldHidden = tree.file(L"w\\held-hidden.txt");
    enginetest::setAttributes(heldHidden, FILE_ATTRIBUTE_HIDDEN);
    tree.file(L"w\\desktop.ini");
    {
        // Shared for reading, writing and deleting: a plain DeleteFile would still succeed.
        enginetest::HeldOpen holdA(held), holdB(heldHidden);
        ASSERT_TRUE(holdA.valid() && holdB.valid());
        WipeFolder(tree.at(L"w"), false);
    }
    EXPECT_EQ(listFolder(tree.at(L"w")),
              (Names{L"desktop.ini", L"held-hidden.txt", L"held.txt", L"readonly.txt"}));
    // Nothing is forced: the kept files keep their attribute bits.
    EXPECT_TRUE(attributesOf(readOnly) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributesOf(heldHidden) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(WipeFiles, DesktopIniStaysInAnyLetterCase) {
    TempTree tree(L"wipe");
    const Names spellings = {L"desktop.ini", L"DESKTOP.INI", L"Desktop.Ini", L"dEsKtOp.iNi"};
    int index = 0;
    for (const auto& spelling : spellings) {
        const std::wstring folder = std::to_wstring(++index) + L"-folder";
        tree.file(folder + L"\\" + spelling);
        tree.file(folder + L"\\other.ini");
        WipeFolder(tree.at(folder), true);
        EXPECT_EQ(listFolder(tree.at(folder)), Names{spelling});
    }
}

TEST(WipeFiles, HiddenAndSystemFilesThatCanBeWrittenGo) {
    TempTree tree(L"wipe");
    const std::wstring hidden = tree.file(L"w\\hidden.txt");
    const std::wstring system = tree.file(L"w\\system.dat");
    const std::wstring both = tree.file(L"w\\both.sys");
    enginetest::setAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    enginetest::setAttributes(system, FILE_ATTRIBUTE_SYSTEM);
    enginetest::setAttributes(both, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(attributesOf(both) & FILE_ATTRIBUTE_HIDDEN);
    WipeFolder(tree.at(L"w"), false);
    EXPECT_TRUE(listFolder(tree.at(L"w")).empty());
}

TEST(WipeFiles, ManyFilesGoWhileTheListingIsOpen) {
    TempTree tree(L"wipe");
    for (int i = 0; i < 400; ++i)
        tree.file(L"w\\file" + std::to_wstring(i) + L".tmp");
    DeleteFolderFiles(tree.at(L"w"));
    EXPECT_TRUE(listFolder(tree.at(L"w")).empty());
    EXPECT_TRUE(tree.exists(L"w"));
}

TEST(WipeFolders, FlagOffLeavesSubFoldersAndTheirContents) {
    TempTree tree(L"wipe");
    tree.file(L"w\\top.txt");
    tree.file(L"w\\sub\\inner.txt");
    tree.file(L"w\\sub\\deeper\\deep.txt");
    WipeFolder(tree.at(L"w"), false);
    EXPECT_EQ(listFolder(tree.at(L"w")), Names{L"sub"});
    EXPECT_TRUE(tree.exists(L"w\\sub\\inner.txt"));
    EXPECT_TRUE(tree.exists(L"w\\sub\\deeper\\deep.txt"));
}

TEST(WipeFolders, FlagOnRemovesEveryFolderButTheGivenOne) {
    TempTree tree(L"wipe");
    for (const wchar_t* name : {L"a", L"b\\c", L"b\\d\\e", L"f g\\h", L".hidden"})
        for (int i = 0; i < 3; ++i)
            tree.file(std::wstring(L"w\\") + name + L"\\file" + std::to_wstring(i));
    tree.mkdir(L"w\\empty");
    tree.file(L"w\\top.txt");
    WipeFolder(tree.at(L"w"), true);
    EXPECT_TRUE(tree.exists(L"w"));
    EXPECT_TRUE(listFolder(tree.at(L"w")).empty());
}

TEST(WipeFolders, AKeptFileDeepInTheTreeKeepsItsPath) {
    TempTree tree(L"wipe");
    tree.file(L"w\\a\\b\\c\\gone.txt");
    tree.file(L"w\\a\\b\\gone.txt");
    const std::wstring kept = tree.file(L"w\\a\\b\\c\\kept.txt");
    enginetest::setAttributes(kept, FILE_ATTRIBUTE_READONLY);
    tree.file(L"w\\a\\b\\b-before-c\\gone.txt");
    WipeFolder(tree.at(L"w"), true);
    EXPECT_EQ(listFolder(tree.at(L"w")), Names{L"a"});
    EXPECT_EQ(listFolder(tree.at(L"w\\a")), Names{L"b"});
    EXPECT_EQ(listFolder(tree.at(L"w\\a\\b")), Names{L"c"});
    EXPECT_EQ(listFolder(tree.at(L"w\\a\\b\\c")), Names{L"kept.txt"});
}

TEST(WipeFolders, AFirstSubFolderThatStaysEndsTheWalkOfItsParent) {
    TempTree tree(L"wipe");
    const std::wstring kept = tree.file(L"w\\a\\kept.txt");
    enginetest::setAttributes(kept, FILE_ATTRIBUTE_READONLY);
    tree.file(L"w\\a\\gone.txt");
    tree.file(L"w\\a\\inner\\gone.txt");
    tree.file(L"w\\b\\untouched.txt");
    tree.file(L"w\\c\\d\\untouched.txt");
    tree.file(L"w\\top.txt");
    WipeFolder(tree.at(L"w"), true);
    // "a" is emptied as far as it goes; the sub-folders after it are not visited, and the
    // parent's own files still go.
    EXPECT_EQ(listFolder(tree.at(L"w")), (Names{L"a", L"b", L"c"}));
    EXPECT_EQ(listFolder(tree.at(L"w\\a")), Names{L"kept.txt"});
    EXPECT_TRUE(tree.exists(L"w\\b\\untouched.txt"));
    EXPECT_TRUE(tree.exists(L"w\\c\\d\\untouched.txt"));
}

TEST(WipeFolders, TrailingBackslashMakesNoDifference) {
    for (const wchar_t* suffix : {L"", L"\\"}) {
        TempTree tree(L"wipe");
        tree.file(L"w\\x.txt");
        tree.file(L"w\\s\\y.txt");
        tree.file(L"w\\s\\desktop.ini");
        WipeFolder(tree.at(L"w") + suffix, true);
        EXPECT_EQ(listFolder(tree.at(L"w")), Names{L"s"}) << L"suffix '" << suffix << L"'";
        EXPECT_EQ(listFolder(tree.at(L"w\\s")), Names{L"desktop.ini"});
    }
}

TEST(WipeFolders, AMissingFolderChangesNothing) {
    TempTree tree(L"wipe");
    tree.file(L"beside.txt");
    tree.file(L"missingness\\inside.txt");
    WipeFolder(tree.at(L"missing"), true);
    WipeFolder(tree.at(L"missing\\"), false);
    EXPECT_EQ(listFolder(tree.path()), (Names{L"beside.txt", L"missingness"}));
    EXPECT_TRUE(tree.exists(L"missingness\\inside.txt"));
    EXPECT_FALSE(tree.exists(L"missing"));
}

TEST(WipeFolders, ALinkedFolderIsNeitherEnteredNorRemoved) {
    TempTree tree(L"wipe");
    tree.file(L"outside\\precious.txt");
    tree.file(L"outside\\deeper\\precious.txt");
    tree.file(L"w\\top.txt");
    tree.file(L"w\\z-after\\untouched.txt");
    enginetest::FolderLink link(tree.at(L"w\\a-link"), tree.at(L"outside"));
    // Under Wine the link is always made; elsewhere it needs the right to make links.
    ASSERT_TRUE(link.made() || enginetest::unixPathOf(L"C:\\").empty());
    if (!link.made())
        GTEST_SKIP() << L"no symbolic links to folders here";
    WipeFolder(tree.at(L"w"), true);
    EXPECT_TRUE(tree.exists(L"outside\\precious.txt"));
    EXPECT_TRUE(tree.exists(L"outside\\deeper\\precious.txt"));
    // The link stays, and like any sub-folder that stays it ends the walk of its parent.
    EXPECT_EQ(listFolder(tree.at(L"w")), (Names{L"a-link", L"z-after"}));
    EXPECT_TRUE(tree.exists(L"w\\z-after\\untouched.txt"));
}

TEST(WipeFolders, ALinkToAnEmptyFolderIsNotRemoved) {
    // Removing a link to an empty folder would remove the folder it points to.
    TempTree tree(L"wipe");
    tree.mkdir(L"outside-empty");
    tree.mkdir(L"w");
    enginetest::FolderLink link(tree.at(L"w\\link"), tree.at(L"outside-empty"));
    // Under Wine the link is always made; elsewhere it needs the right to make links.
    ASSERT_TRUE(link.made() || enginetest::unixPathOf(L"C:\\").empty());
    if (!link.made())
        GTEST_SKIP() << L"no symbolic links to folders here";
    WipeFolder(tree.at(L"w"), true);
    EXPECT_TRUE(tree.exists(L"outside-empty"));
    EXPECT_TRUE(tree.exists(L"w\\link"));
}

TEST(WipeFolders, PathsThatAreNotAbsoluteWipeNothing) {
    // The current folder is a tree of the test's own on D:, so a wipe that followed an empty
    // or relative path could only reach what the test made.
    TempTree scratch(L"wipe");
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
            WipeFolder(path, true);
            DeleteFolderFiles(path);
        }
    }
    EXPECT_TRUE(testsupport::pathExists(rootProbe));
    EXPECT_TRUE(testsupport::pathExists(base + L"\\cwd\\here.txt"));
    EXPECT_TRUE(testsupport::pathExists(base + L"\\cwd\\sub\\inside.txt"));
    testsupport::removeTree(rootProbe);
    testsupport::removeTree(base);
}

TEST(WipeFolders, AbsoluteFormsAreWiped) {
    TempTree tree(L"wipe");
    tree.file(L"w\\a.txt");
    tree.file(L"v\\b.txt");
    std::wstring device = L"\\\\?\\";
    device += tree.at(L"w");
    WipeFolder(device, false);
    std::wstring lower = tree.at(L"v");
    lower[0] = static_cast<wchar_t>(lower[0] - L'A' + L'a');
    WipeFolder(lower, false);
    EXPECT_TRUE(listFolder(tree.at(L"w")).empty());
    EXPECT_TRUE(listFolder(tree.at(L"v")).empty());
}

TEST(WipeProbe, TheProbeChangesNothingAndRefusesWhatItCannotWrite) {
    TempTree tree(L"probe");
    const std::wstring file = tree.file(L"data.bin", "twelve bytes");
    EXPECT_TRUE(IsFileWritable(file));
    EXPECT_EQ(GetFileAttributesW(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(data.nFileSizeLow, 12u);

    EXPECT_FALSE(IsFileWritable(tree.at(L"absent.bin")));
    EXPECT_FALSE(IsFileWritable(tree.mkdir(L"folder")));
    EXPECT_FALSE(IsFileWritable(L""));
    {
        enginetest::HeldOpen hold(file);
        EXPECT_FALSE(IsFileWritable(file));
    }
    enginetest::setAttributes(file, FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(IsFileWritable(file));
    EXPECT_TRUE(attributesOf(file) & FILE_ATTRIBUTE_READONLY);
}

TEST(WipeProbe, ANameLongerThan260CharactersIsNeverProbed) {
    // Cut to 260 characters the long name would name this file, which can be written.
    TempTree tree(L"probe");
    const std::wstring folder = tree.path() + L"\\";
    const std::wstring name = folder + std::wstring(260 - folder.size(), L'n');
    ASSERT_EQ(name.size(), 260u);
    testsupport::writeFile(name);
    EXPECT_TRUE(IsFileWritable(name));
    EXPECT_FALSE(IsFileWritable(name + L"-longer"));
}

TEST(WipeFirstSubFolder, FindsTheFirstFolderInListingOrder) {
    TempTree tree(L"first");
    tree.file(L"w\\a-file.txt");
    tree.mkdir(L"w\\m-folder");
    tree.mkdir(L"w\\z-folder");
    EXPECT_EQ(FirstSubFolder(tree.at(L"w")), tree.at(L"w\\m-folder"));
    EXPECT_EQ(FirstSubFolder(tree.at(L"w") + L"\\"), tree.at(L"w\\m-folder"));
    EXPECT_EQ(FirstSubFolder(tree.at(L"w\\m-folder")), L"");
    EXPECT_EQ(FirstSubFolder(tree.at(L"missing")), L"");
}
