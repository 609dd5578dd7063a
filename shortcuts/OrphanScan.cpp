#include "shortcuts/OrphanScan.h"

#include "engine/Areas.h"
#include "engine/FolderAccess.h"
#include "engine/FolderHandle.h"

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

namespace {

constexpr ACCESS_MASK kListAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | SYNCHRONIZE;

struct Listed {
    std::wstring name;
    ULONG attributes;
    LONGLONG id;
};

// One open folder on the way down.
struct Level {
    engine::FileHandle owned; // empty for the folder the scan starts from
    HANDLE folder = nullptr;
    std::wstring reached; // what its entries are checked against
    std::wstring path;    // as the list shows it: the start folder and the names below it
    std::vector<Listed> entries;
    size_t next = 0;
};

// Appends each shortcut of `entries`, lying in `path`, whose target on a fixed drive is gone.
void checkShortcuts(const std::wstring& path, const std::vector<Listed>& entries,
                    OrphanList& orphans, TPBShellLink& link) {
    std::vector<std::wstring> fixedDrives;
    engine::GetFixedDrives(fixedDrives);
    for (const Listed& entry : entries) {
        if (AsciiLower(ExtractFileExt(entry.name)) != L".lnk")
            continue;
        try {
            const std::wstring shortcut = path + entry.name;
            link.SetFileName(shortcut);
            link.Load();
            const std::wstring& target = link.Target();
            const std::wstring drive = DrivePart(target);
            if (drive.empty() ||
                std::find(fixedDrives.begin(), fixedDrives.end(), drive) == fixedDrives.end())
                continue;
            // A target too long for a plain path query cannot be tested: never call it gone.
            if (target.size() >= MAX_PATH)
                continue;
            if (UnredirectedAttributes(target) == INVALID_FILE_ATTRIBUTES)
                orphans.push_back(shortcut);
        } catch (...) {
            // One unreadable shortcut must not stop the scan.
        }
    }
}

// The walk goes through folder handles, as the wipe does: the folder the scan starts from
// may be a link (a moved Desktop), but below it no link is entered and no folder swapped in
// since it was listed, so the scan never leaves that tree. Kept as a stack, not recursion,
// so no depth of folders can exhaust the thread's stack.
class Scan {
public:
    Scan(OrphanList& orphans, TPBShellLink& link) : orphans_(orphans), link_(link) {}

    void run(HANDLE start, const std::wstring& path, bool recurse) {
        Level top;
        top.folder = start;
        top.path = engine::WithBackslash(path);
        if (!access_.usable() || !access_.remember(start, top.reached))
            return;
        enter(std::move(top));
        while (!levels_.empty()) {
            Level& level = levels_.back();
            if (recurse && level.next < level.entries.size()) {
                const Listed& entry = level.entries[level.next++];
                // Only plain folders: hidden, system, read-only or linked ones are left alone.
                if ((entry.attributes | FILE_ATTRIBUTE_DIRECTORY) != FILE_ATTRIBUTE_DIRECTORY)
                    continue;
                Level child;
                child.owned = access_.openSubFolder(level.folder, level.reached, entry.name,
                                                    entry.id, kListAccess, child.reached);
                if (!child.owned)
                    continue;
                child.folder = child.owned.get();
                child.path = level.path + entry.name + L"\\";
                enter(std::move(child));
                continue;
            }
            // Its sub-folders are done: now its own shortcuts.
            checkShortcuts(level.path, level.entries, orphans_, link_);
            levels_.pop_back();
        }
    }

private:
    void enter(Level level) {
        access_.list(level.folder, [&](std::wstring_view name, ULONG attributes, LONGLONG id) {
            level.entries.push_back({std::wstring(name), attributes, id});
        });
        levels_.push_back(std::move(level));
    }

    OrphanList& orphans_;
    TPBShellLink& link_;
    engine::FolderAccess access_;
    std::vector<Level> levels_;
};

} // namespace

void ScanForOrphans(const std::wstring& folder, bool recurse, OrphanList& orphans,
                    TPBShellLink& link) {
    // A missing shell folder must not turn into a scan of the current drive's root: an empty
    // or relative path opens nothing.
    if (const engine::FileHandle start = engine::OpenFolder(folder))
        Scan(orphans, link).run(start.get(), folder, recurse);
}

void CheckFolderShortcuts(const std::wstring& folder, OrphanList& orphans, TPBShellLink& link) {
    ScanForOrphans(folder, false, orphans, link);
}

} // namespace shortcuts
