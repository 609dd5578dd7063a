// The orphaned-shortcut scan over real shortcut trees in the prefix.
#include <gtest/gtest.h>

#include "shortcuts/OrphanScan.h"
#include "shortcuts/RemoveOrphans.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

using namespace shortcuts;
using linkfixtures::makeOrphan;
using linkfixtures::makeShortcut;
using testsupport::TempTree;
using List = std::vector<std::wstring>;

namespace {

// Removes paths outside the test's own tree (drive roots) on every way out.
using testsupport::RemoveAtEnd;

List scan(const std::wstring& folder, bool recurse = true) {
    OrphanList orphans;
    TPBShellLink link;
    ScanForOrphans(folder, recurse, orphans, link);
    return orphans;
}

} // namespace

TEST(OrphanScanHelpers, DrivePartOfTargets) {
    EXPECT_EQ(DrivePart(L"c:\\x\\y.exe"), L"C:");
    EXPECT_EQ(DrivePart(L"d:"), L"D:");
    EXPECT_EQ(DrivePart(L"\\\\server\\share\\dir\\a.exe"), L"\\\\SERVER\\SHARE");
    EXPECT_EQ(DrivePart(L"\\\\server"), L"\\\\SERVER");
    EXPECT_EQ(DrivePart(L"relative\\a.exe"), L"");
    EXPECT_EQ(DrivePart(L"\\rooted\\a.exe"), L"");
    EXPECT_EQ(DrivePart(L""), L"");
}

class OrphanScan : public ::testing::Test {
protected:
    TempTree tree{L"orphans"};
    // Targets that must never be listed live in a folder that exists.
    std::wstring existing = tree.file(L"present\\tool.exe");
};

TEST_F(OrphanScan, ListsOnlyMissingTargetsOnFixedDrives) {
    makeOrphan(tree.at(L"desk\\gone.lnk"), tree.at(L"removed\\gone.exe"));
    makeOrphan(tree.at(L"desk\\CAPS.LNK"), tree.at(L"removed\\caps.exe"));
    const std::wstring onD = L"D:\\bs-removed-" + std::to_wstring(GetCurrentProcessId());
    makeOrphan(tree.at(L"desk\\onD.lnk"), onD + L"\\gone.exe");
    testsupport::removeTree(onD);
    makeShortcut(tree.at(L"desk\\file.lnk"), existing);
    makeShortcut(tree.at(L"desk\\folder.lnk"), tree.path() + L"\\present");
    makeShortcut(tree.at(L"desk\\unc.lnk"), L"\\\\nosuchserver\\share\\gone.exe");
    makeOrphan(tree.at(L"desk\\cdrom.lnk"), L"E:\\gone.exe");
    makeOrphan(tree.at(L"desk\\removable.lnk"), L"F:\\gone.exe");
    makeOrphan(tree.at(L"desk\\network.lnk"), L"N:\\gone.exe");
    linkfixtures::makeIdListShortcut(tree.at(L"desk\\computer.lnk"));
    // Orphans under other names are never examined.
    makeOrphan(tree.at(L"desk\\program.pif"), tree.at(L"removed\\pif.exe"));
    makeOrphan(tree.at(L"desk\\page.url"), tree.at(L"removed\\url.exe"));
    // A corrupt shortcut sorts first and must not stop the folder's later shortcuts.
    linkfixtures::makeCorruptShortcut(tree.at(L"desk\\0corrupt.lnk"));
    tree.mkdir(L"desk\\dir.lnk");
    testsupport::writeFile(tree.at(L"desk\\.lnk"), "");

    const std::wstring desk = tree.at(L"desk");
    EXPECT_EQ(scan(desk), (List{desk + L"\\CAPS.LNK", desk + L"\\gone.lnk", desk + L"\\onD.lnk"}));
}

TEST_F(OrphanScan, PostOrderAndOnlyPlainFolders) {
    const std::wstring menu = tree.mkdir(L"Start Menu");
    makeOrphan(menu + L"\\a.lnk", tree.at(L"removed\\a.exe"));
    makeOrphan(menu + L"\\Programs\\Deep\\Deeper\\deep.lnk", tree.at(L"removed\\d.exe"));
    makeOrphan(menu + L"\\Programs\\p.lnk", tree.at(L"removed\\p.exe"));
    makeOrphan(menu + L"\\Hidden\\h.lnk", tree.at(L"removed\\h.exe"));
    makeOrphan(menu + L"\\System\\s.lnk", tree.at(L"removed\\s.exe"));
    makeOrphan(menu + L"\\Both\\b.lnk", tree.at(L"removed\\b.exe"));
    makeOrphan(menu + L"\\Sibling\\z.lnk", tree.at(L"removed\\z.exe"));
    ASSERT_TRUE(SetFileAttributesW((menu + L"\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(SetFileAttributesW((menu + L"\\System").c_str(), FILE_ATTRIBUTE_SYSTEM));
    // Wine keeps neither an archive nor a read-only bit on a folder it is asked to mark;
    // hidden and system (kept in an extended attribute) stand for every extra flag.
    ASSERT_TRUE(SetFileAttributesW((menu + L"\\Both").c_str(),
                                   FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_EQ(GetFileAttributesW((menu + L"\\System").c_str()), 0x14u);

    const List expected{menu + L"\\Programs\\Deep\\Deeper\\deep.lnk", menu + L"\\Programs\\p.lnk",
                        menu + L"\\Sibling\\z.lnk", menu + L"\\a.lnk"};
    EXPECT_EQ(scan(menu), expected);
    EXPECT_EQ(scan(menu + L"\\"), expected); // never a doubled backslash
    EXPECT_EQ(scan(menu, false), List{menu + L"\\a.lnk"});

    // The list is only appended to: a second scan lists every orphan again.
    OrphanList twice;
    TPBShellLink link;
    ScanForOrphans(menu, true, twice, link);
    ScanForOrphans(menu + L"\\Programs", true, twice, link);
    EXPECT_EQ(twice.size(), 6u);
    EXPECT_EQ(twice.back(), menu + L"\\Programs\\p.lnk");
}

TEST_F(OrphanScan, MissingOrEmptyFoldersYieldNothing) {
    EXPECT_TRUE(scan(tree.at(L"no such folder")).empty());
    EXPECT_TRUE(scan(tree.at(L"no such folder"), false).empty());
    // An empty path must not scan the current drive's root, which holds an orphan here.
    const std::wstring root = L"C:\\!bs-orphan-" + std::to_wstring(GetCurrentProcessId()) + L".lnk";
    const RemoveAtEnd cleanup{{root}};
    makeOrphan(root, tree.at(L"removed\\root.exe"));
    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    SetCurrentDirectoryW(L"C:\\");
    EXPECT_TRUE(scan(L"").empty());
    EXPECT_TRUE(scan(L"", false).empty());
    SetCurrentDirectoryW(current);
}

TEST_F(OrphanScan, DriveRootFirstEntryIsExamined) {
    // D:\ has no "." or "..": its first entry (names sort by upper case) must be tested.
    const std::wstring tag = std::to_wstring(GetCurrentProcessId());
    const std::wstring firstLink = L"D:\\!!!!bs-" + tag + L".lnk";
    const std::wstring firstDir = L"D:\\!!!bs-" + tag;
    const RemoveAtEnd cleanup{{firstLink, firstDir}};
    makeOrphan(firstLink, tree.at(L"removed\\first.exe"));
    makeOrphan(firstDir + L"\\inner.lnk", tree.at(L"removed\\inner.exe"));
    const auto has = [](const List& found, const std::wstring& path) {
        return std::find(found.begin(), found.end(), path) != found.end();
    };
    EXPECT_TRUE(has(scan(L"D:\\", false), firstLink));
    DeleteFileW(firstLink.c_str()); // now the folder comes first
    EXPECT_TRUE(has(scan(L"D:\\"), firstDir + L"\\inner.lnk"));
}

TEST_F(OrphanScan, LongTargetsAreNeverCalledGone) {
    // A target the ANSI attribute query cannot take is not proof of absence.
    std::wstring deep = tree.path();
    while (deep.size() < MAX_PATH + 20)
        deep += L"\\" + std::wstring(40, L'd');
    makeShortcut(tree.at(L"long\\long.lnk"), deep + L"\\tool.exe");
    EXPECT_TRUE(scan(tree.at(L"long")).empty());
}

TEST(UnredirectedAttributes, AnswersLikeTheAttributeQuery) {
    EXPECT_NE(UnredirectedAttributes(L"C:\\windows\\system32\\kernel32.dll"),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(UnredirectedAttributes(L"C:\\windows\\system32\\no-such-file.exe"),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(OrphanScan, FullwidthDotsInAFolderNameNeverLeadTheScanOrTheRemovalOutside) {
    // "．．＼．．" reads as "..\.." to an ANSI program: a shortcut in it would pass for the one
    // two folders above the Desktop.
    const std::wstring dots = L"\xFF0E\xFF0E\xFF3C\xFF0E\xFF0E";
    const std::wstring inside = tree.at(L"a\\b\\desk\\" + dots + L"\\old.lnk");
    const std::wstring outside = tree.at(L"a\\old.lnk");
    makeOrphan(inside, tree.at(L"removed\\in.exe"));
    makeOrphan(outside, tree.at(L"removed\\out.exe"));
    const List listed = scan(tree.at(L"a\\b\\desk"));
    ASSERT_EQ(listed, List{inside});
    RemoveOrphanedShortcuts(listed, true);
    EXPECT_FALSE(testsupport::pathExists(inside));
    EXPECT_FALSE(tree.exists(L"a\\b\\desk\\" + dots)); // emptied, so removed
    EXPECT_TRUE(testsupport::pathExists(outside));
}
