#include "engine/Areas.h"

#include "engine/Handles.h"
#include "engine/Wipe.h"

#include <windows.h>

#include <sddl.h>
#include <shlobj.h>

#include <memory>

namespace engine {

namespace {

// GetTempPathA's buffer: 256 characters.
constexpr DWORD kTempPathBuffer = 256;

void shellAddToRecentDocs(unsigned int flags, const void* item) {
    SHAddToRecentDocs(flags, item);
}

RecentDocsCall recentDocsCall = shellAddToRecentDocs;

struct LocalFreer {
    void operator()(wchar_t* text) const { LocalFree(text); }
};

} // namespace

void CleanUserFolders(const std::vector<UserFolder>& folders, bool includeSubFolders) {
    for (const auto& folder : folders)
        if (folder.ticked)
            WipeFolder(folder.path, includeSubFolders);
}

void CleanWindowsTemp(bool includeSubFolders) {
    wchar_t buffer[kTempPathBuffer];
    const DWORD length = GetTempPathW(kTempPathBuffer, buffer);
    // A path that does not fit comes back as the size it needs, with the buffer left
    // unfilled: the area is skipped rather than wiping whatever the buffer holds.
    if (length == 0 || length >= kTempPathBuffer)
        return;
    WipeFolder(std::wstring(buffer, length), includeSubFolders);
}

std::wstring CurrentUserSid() {
    HANDLE raw = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &raw))
        return {};
    const FileHandle token(raw); // closed by CloseHandle like any kernel handle
    DWORD size = 0;
    GetTokenInformation(token.get(), TokenUser, nullptr, 0, &size);
    if (size == 0)
        return {};
    // TOKEN_USER holds pointers: keep its buffer pointer-aligned.
    std::unique_ptr<void*[]> buffer(new void*[(size + sizeof(void*) - 1) / sizeof(void*)]);
    if (!GetTokenInformation(token.get(), TokenUser, buffer.get(), size, &size))
        return {};
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(reinterpret_cast<TOKEN_USER*>(buffer.get())->User.Sid, &text))
        return {};
    const std::unique_ptr<wchar_t, LocalFreer> owned(text);
    return owned.get();
}

void EmptyRecycleBins() {
    std::vector<std::wstring> drives;
    GetFixedDrives(drives);
    // "\Recycled" is the bin of Windows 95 to Me. The NT family keeps one bin per user:
    // "\RECYCLER\<SID>" up to XP, "\$Recycle.Bin\<SID>" from Vista on.
    const std::wstring sid = CurrentUserSid();
    for (const auto& drive : drives) {
        WipeFolder(drive + L"\\Recycled", false);
        if (sid.empty())
            continue;
        WipeFolder(drive + L"\\RECYCLER\\" + sid, false);
        WipeFolder(drive + L"\\$Recycle.Bin\\" + sid, false);
    }
}

void ClearRecentDocuments() {
    recentDocsCall(SHARD_PATH, nullptr);
}

RecentDocsCall SetRecentDocsCall(RecentDocsCall call) {
    const RecentDocsCall previous = recentDocsCall;
    recentDocsCall = call ? call : shellAddToRecentDocs;
    return previous;
}

} // namespace engine
