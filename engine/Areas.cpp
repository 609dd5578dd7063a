#include "engine/Areas.h"

#include "engine/HandleWipe.h"

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

// Empties the folder at `path` unless it is, or holds, a protected place; the check and the
// wipe go through the one handle, so nothing can be swapped in between.
void wipeRoot(const std::wstring& path, bool includeSubFolders,
              const std::vector<std::wstring>& places) {
    if (const FileHandle root = OpenWipeRoot(path, places))
        WipeOpenFolder(root.get(), includeSubFolders);
}

} // namespace

void CleanUserFolders(const std::vector<UserFolder>& folders, bool includeSubFolders,
                      const std::vector<std::wstring>& places) {
    for (const auto& folder : folders)
        if (folder.ticked)
            wipeRoot(folder.path, includeSubFolders, places);
}

void CleanWindowsTemp(bool includeSubFolders, const std::vector<std::wstring>& places) {
    wchar_t buffer[kTempPathBuffer];
    const DWORD length = GetTempPathW(kTempPathBuffer, buffer);
    // A path that does not fit comes back as the size it needs, with the buffer left
    // unfilled: the area is skipped rather than wiping whatever the buffer holds.
    if (length == 0 || length >= kTempPathBuffer)
        return;
    wipeRoot(std::wstring(buffer, length), includeSubFolders, places);
}

void EmptyRecycleBins(const std::vector<std::wstring>& places) {
    std::vector<std::wstring> drives;
    GetFixedDrives(drives);
    // "\Recycled" is the bin of Windows 95 to Me, which the shell of the NT family leaves alone.
    for (const auto& drive : drives)
        wipeRoot(drive + L"\\Recycled", false, places);
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
