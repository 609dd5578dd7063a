#include "tests/engine/EngineFixtures.h"
#include "tests/support/TestSupport.h"

#include <vector>

namespace enginetest {

HeldOpen::HeldOpen(const std::string& path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                          OPEN_EXISTING, 0, nullptr)) {}

HeldOpen::~HeldOpen() {
    if (valid())
        CloseHandle(handle_);
}

DWORD attributesOf(const std::string& path) {
    return GetFileAttributesA(path.c_str());
}

void setAttributes(const std::string& path, DWORD attributes) {
    SetFileAttributesA(path.c_str(), attributes);
}

std::string unixPathOf(const std::string& windowsPath) {
    using UnixName = char*(CDECL*)(const WCHAR*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName)
        return {};
    std::vector<WCHAR> wide(windowsPath.size() + 1);
    MultiByteToWideChar(CP_ACP, 0, windowsPath.c_str(), -1, wide.data(),
                        static_cast<int>(wide.size()));
    char* name = unixName(wide.data());
    if (!name)
        return {};
    std::string result = name;
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

namespace {
// Starts a host program through Wine's Unix namespace; true when it started.
bool runUnixCommand(const std::string& program, const std::string& arguments) {
    const std::string application = "\\\\?\\unix" + program;
    std::string commandLine = program + " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(application.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0,
                        nullptr, nullptr, &startup, &process))
        return false;
    // Wine hands a Unix program over without a process to wait for: callers poll for the
    // program's effect.
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

bool isLink(const std::string& path) {
    const DWORD attributes = attributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}
} // namespace

namespace {
// On Windows itself (Vista on); the declaration needs a newer target than ours.
void createSymbolicLink(const std::string& link, const std::string& target) {
    using Create = BOOLEAN(WINAPI*)(const char*, const char*, DWORD);
    const auto create = reinterpret_cast<Create>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "CreateSymbolicLinkA")));
    if (create)
        create(link.c_str(), target.c_str(), 1 /* a folder */);
}
} // namespace

FolderLink::FolderLink(const std::string& link, const std::string& target) : link_(link) {
    const std::string unixTarget = unixPathOf(target);
    const std::string parent = link.substr(0, link.find_last_of('\\'));
    const std::string unixLink =
        unixPathOf(parent) + "/" + link.substr(link.find_last_of('\\') + 1);
    if (!unixTarget.empty())
        runUnixCommand("/bin/ln", "-s " + unixTarget + " " + unixLink);
    else
        createSymbolicLink(link, target);
    made_ = testsupport::waitUntil([&] { return isLink(link); }, 2000);
}

FolderLink::~FolderLink() {
    const std::string unixLink = unixPathOf(link_);
    if (!unixLink.empty()) {
        if (runUnixCommand("/bin/rm", "-f " + unixLink))
            testsupport::waitUntil([&] { return attributesOf(link_) == INVALID_FILE_ATTRIBUTES; },
                                   2000);
    } else
        RemoveDirectoryA(link_.c_str());
}

CurrentFolder::CurrentFolder(const std::string& path) {
    char buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryA(sizeof buffer, buffer);
    previous_ = buffer;
    SetCurrentDirectoryA(path.c_str());
}

CurrentFolder::~CurrentFolder() {
    SetCurrentDirectoryA(previous_.c_str());
}

} // namespace enginetest
