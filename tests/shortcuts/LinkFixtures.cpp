#include "tests/shortcuts/LinkFixtures.h"

#include "engine/Error.h"

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

void check(HRESULT hr, const wchar_t* what, const std::wstring& path) {
    if (FAILED(hr))
        throw engine::Error(what + std::wstring(L" failed for ") + path);
}

ComPtr<IShellLinkW> newLink() {
    ComPtr<IShellLinkW> link;
    check(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                           link.put()),
          L"CoCreateInstance", L"");
    return link;
}

// The shell does not make missing folders for a new shortcut.
void makeParentFolders(const std::wstring& path) {
    for (auto cut = path.find(L'\\', 3); cut != std::wstring::npos; cut = path.find(L'\\', cut + 1))
        CreateDirectoryW(path.substr(0, cut).c_str(), nullptr);
}

void save(IShellLinkW* link, const std::wstring& linkPath) {
    makeParentFolders(linkPath);
    ComPtr<IPersistFile> file;
    check(link->QueryInterface(IID_IPersistFile, file.put()), L"QueryInterface", linkPath);
    check(file->Save(linkPath.c_str(), TRUE), L"Save", linkPath);
}

} // namespace

void makeShortcut(const std::wstring& linkPath, const std::wstring& target,
                  const LinkOptions& options) {
    const ComInit com;
    ComPtr<IShellLinkW> link = newLink();
    check(link->SetPath(target.c_str()), L"SetPath", target);
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

void makeOrphan(const std::wstring& linkPath, const std::wstring& target) {
    testsupport::writeFile(target, "MZ");
    makeShortcut(linkPath, target);
    DeleteFileW(target.c_str());
}

void makeIdListShortcut(const std::wstring& linkPath) {
    const ComInit com;
    ComPtr<IShellLinkW> link = newLink();
    LPITEMIDLIST myComputer = nullptr;
    check(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &myComputer), L"SHGetSpecialFolder",
          linkPath);
    const HRESULT hr = link->SetIDList(myComputer);
    CoTaskMemFree(myComputer);
    check(hr, L"SetIDList", linkPath);
    save(link.get(), linkPath);
}

void makeCorruptShortcut(const std::wstring& linkPath) {
    testsupport::writeFile(linkPath, "This is not a shell link, only text named like one.\r\n");
}

} // namespace linkfixtures
