// A Desktop full of damaged real-world shortcuts beside real orphans: the scan must
// neither crash nor hang, and must still list the orphans.
#include <gtest/gtest.h>

#include "shortcuts/LinkFormat.h"
#include "shortcuts/OrphanScan.h"
#include "tests/shortcuts/LinkCorpus.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <iterator>

using namespace shortcuts;

TEST(MutantScan, DamagedShortcutsNeverStopTheScan) {
    const std::vector<linkcorpus::Shortcut> corpus = linkcorpus::load();
    const std::vector<linkcorpus::Bytes> mutants = linkcorpus::mutants(corpus, 3000, 20240611);

    testsupport::TempTree tree(L"mutants");
    const std::wstring desktop = tree.mkdir(L"Desktop");
    std::vector<std::wstring> damaged; // the mutants that do not add up
    for (std::size_t i = 0; i < mutants.size(); ++i) {
        wchar_t name[32];
        std::swprintf(name, std::size(name), L"\\m%04u.lnk", static_cast<unsigned>(i));
        testsupport::writeFile(desktop + name, std::string(mutants[i].begin(), mutants[i].end()));
        if (!IsWellFormedLink(mutants[i]))
            damaged.push_back(desktop + name);
    }
    // Names that sort before, between and after the mutants, and one in a folder.
    const std::vector<std::wstring> orphans = {
        desktop + L"\\Folder\\deep.lnk", desktop + L"\\a first.lnk", desktop + L"\\m1500b.lnk",
        desktop + L"\\zz last.lnk"};
    for (std::size_t i = 0; i < orphans.size(); ++i)
        linkfixtures::makeOrphan(orphans[i], tree.at(L"removed\\" + std::to_wstring(i) + L".exe"));

    OrphanList listed;
    TPBShellLink link;
    ScanForOrphans(desktop, true, listed, link);

    for (const std::wstring& orphan : orphans)
        EXPECT_NE(std::find(listed.begin(), listed.end(), orphan), listed.end()) << orphan;
    // A damaged file never reaches the shell, so it can never be listed, however much of
    // it the shell could have made sense of.
    for (const std::wstring& path : damaged)
        EXPECT_EQ(std::find(listed.begin(), listed.end(), path), listed.end()) << path;
    std::printf("%u mutants, %u of them damaged; %u shortcuts listed\n",
                static_cast<unsigned>(mutants.size()), static_cast<unsigned>(damaged.size()),
                static_cast<unsigned>(listed.size()));
}
