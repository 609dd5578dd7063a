#include "engine/Areas.h"

#include "engine/Wipe.h"

#include <windows.h>

#include <shellapi.h>
#include <shlobj.h>

namespace engine {

namespace {

// GetTempPathA's buffer: 256 characters.
constexpr DWORD kTempPathBuffer = 256;

void shellAddToRecentDocs(unsigned int flags, const void* item) {
    SHAddToRecentDocs(flags, item);
}

RecentDocsCall recentDocsCall = shellAddToRecentDocs;

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

void EmptyRecycleBins() {
    std::vector<std::wstring> drives;
    GetFixedDrives(drives);
    // "\Recycled" is the bin of Windows 95 to Me, which the shell of the NT family leaves alone.
    for (const auto& drive : drives)
        WipeFolder(drive + L"\\Recycled", false);
    // The NT family keeps one bin per user on each drive, with an index beside the deleted
    // items: only the shell empties it whole, deleted folders and index included.
    SHEmptyRecycleBinW(nullptr, nullptr, SHERB_NOCONFIRMATION | SHERB_NOPROGRESSUI | SHERB_NOSOUND);
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
