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
using Names = std::vector<std::string>;

TEST(WipeFiles, OnlyFilesThatCanBeWrittenExclusivelyGo) {
    TempTree tree("wipe");
    tree.file("w\\plain.txt");
    tree.file("w\\desktop.ini.bak");
    tree.file("w\\my desktop.ini");
    const std::string readOnly = tree.file("w\\readonly.txt");
    enginetest::setAttributes(readOnly, FILE_ATTRIBUTE_READONLY);
    const std::string held = tree.file("w\\held.txt");
    const std::string heldHidden = tree.file("w\\held-hidden.txt");
    enginetest::setAttributes(heldHidden, FILE_ATTRIBUTE_HIDDEN);
    tree.file("w\\desktop.ini");
    {
        // Shared for reading, writing and deleting: a plain DeleteFile would still succeed.
        enginetest::HeldOpen holdA(held), holdB(heldHidden);
        ASSERT_TRUE(holdA.valid() && holdB.valid());
        WipeFolder(tree.at("w"), false);
    }
    EXPECT_EQ(listFolder(tree.at("w")),
              (Names{"desktop.ini", "held-hidden.txt", "held.txt", "readonly.txt"}));
    // Nothing is forced: the kept files keep their attribute bits.
    EXPECT_TRUE(attributesOf(readOnly) & FILE_ATTRIBUTE_READONLY);
    EXPECT_TRUE(attributesOf(heldHidden) & FILE_ATTRIBUTE_HIDDEN);
}

TEST(WipeFiles, DesktopIniStaysInAnyLetterCase) {
    TempTree tree("wipe");
    const Names spellings = {"desktop.ini", "DESKTOP.INI", "Desktop.Ini", "dEsKtOp.iNi"};
    int index = 0;
    for (const auto& spelling : spellings) {
        const std::string folder = std::to_string(++index) + "-folder";
        tree.file(folder + "\\" + spelling);
        tree.file(folder + "\\other.ini");
        WipeFolder(tree.at(folder), true);
        EXPECT_EQ(listFolder(tree.at(folder)), Names{spelling});
    }
}

TEST(WipeFiles, HiddenAndSystemFilesThatCanBeWrittenGo) {
    TempTree tree("wipe");
    const std::string hidden = tree.file("w\\hidden.txt");
    const std::string system = tree.file("w\\system.dat");
    const std::string both = tree.file("w\\both.sys");
    enginetest::setAttributes(hidden, FILE_ATTRIBUTE_HIDDEN);
    enginetest::setAttributes(system, FILE_ATTRIBUTE_SYSTEM);
    enginetest::setAttributes(both, FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(attributesOf(both) & FILE_ATTRIBUTE_HIDDEN);
    WipeFolder(tree.at("w"), false);
    EXPECT_TRUE(listFolder(tree.at("w")).empty());
}

TEST(WipeFiles, ManyFilesGoWhileTheListingIsOpen) {
    TempTree tree("wipe");
    for (int i = 0; i < 400; ++i)
        tree.file("w\\file" + std::to_string(i) + ".tmp");
    DeleteFolderFiles(tree.at("w"));
    EXPECT_TRUE(listFolder(tree.at("w")).empty());
    EXPECT_TRUE(tree.exists("w"));
}

TEST(WipeFolders, FlagOffLeavesSubFoldersAndTheirContents) {
    TempTree tree("wipe");
    tree.file("w\\top.txt");
    tree.file("w\\sub\\inner.txt");
    tree.file("w\\sub\\deeper\\deep.txt");
    WipeFolder(tree.at("w"), false);
    EXPECT_EQ(listFolder(tree.at("w")), Names{"sub"});
    EXPECT_TRUE(tree.exists("w\\sub\\inner.txt"));
    EXPECT_TRUE(tree.exists("w\\sub\\deeper\\deep.txt"));
}

TEST(WipeFolders, FlagOnRemovesEveryFolderButTheGivenOne) {
    TempTree tree("wipe");
    for (const char* name : {"a", "b\\c", "b\\d\\e", "f g\\h", ".hidden"})
        for (int i = 0; i < 3; ++i)
            tree.file(std::string("w\\") + name + "\\file" + std::to_string(i));
    tree.mkdir("w\\empty");
    tree.file("w\\top.txt");
    WipeFolder(tree.at("w"), true);
    EXPECT_TRUE(tree.exists("w"));
    EXPECT_TRUE(listFolder(tree.at("w")).empty());
}

TEST(WipeFolders, AKeptFileDeepInTheTreeKeepsItsPath) {
    TempTree tree("wipe");
    tree.file("w\\a\\b\\c\\gone.txt");
    tree.file("w\\a\\b\\gone.txt");
    const std::string kept = tree.file("w\\a\\b\\c\\kept.txt");
    enginetest::setAttributes(kept, FILE_ATTRIBUTE_READONLY);
    tree.file("w\\a\\b\\b-before-c\\gone.txt");
    WipeFolder(tree.at("w"), true);
    EXPECT_EQ(listFolder(tree.at("w")), Names{"a"});
    EXPECT_EQ(listFolder(tree.at("w\\a")), Names{"b"});
    EXPECT_EQ(listFolder(tree.at("w\\a\\b")), Names{"c"});
    EXPECT_EQ(listFolder(tree.at("w\\a\\b\\c")), Names{"kept.txt"});
}

TEST(WipeFolders, AFirstSubFolderThatStaysEndsTheWalkOfItsParent) {
    TempTree tree("wipe");
    const std::string kept = tree.file("w\\a\\kept.txt");
    enginetest::setAttributes(kept, FILE_ATTRIBUTE_READONLY);
    tree.file("w\\a\\gone.txt");
    tree.file("w\\a\\inner\\gone.txt");
    tree.file("w\\b\\untouched.txt");
    tree.file("w\\c\\d\\untouched.txt");
    tree.file("w\\top.txt");
    WipeFolder(tree.at("w"), true);
    // "a" is emptied as far as it goes; the sub-folders after it are not visited, and the
    // parent's own files still go.
    EXPECT_EQ(listFolder(tree.at("w")), (Names{"a", "b", "c"}));
    EXPECT_EQ(listFolder(tree.at("w\\a")), Names{"kept.txt"});
    EXPECT_TRUE(tree.exists("w\\b\\untouched.txt"));
    EXPECT_TRUE(tree.exists("w\\c\\d\\untouched.txt"));
}

TEST(WipeFolders, TrailingBackslashMakesNoDifference) {
    for (const char* suffix : {"", "\\"}) {
        TempTree tree("wipe");
        tree.file("w\\x.txt");
        tree.file("w\\s\\y.txt");
        tree.file("w\\s\\desktop.ini");
        WipeFolder(tree.at("w") + suffix, true);
        EXPECT_EQ(listFolder(tree.at("w")), Names{"s"}) << "suffix '" << suffix << "'";
        EXPECT_EQ(listFolder(tree.at("w\\s")), Names{"desktop.ini"});
    }
}

TEST(WipeFolders, AMissingFolderChangesNothing) {
    TempTree tree("wipe");
    tree.file("beside.txt");
    tree.file("missingness\\inside.txt");
    WipeFolder(tree.at("missing"), true);
    WipeFolder(tree.at("missing\\"), false);
    EXPECT_EQ(listFolder(tree.path()), (Names{"beside.txt", "missingness"}));
    EXPECT_TRUE(tree.exists("missingness\\inside.txt"));
    EXPECT_FALSE(tree.exists("missing"));
}

TEST(WipeFolders, ALinkedFolderIsNeitherEnteredNorRemoved) {
    TempTree tree("wipe");
    tree.file("outside\\precious.txt");
    tree.file("outside\\deeper\\precious.txt");
    tree.file("w\\top.txt");
    tree.file("w\\z-after\\untouched.txt");
    enginetest::FolderLink link(tree.at("w\\a-link"), tree.at("outside"));
    // Under Wine the link is always made; elsewhere it needs the right to make links.
    ASSERT_TRUE(link.made() || enginetest::unixPathOf("C:\\").empty());
    if (!link.made())
        GTEST_SKIP() << "no symbolic links to folders here";
    WipeFolder(tree.at("w"), true);
    EXPECT_TRUE(tree.exists("outside\\precious.txt"));
    EXPECT_TRUE(tree.exists("outside\\deeper\\precious.txt"));
    // The link stays, and like any sub-folder that stays it ends the walk of its parent.
    EXPECT_EQ(listFolder(tree.at("w")), (Names{"a-link", "z-after"}));
    EXPECT_TRUE(tree.exists("w\\z-after\\untouched.txt"));
}

TEST(WipeFolders, ALinkToAnEmptyFolderIsNotRemoved) {
    // Removing a link to an empty folder would remove the folder it points to.
    TempTree tree("wipe");
    tree.mkdir("outside-empty");
    tree.mkdir("w");
    enginetest::FolderLink link(tree.at("w\\link"), tree.at("outside-empty"));
    // Under Wine the link is always made; elsewhere it needs the right to make links.
    ASSERT_TRUE(link.made() || enginetest::unixPathOf("C:\\").empty());
    if (!link.made())
        GTEST_SKIP() << "no symbolic links to folders here";
    WipeFolder(tree.at("w"), true);
    EXPECT_TRUE(tree.exists("outside-empty"));
    EXPECT_TRUE(tree.exists("w\\link"));
}

TEST(WipeFolders, PathsThatAreNotAbsoluteWipeNothing) {
    // The current folder is a tree of the test's own on D:, so a wipe that followed an empty
    // or relative path could only reach what the test made.
    TempTree scratch("wipe");
    const std::string base = "D:\\bs-wipe-" + std::to_string(GetCurrentProcessId());
    testsupport::removeTree(base);
    testsupport::writeFile(base + "\\cwd\\here.txt");
    testsupport::writeFile(base + "\\cwd\\sub\\inside.txt");
    const std::string rootProbe = "D:\\bs-root-probe-" + std::to_string(GetCurrentProcessId());
    testsupport::writeFile(rootProbe);
    {
        enginetest::CurrentFolder cwd(base + "\\cwd");
        const std::string rooted = base.substr(2) + "\\cwd"; // "\bs-wipe-N\cwd"
        for (const std::string& path :
             {std::string(), std::string("."), std::string("sub"), std::string("D:"),
              std::string("D:sub"), rooted, std::string("\\"), std::string("\\\\")}) {
            WipeFolder(path, true);
            DeleteFolderFiles(path);
        }
    }
    EXPECT_TRUE(testsupport::pathExists(rootProbe));
    EXPECT_TRUE(testsupport::pathExists(base + "\\cwd\\here.txt"));
    EXPECT_TRUE(testsupport::pathExists(base + "\\cwd\\sub\\inside.txt"));
    testsupport::removeTree(rootProbe);
    testsupport::removeTree(base);
}

TEST(WipeFolders, AbsoluteFormsAreWiped) {
    TempTree tree("wipe");
    tree.file("w\\a.txt");
    tree.file("v\\b.txt");
    std::string device = "\\\\?\\";
    device += tree.at("w");
    WipeFolder(device, false);
    std::string lower = tree.at("v");
    lower[0] = static_cast<char>(lower[0] - 'A' + 'a');
    WipeFolder(lower, false);
    EXPECT_TRUE(listFolder(tree.at("w")).empty());
    EXPECT_TRUE(listFolder(tree.at("v")).empty());
}

TEST(WipeProbe, TheProbeChangesNothingAndRefusesWhatItCannotWrite) {
    TempTree tree("probe");
    const std::string file = tree.file("data.bin", "twelve bytes");
    EXPECT_TRUE(IsFileWritable(file));
    EXPECT_EQ(GetFileAttributesA(file.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExA(file.c_str(), GetFileExInfoStandard, &data);
    EXPECT_EQ(data.nFileSizeLow, 12u);

    EXPECT_FALSE(IsFileWritable(tree.at("absent.bin")));
    EXPECT_FALSE(IsFileWritable(tree.mkdir("folder")));
    EXPECT_FALSE(IsFileWritable(""));
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
    TempTree tree("probe");
    const std::string folder = tree.path() + "\\";
    const std::string name = folder + std::string(260 - folder.size(), 'n');
    ASSERT_EQ(name.size(), 260u);
    testsupport::writeFile(name);
    EXPECT_TRUE(IsFileWritable(name));
    EXPECT_FALSE(IsFileWritable(name + "-longer"));
}

TEST(WipeFirstSubFolder, FindsTheFirstFolderInListingOrder) {
    TempTree tree("first");
    tree.file("w\\a-file.txt");
    tree.mkdir("w\\m-folder");
    tree.mkdir("w\\z-folder");
    EXPECT_EQ(FirstSubFolder(tree.at("w")), tree.at("w\\m-folder"));
    EXPECT_EQ(FirstSubFolder(tree.at("w") + "\\"), tree.at("w\\m-folder"));
    EXPECT_EQ(FirstSubFolder(tree.at("w\\m-folder")), "");
    EXPECT_EQ(FirstSubFolder(tree.at("missing")), "");
}
