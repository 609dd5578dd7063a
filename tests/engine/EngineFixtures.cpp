#include "tests/engine/EngineFixtures.h"

#include "engine/Utf8.h"
#include "tests/support/TestSupport.h"

#include <vector>

namespace enginetest {

std::wstring unixPathOf(const std::wstring& windowsPath) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return {};
    char* name = unixName(windowsPath.c_str());
    if (!name)
        return {};
    // The host's name is UTF-8; it only ever goes back to the host, on a command line.
    std::wstring result = engine::FromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
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
