#include "shortcuts/OrphanScan.h"

#include "engine/Areas.h"
#include "engine/FolderEntries.h"

#include <windows.h>

#include <algorithm>

namespace shortcuts {

namespace {

// WOW64's file-system redirection, switched off for one scope when the process runs
// under WOW64. The entry points are looked up at run time: older systems lack them.
class RedirectionOff {
public:
    RedirectionOff() {
        const Api& api = functions();
        if (api.disable && api.revert)
            active_ = api.disable(&previous_) != FALSE;
    }
    RedirectionOff(const RedirectionOff&) = delete;
    RedirectionOff& operator=(const RedirectionOff&) = delete;
    ~RedirectionOff() {
        if (active_)
            functions().revert(previous_);
    }

private:
    using IsWow64Fn = BOOL(WINAPI*)(HANDLE, PBOOL);
    using DisableFn = BOOL(WINAPI*)(PVOID*);
    using RevertFn = BOOL(WINAPI*)(PVOID);
    // Both null unless the process runs under WOW64, which cannot change while it runs.
    struct Api {
        DisableFn disable = nullptr;
        RevertFn revert = nullptr;
    };
    template <class Fn> static Fn procedure(HMODULE module, const char* name) {
        return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
    }
    static const Api& functions() {
        static const Api api = [] {
            Api found;
            const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
            if (!kernel)
                return found;
            const auto isWow64 = procedure<IsWow64Fn>(kernel, "IsWow64Process");
            BOOL wow64 = FALSE;
            if (!isWow64 || !isWow64(GetCurrentProcess(), &wow64) || !wow64)
                return found;
            found.disable = procedure<DisableFn>(kernel, "Wow64DisableWow64FsRedirection");
            found.revert = procedure<RevertFn>(kernel, "Wow64RevertWow64FsRedirection");
            return found;
        }();
        return api;
    }

    PVOID previous_ = nullptr;
    bool active_ = false;
};

} // namespace

DWORD UnredirectedAttributes(const std::wstring& path) {
    const RedirectionOff off;
    return GetFileAttributesW(path.c_str());
}

std::wstring DrivePart(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':')
        return AsciiUpper(path.substr(0, 2));
    if (path.rfind(L"\\\\", 0) == 0) {
        const auto server = path.find(L'\\', 2);
        if (server == std::wstring::npos)
            return AsciiUpper(path);
        const auto share = path.find(L'\\', server + 1);
        return AsciiUpper(path.substr(0, share));
    }
    return {};
}

void ScanForOrphans(const std::wstring& folder, bool recurse, OrphanList& orphans,
                    TPBShellLink& link) {
    // A missing shell folder must not turn into a scan of the current drive's root.
    if (folder.empty())
        return;
    const std::wstring base = engine::WithBackslash(folder);
    if (recurse) {
        // Every entry is listed, hidden and system ones included; the test below decides.
        engine::ForEachEntry(base, [&](const WIN32_FIND_DATAW& entry) {
            // Only plain folders: hidden, system, read-only or linked ones are left alone.
            if ((entry.dwFileAttributes | FILE_ATTRIBUTE_DIRECTORY) == FILE_ATTRIBUTE_DIRECTORY)
                ScanForOrphans(base + entry.cFileName, true, orphans, link);
        });
    }
    CheckFolderShortcuts(base, orphans, link);
}

void CheckFolderShortcuts(const std::wstring& folder, OrphanList& orphans, TPBShellLink& link) {
    if (folder.empty())
        return;
    std::vector<std::wstring> fixedDrives;
    engine::GetFixedDrives(fixedDrives);
    const std::wstring base = engine::WithBackslash(folder);
    engine::ForEachEntry(base, [&](const WIN32_FIND_DATAW& entry) {
        if (AsciiLower(ExtractFileExt(entry.cFileName)) != L".lnk")
            return;
        try {
            const std::wstring path = base + entry.cFileName;
            link.SetFileName(path);
            link.Load();
            const std::wstring& target = link.Target();
            const std::wstring drive = DrivePart(target);
            if (drive.empty() ||
                std::find(fixedDrives.begin(), fixedDrives.end(), drive) == fixedDrives.end())
                return;
            // A target too long for the ANSI query cannot be tested: never call it gone.
            if (target.size() >= MAX_PATH)
                return;
            if (UnredirectedAttributes(target) == INVALID_FILE_ATTRIBUTES)
                orphans.push_back(path);
        } catch (...) {
            // One unreadable shortcut must not stop the scan.
        }
    });
}

} // namespace shortcuts
