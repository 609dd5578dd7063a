// Command-line probe for the host-side cross-checks:
//   LinkProbe make <folder>     writes the fixture shortcuts into <folder>
//   LinkProbe targets <folder>  prints "<path>\t<Target>" (or "<path>\t!<error>") for every
//                               .lnk file below <folder>, loaded through TPBShellLink
//   LinkProbe scan <folder>     prints the orphaned shortcuts ScanForOrphans lists
//   LinkProbe info <file>       prints what TPBShellLink reads from one shortcut
//   LinkProbe desktop           prints the Desktop path from "Shell Folders"
#include "engine/FolderEntries.h"
#include "shortcuts/OrphanScan.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

using namespace shortcuts;

namespace {

void makeFixtures(const std::string& folder) {
    const std::string gone = folder + "\\gone";
    linkfixtures::makeOrphan(folder + "\\deleted program.lnk", gone + "\\program.exe");
    linkfixtures::makeShortcut(folder + "\\existing file.lnk", folder + "\\present\\readme.txt");
    testsupport::writeFile(folder + "\\present\\readme.txt");
    linkfixtures::makeShortcut(folder + "\\existing folder.lnk", folder + "\\present");
    linkfixtures::makeShortcut(folder + "\\unc.lnk", "\\\\server\\share\\tool.exe");
    linkfixtures::makeOrphan(folder + "\\cdrom.lnk", "E:\\setup.exe");
    linkfixtures::makeOrphan(folder + "\\removable.lnk", "F:\\photos\\viewer.exe");
    linkfixtures::makeOrphan(folder + "\\network.lnk", "N:\\apps\\shared.exe");
    linkfixtures::makeOrphan(folder + "\\UPPER.LNK", gone + "\\upper.exe");
    linkfixtures::LinkOptions hotKey;
    hotKey.hotKey = MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_ALT);
    hotKey.showCmd = SW_SHOWMINNOACTIVE;
    linkfixtures::makeShortcut(folder + "\\hot key.lnk", folder + "\\present", hotKey);
    linkfixtures::makeIdListShortcut(folder + "\\my computer.lnk");
    linkfixtures::makeCorruptShortcut(folder + "\\corrupt.lnk");
}

void listTargets(const std::string& folder, TPBShellLink& link) {
    const std::string base = folder + "\\";
    engine::ForEachEntry(base, [&](const WIN32_FIND_DATAA& entry) {
        const std::string path = base + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            listTargets(path, link);
            return;
        }
        if (AsciiLower(ExtractFileExt(entry.cFileName)) != ".lnk")
            return;
        try {
            link.LoadFromFile(path);
            std::printf("%s\t%s\n", path.c_str(), link.Target().c_str());
        } catch (const std::exception& e) {
            std::printf("%s\t!%s\n", path.c_str(), e.what());
        }
        std::fflush(stdout);
    });
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return 2;
    // As the program's main thread does: COM held once for the whole run.
    CoInitialize(nullptr);
    const std::string command = argv[1];
    const std::string folder = argc > 2 ? argv[2] : "";
    int rc = 0;
    try {
        TPBShellLink link;
        if (command == "make") {
            makeFixtures(folder);
        } else if (command == "targets") {
            listTargets(folder, link);
        } else if (command == "scan") {
            OrphanList orphans;
            ScanForOrphans(folder, true, orphans, link);
            for (const auto& path : orphans)
                std::printf("%s\n", path.c_str());
        } else if (command == "info") {
            link.LoadFromFile(folder);
            std::printf("target=%s\nshow=%d\nhotkey=%04x\nargs=%s\nicon=%s,%d\n",
                        link.Target().c_str(), link.ShowCmd(), link.HotKeyCode(),
                        link.Arguments().c_str(), link.FileIcon().FileName().c_str(),
                        link.FileIcon().IconIndex());
        } else if (command == "desktop") {
            std::printf("%s\n", ShellFolderPath(sfDesktop).c_str());
        } else {
            rc = 2;
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        rc = 1;
    }
    CoUninitialize();
    return rc;
}
