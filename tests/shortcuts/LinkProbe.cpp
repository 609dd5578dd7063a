// Command-line probe for the host-side cross-checks:
//   LinkProbe make <folder>     writes the fixture shortcuts into <folder>
//   LinkProbe targets <folder>  prints "<path>\t<Target>" (or "<path>\t!<error>") for every
//                               .lnk file below <folder>, loaded through TPBShellLink
//   LinkProbe scan <folder>     prints the orphaned shortcuts ScanForOrphans lists
//   LinkProbe info <file>       prints what TPBShellLink reads from one shortcut
//   LinkProbe desktop           prints the Desktop path from "Shell Folders"
#include "shortcuts/OrphanScan.h"
#include "tests/shortcuts/LinkFixtures.h"
#include "tests/support/TestSupport.h"

#include <commctrl.h>
#include <shellapi.h>
#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

using namespace shortcuts;

namespace {

// The host reads this output as bytes: a character outside ASCII, and "&" itself, is written
// as "&#N;" (one per UTF-16 unit), so no name passes through a code page on its way there.
std::string hostText(const std::wstring& text) {
    std::string out;
    for (const wchar_t c : text) {
        if (c < 0x80 && c != L'&')
            out.push_back(static_cast<char>(c));
        else
            out += "&#" + std::to_string(static_cast<unsigned>(c)) + ";";
    }
    return out;
}

void makeFixtures(const std::wstring& folder) {
    const std::wstring gone = folder + L"\\gone";
    linkfixtures::makeOrphan(folder + L"\\deleted program.lnk", gone + L"\\program.exe");
    linkfixtures::makeShortcut(folder + L"\\existing file.lnk", folder + L"\\present\\readme.txt");
    testsupport::writeFile(folder + L"\\present\\readme.txt");
    linkfixtures::makeShortcut(folder + L"\\existing folder.lnk", folder + L"\\present");
    linkfixtures::makeShortcut(folder + L"\\unc.lnk", L"\\\\server\\share\\tool.exe");
    linkfixtures::makeOrphan(folder + L"\\cdrom.lnk", L"E:\\setup.exe");
    linkfixtures::makeOrphan(folder + L"\\removable.lnk", L"F:\\photos\\viewer.exe");
    linkfixtures::makeOrphan(folder + L"\\network.lnk", L"N:\\apps\\shared.exe");
    linkfixtures::makeOrphan(folder + L"\\UPPER.LNK", gone + L"\\upper.exe");
    linkfixtures::LinkOptions hotKey;
    hotKey.hotKey = MAKEWORD(L'Q', HOTKEYF_CONTROL | HOTKEYF_ALT);
    hotKey.showCmd = SW_SHOWMINNOACTIVE;
    linkfixtures::makeShortcut(folder + L"\\hot key.lnk", folder + L"\\present", hotKey);
    linkfixtures::makeIdListShortcut(folder + L"\\my computer.lnk");
    linkfixtures::makeCorruptShortcut(folder + L"\\corrupt.lnk");
}

void listTargets(const std::wstring& folder, TPBShellLink& link) {
    for (const std::wstring& name : testsupport::listFolder(folder)) {
        const std::wstring path = folder + L"\\" + name;
        if (GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY) {
            listTargets(path, link);
            continue;
        }
        if (AsciiLower(ExtractFileExt(name)) != L".lnk")
            continue;
        try {
            link.LoadFromFile(path);
            std::printf("%s\t%s\n", hostText(path).c_str(), hostText(link.Target()).c_str());
        } catch (const std::exception& e) {
            std::printf("%s\t!%s\n", hostText(path).c_str(), e.what());
        }
        std::fflush(stdout);
    }
}

} // namespace

int main() {
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    if (!argv || argc < 2)
        return 2;
    // As the program's main thread does: COM held once for the whole run.
    CoInitialize(nullptr);
    const std::wstring command = argv[1];
    const std::wstring folder = argc > 2 ? argv[2] : L"";
    int rc = 0;
    try {
        TPBShellLink link;
        if (command == L"make") {
            makeFixtures(folder);
        } else if (command == L"targets") {
            listTargets(folder, link);
        } else if (command == L"scan") {
            OrphanList orphans;
            ScanForOrphans(folder, true, orphans, link);
            for (const auto& path : orphans)
                std::printf("%s\n", hostText(path).c_str());
        } else if (command == L"info") {
            link.LoadFromFile(folder);
            std::printf("target=%s\nshow=%d\nhotkey=%04x\nargs=%s\nicon=%s,%d\n",
                        hostText(link.Target()).c_str(), link.ShowCmd(), link.HotKeyCode(),
                        hostText(link.Arguments()).c_str(),
                        hostText(link.FileIcon().FileName()).c_str(), link.FileIcon().IconIndex());
        } else if (command == L"desktop") {
            std::printf("%s\n", hostText(ShellFolderPath(sfDesktop)).c_str());
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
