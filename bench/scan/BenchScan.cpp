// Times the orphaned-shortcut scan over a Start Menu-like tree: 200 folders holding
// 2,000 shortcuts, half of them orphaned. Prints shortcuts per second.
#include "engine/Areas.h"
#include "shortcuts/OrphanScan.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

namespace {

constexpr int kTopFolders = 20;
constexpr int kSubFolders = 9;
constexpr int kFolders = kTopFolders * (1 + kSubFolders); // 200
constexpr int kLinksPerFolder = 10;

int makeTree(const std::wstring& menu, const std::wstring& targets) {
    int made = 0;
    const auto fill = [&](const std::wstring& folder) {
        for (int i = 0; i < kLinksPerFolder; ++i, ++made) {
            const std::wstring target = targets + L"\\app" + std::to_wstring(made) + L".exe";
            const std::wstring link = folder + L"\\Program " + std::to_wstring(i) + L".lnk";
            if (made % 2)
                linkfixtures::makeOrphan(link, target);
            else {
                testsupport::writeFile(target, "MZ");
                linkfixtures::makeShortcut(link, target);
            }
        }
    };
    for (int top = 0; top < kTopFolders; ++top) {
        const std::wstring vendor = menu + L"\\Vendor " + std::to_wstring(top);
        fill(vendor);
        for (int sub = 0; sub < kSubFolders; ++sub)
            fill(vendor + L"\\Product " + std::to_wstring(sub));
    }
    return made;
}

double secondsOf(const auto& work) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    work();
    QueryPerformanceCounter(&end);
    return double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

double timeScan(const std::wstring& menu, int links, const char* label) {
    double best = 1e9;
    for (int run = 0; run < 3; ++run) {
        shortcuts::OrphanList orphans;
        shortcuts::TPBShellLink link;
        const double seconds =
            secondsOf([&] { shortcuts::ScanForOrphans(menu, true, orphans, link); });
        if (orphans.size() != static_cast<size_t>(links / 2)) {
            std::printf("wrong result: %u orphans listed\n", unsigned(orphans.size()));
            std::exit(1);
        }
        best = std::min(best, seconds);
    }
    std::printf("%-28s %6.0f shortcuts/s (best of 3: %.3f s for %d)\n", label, links / best, best,
                links);
    return links / best;
}

// Where the time goes: the parts of one scan, each timed alone.
void breakdown(const std::wstring& menu) {
    std::vector<std::wstring> drives;
    const double drivesTime = secondsOf([&] {
        for (int i = 0; i < kFolders; ++i)
            engine::GetFixedDrives(drives);
    });
    std::vector<std::wstring> paths;
    for (int top = 0; top < kTopFolders; ++top)
        for (int i = 0; i < kLinksPerFolder; ++i)
            paths.push_back(menu + L"\\Vendor " + std::to_wstring(top) + L"\\Program " +
                            std::to_wstring(i) + L".lnk");
    shortcuts::TPBShellLink link;
    const double loadTime = secondsOf([&] {
        for (const auto& path : paths)
            link.LoadFromFile(path);
    });
    const double attributesTime = secondsOf([&] {
        for (const auto& path : paths)
            shortcuts::UnredirectedAttributes(path);
    });
    std::printf("per folder, fixed-drive list: %.3f ms\n", drivesTime * 1000 / kFolders);
    std::printf("per shortcut, load:           %.3f ms\n", loadTime * 1000 / paths.size());
    std::printf("per shortcut, attributes:     %.3f ms\n", attributesTime * 1000 / paths.size());
}

} // namespace

int main() {
    try {
        testsupport::TempTree tree(L"bench-scan");
        const std::wstring menu = tree.mkdir(L"Start Menu\\Programs");
        std::printf("making %d shortcuts in %d folders...\n", kFolders * kLinksPerFolder, kFolders);
        const int links = makeTree(menu, tree.mkdir(L"targets"));

        timeScan(menu, links, "COM initialised per load:");
        // The program's main thread holds COM for its whole life, as here.
        CoInitialize(nullptr);
        const double rate = timeScan(menu, links, "COM held by the thread:");
        breakdown(menu);
        CoUninitialize();
        std::printf("target 2000 shortcuts/s: %s\n", rate >= 2000 ? "met" : "NOT met");
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
