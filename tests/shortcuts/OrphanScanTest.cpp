// The orphaned-shortcut scan over real shortcut trees in the prefix.
#include <gtest/gtest.h>

#include "shortcuts/OrphanScan.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

using namespace shortcuts;
using linkfixtures::makeOrphan;
using linkfixtures::makeShortcut;
using testsupport::TempTree;
using List = std::vector<std::string>;

namespace {

// Removes paths outside the test's own tree (drive roots) on every way out.
using testsupport::RemoveAtEnd;

List scan(const std::string& folder, bool recurse = true) {
    OrphanList orphans;
    TPBShellLink link;
    ScanForOrphans(folder, recurse, orphans, link);
    return orphans;
}

} // namespace

TEST(OrphanScanHelpers, DrivePartOfTargets) {
    EXPECT_EQ(DrivePart("c:\\x\\y.exe"), "C:");
    EXPECT_EQ(DrivePart("d:"), "D:");
    EXPECT_EQ(DrivePart("\\\\server\\share\\dir\\a.exe"), "\\\\SERVER\\SHARE");
    EXPECT_EQ(DrivePart("\\\\server"), "\\\\SERVER");
    EXPECT_EQ(DrivePart("relative\\a.exe"), "");
    EXPECT_EQ(DrivePart("\\rooted\\a.exe"), "");
    EXPECT_EQ(DrivePart(""), "");
}

class OrphanScan : public ::testing::Test {
protected:
    TempTree tree{"orphans"};
    // Targets that must never be listed live in a folder that exists.
    std::string existing = tree.file("present\\tool.exe");
};

TEST_F(OrphanScan, ListsOnlyMissingTargetsOnFixedDrives) {
    makeOrphan(tree.at("desk\\gone.lnk"), tree.at("removed\\gone.exe"));
    makeOrphan(tree.at("desk\\CAPS.LNK"), tree.at("removed\\caps.exe"));
    const std::string onD = "D:\\bs-removed-" + std::to_string(GetCurrentProcessId());
    makeOrphan(tree.at("desk\\onD.lnk"), onD + "\\gone.exe");
    testsupport::removeTree(onD);
    makeShortcut(tree.at("desk\\file.lnk"), existing);
    makeShortcut(tree.at("desk\\folder.lnk"), tree.path() + "\\present");
    makeShortcut(tree.at("desk\\unc.lnk"), "\\\\nosuchserver\\share\\gone.exe");
    makeOrphan(tree.at("desk\\cdrom.lnk"), "E:\\gone.exe");
    makeOrphan(tree.at("desk\\removable.lnk"), "F:\\gone.exe");
    makeOrphan(tree.at("desk\\network.lnk"), "N:\\gone.exe");
    linkfixtures::makeIdListShortcut(tree.at("desk\\computer.lnk"));
    // Orphans under other names are never examined.
    makeOrphan(tree.at("desk\\program.pif"), tree.at("removed\\pif.exe"));
    makeOrphan(tree.at("desk\\page.url"), tree.at("removed\\url.exe"));
    // A corrupt shortcut sorts first and must not stop the folder's later shortcuts.
    linkfixtures::makeCorruptShortcut(tree.at("desk\\0corrupt.lnk"));
    tree.mkdir("desk\\dir.lnk");
    testsupport::writeFile(tree.at("desk\\.lnk"), "");

    const std::string desk = tree.at("desk");
    EXPECT_EQ(scan(desk), (List{desk + "\\CAPS.LNK", desk + "\\gone.lnk", desk + "\\onD.lnk"}));
}

TEST_F(OrphanScan, PostOrderAndOnlyPlainFolders) {
    const std::string menu = tree.mkdir("Start Menu");
    makeOrphan(menu + "\\a.lnk", tree.at("removed\\a.exe"));
    makeOrphan(menu + "\\Programs\\Deep\\Deeper\\deep.lnk", tree.at("removed\\d.exe"));
    makeOrphan(menu + "\\Programs\\p.lnk", tree.at("removed\\p.exe"));
    makeOrphan(menu + "\\Hidden\\h.lnk", tree.at("removed\\h.exe"));
    makeOrphan(menu + "\\System\\s.lnk", tree.at("removed\\s.exe"));
    makeOrphan(menu + "\\Both\\b.lnk", tree.at("removed\\b.exe"));
    makeOrphan(menu + "\\Sibling\\z.lnk", tree.at("removed\\z.exe"));
    ASSERT_TRUE(SetFileAttributesA((menu + "\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesA((menu + "\\System").c_str(), FILE_ATTRIBUTE_SYSTEM));
    // Wine keeps neither an archive nor a read-only bit on a folder it is asked to mark;
    // hidden and system (kept in an extended attribute) stand for every extra flag.
    ASSERT_TRUE(SetFileAttributesA((menu + "\\Both").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_EQ(GetFileAttributesA((menu + "\\System").c_str()), 0x14u);

    const List expected{menu + "\\Programs\\Deep\\Deeper\\deep.lnk", menu + "\\Programs\\p.lnk",
                        menu + "\\Sibling\\z.lnk", menu + "\\a.lnk"};
    EXPECT_EQ(scan(menu), expected);
    EXPECT_EQ(scan(menu + "\\"), expected); // never a doubled backslash
    EXPECT_EQ(scan(menu, false), List{menu + "\\a.lnk"});

    // The list is only appended to: a second scan lists every orphan again.
    OrphanList twice;
    TPBShellLink link;
    ScanForOrphans(menu, true, twice, link);
    ScanForOrphans(menu + "\\Programs", true, twice, link);
    EXPECT_EQ(twice.size(), 6u);
    EXPECT_EQ(twice.back(), menu + "\\Programs\\p.lnk");
}

TEST_F(OrphanScan, MissingOrEmptyFoldersYieldNothing) {
    EXPECT_TRUE(scan(tree.at("no such folder")).empty());
    EXPECT_TRUE(scan(tree.at("no such folder"), false).empty());
    // An empty path must not scan the current drive's root, which holds an orphan here.
    const std::string root = "C:\\!bs-orphan-" + std::to_string(GetCurrentProcessId()) + ".lnk";
    const RemoveAtEnd cleanup{{root}};
    makeOrphan(root, tree.at("removed\\root.exe"));
    char current[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, current);
    SetCurrentDirectoryA("C:\\");
    EXPECT_TRUE(scan("").empty());
    EXPECT_TRUE(scan("", false).empty());
    SetCurrentDirectoryA(current);
}

TEST_F(OrphanScan, DriveRootFirstEntryIsExamined) {
    // D:\ has no "." or "..": its first entry (names sort by upper case) must be tested.
    const std::string tag = std::to_string(GetCurrentProcessId());
    const std::string firstLink = "D:\\!!!!bs-" + tag + ".lnk";
    const std::string firstDir = "D:\\!!!bs-" + tag;
    const RemoveAtEnd cleanup{{firstLink, firstDir}};
    makeOrphan(firstLink, tree.at("removed\\first.exe"));
    makeOrphan(firstDir + "\\inner.lnk", tree.at("removed\\inner.exe"));
    const auto has = [](const List& found, const std::string& path) {
        return std::find(found.begin(), found.end(), path) != found.end();
    };
    EXPECT_TRUE(has(scan("D:\\", false), firstLink));
    DeleteFileA(firstLink.c_str()); // now the folder comes first
    EXPECT_TRUE(has(scan("D:\\"), firstDir + "\\inner.lnk"));
}

TEST_F(OrphanScan, LongTargetsAreNeverCalledGone) {
    // A target the ANSI attribute query cannot take is not proof of absence.
    std::string deep = tree.path();
    while (deep.size() < MAX_PATH + 20)
        deep += "\\" + std::string(40, 'd');
    makeShortcut(tree.at("long\\long.lnk"), deep + "\\tool.exe");
    EXPECT_TRUE(scan(tree.at("long")).empty());
}

TEST(UnredirectedAttributes, AnswersLikeTheAttributeQuery) {
    EXPECT_NE(UnredirectedAttributes("C:\\windows\\system32\\kernel32.dll"),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(UnredirectedAttributes("C:\\windows\\system32\\no-such-file.exe"),
              INVALID_FILE_ATTRIBUTES);
}
