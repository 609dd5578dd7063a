#include "tests/engine/EngineFixtures.h"

#include "tests/support/TestSupport.h"

#include <cwctype>
#include <vector>

namespace enginetest {

std::wstring unixPathOf(const std::wstring& windowsPath) {
    // The prefix keeps a link per drive letter in dosdevices; below it the names are the
    // same, letter case included for the folders the tests make.
    wchar_t prefix[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || windowsPath.size() < 3 || windowsPath[1] != L':')
        return {};
    std::wstring unix = std::wstring(prefix, length) + L"/dosdevices/" +
                        static_cast<wchar_t>(towlower(windowsPath[0])) + L":";
    for (const wchar_t c : windowsPath.substr(2))
        unix += c == L'\\' ? L'/' : c;
    return unix;
}

namespace {
DWORD attributesOf(const std::wstring& path) {
    return GetFileAttributesW(path.c_str());
}

// Starts a host program through Wine's Unix namespace; true when it started.
bool runUnixCommand(const std::wstring& program, const std::wstring& arguments) {
    const std::wstring application = L"\\\\?\\unix" + program;
    std::wstring commandLine = program + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return false;
    // Wine hands a Unix program over without a process to wait for: callers poll for the
    // program's effect.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool isLink(const std::wstring& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
} // namespace

FolderLink::FolderLink(const std::wstring& link, const std::wstring& target) : link_(link) {
    const std::wstring unixTarget = unixPathOf(target);
    const std::wstring parent = link.substr(0, link.find_last_of(L'\\'));
    const std::wstring unixLink =
        unixPathOf(parent) + L"/" + link.substr(link.find_last_of(L'\\') + 1);
    if (!unixTarget.empty())
        runUnixCommand(L"/bin/ln", L"-s " + unixTarget + L" " + unixLink);
    else
        CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY);
    made_ = testsupport::waitUntil([&] { return isLink(link); }, 2000);
}

FolderLink::~FolderLink() {
    const std::wstring unixLink = unixPathOf(link_);
    if (!unixLink.empty()) {
        if (runUnixCommand(L"/bin/rm", L"-f " + unixLink))
            testsupport::waitUntil([&] { return attributesOf(link_) == INVALID_FILE_ATTRIBUTES; },
                                   2000);
    } else
        RemoveDirectoryW(link_.c_str());
}

CurrentFolder::CurrentFolder(const std::wstring& path) {
    wchar_t buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(static_cast<DWORD>(std::size(buffer)), buffer);
    previous_ = buffer;
    SetCurrentDirectoryW(path.c_str());
}

CurrentFolder::~CurrentFolder() {
    SetCurrentDirectoryW(previous_.c_str());
}

} // namespace enginetest
