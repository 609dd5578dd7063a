#include "tests/shortcuts/LinkFixtures.h"

#include "shortcuts/ComPtr.h"
#include "tests/support/TestSupport.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <stdexcept>
#include <vector>

namespace linkfixtures {

namespace {

using shortcuts::ComInit;
using shortcuts::ComPtr;

void check(HRESULT hr, const char* what, const std::string& path) {
    if (FAILED(hr))
        throw std::runtime_error(std::string(what) + " failed for " + path);
}

ComPtr<IShellLinkA> newLink() {
    ComPtr<IShellLinkA> link;
    check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                           link.put()),
          "CoCreateInstance", "");
    return link;
}

// The shell does not make missing folders for a new shortcut.
void makeParentFolders(const std::string& path) {
    for (auto cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1))
        CreateDirectoryA(path.substr(0, cut).c_str(), nullptr);
}

void save(IShellLinkA* link, const std::string& linkPath) {
    makeParentFolders(linkPath);
    ComPtr<IPersistFile> file;
    check(link->QueryInterface(IID_IPersistFile, file.put()), "QueryInterface", linkPath);
    const int size = MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, nullptr, 0);
    std::vector<wchar_t> wide(static_cast<size_t>(size));
    MultiByteToWideChar(CP_ACP, 0, linkPath.c_str(), -1, wide.data(), size);
    check(file->Save(wide.data(), TRUE), "Save", linkPath);
}

} // namespace

void makeShortcut(const std::string& linkPath, const std::string& target,
                  const LinkOptions& options) {
    const ComInit com;
    ComPtr<IShellLinkA> link = newLink();
    check(link->SetPath(target.c_str()), "SetPath", target);
    if (!options.arguments.empty())
        link->SetArguments(options.arguments.c_str());
    if (!options.workingDir.empty())
        link->SetWorkingDirectory(options.workingDir.c_str());
    if (!options.description.empty())
        link->SetDescription(options.description.c_str());
    if (!options.iconFile.empty())
        link->SetIconLocation(options.iconFile.c_str(), options.iconIndex);
    link->SetShowCmd(options.showCmd);
    if (options.hotKey)
        link->SetHotkey(options.hotKey);
    save(link.get(), linkPath);
}

void makeOrphan(const std::string& linkPath, const std::string& target) {
    testsupport::writeFile(target, "MZ");
    makeShortcut(linkPath, target);
    DeleteFileA(target.c_str());
}

void makeIdListShortcut(const std::string& linkPath) {
    const ComInit com;
    ComPtr<IShellLinkA> link = newLink();
    LPITEMIDLIST myComputer = nullptr;
    check(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &myComputer), "SHGetSpecialFolder",
          linkPath);
    const HRESULT hr = link->SetIDList(myComputer);
    CoTaskMemFree(myComputer);
    check(hr, "SetIDList", linkPath);
    save(link.get(), linkPath);
}

void makeCorruptShortcut(const std::string& linkPath) {
    testsupport::writeFile(linkPath, "This is not a shell link, only text named like one.\r\n");
}

} // namespace linkfixtures
