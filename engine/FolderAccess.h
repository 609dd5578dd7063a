#pragma once
// Listing an open folder and opening what it holds relative to its handle, with the checks
// that keep a walk inside the tree it started in: a name is never parsed as a path, a link is
// never followed, and a folder swapped for another since it was listed is never entered.
#include "engine/Handles.h"
#include "engine/NtApi.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A listing is read in chunks of this size.
constexpr size_t kChunkBytes = 64 * 1024;

// A name that could reach past its folder ("." or "..", empty, or one holding "\", "/", ":"
// or a NUL) is never used, whatever a listing says.
bool IsUsableName(std::wstring_view name);

class FolderAccess {
public:
    FolderAccess();

    // False when the native calls are missing: then nothing is listed or opened.
    bool usable() const { return nt::Ntdll().complete(); }

    // What `folder` must be compared by when its entries are opened: under Wine the path the
    // handle really reached (Wine follows links even when asked not to, and only that path
    // tells); elsewhere nothing is needed. False when it cannot be told, so nothing below
    // it can be checked.
    bool remember(HANDLE folder, std::wstring& reached);

    // Calls `visit(name, attributes, id)` for every usable entry of `folder`, in listing
    // order, from its start. Files may be deleted while a listing is read.
    template <class Visit> void list(HANDLE folder, Visit&& visit);

    // Opens the sub-folder `name` of `parent` as the very folder the listing showed (file ID
    // `id`): not a link, nor a folder moved into its place since. `reached` receives what
    // remember() would give for it. Empty when it is not that folder.
    FileHandle openSubFolder(HANDLE parent, std::wstring_view parentReached, std::wstring_view name,
                             LONGLONG id, ACCESS_MASK access, std::wstring& reached);

    // Opens the file `name` in `folder` as that very entry, never a link's target.
    FileHandle openFile(HANDLE folder, std::wstring_view folderReached, std::wstring_view name,
                        ACCESS_MASK access, ULONG share);

    // The entry goes when its last handle closes; a folder that is not empty stays.
    static void markForDeletion(HANDLE handle);

private:
    std::wstring_view reachedPath(HANDLE handle);
    bool isChild(HANDLE handle, std::wstring_view parentReached, std::wstring_view name);

    const bool wine_;
    std::vector<LONGLONG> chunk_; // LONGLONG: listing entries are 8-byte aligned
    std::vector<LONGLONG> path_;  // under Wine only
};

template <class Visit> void FolderAccess::list(HANDLE folder, Visit&& visit) {
    constexpr size_t kNameOffset = offsetof(nt::FileIdFullDirInformation, fileName);
    // Made at the first listing: an access that only opens or deletes needs none.
    if (chunk_.empty())
        chunk_.resize(kChunkBytes / sizeof(LONGLONG));
    const auto* bytes = reinterpret_cast<const BYTE*>(chunk_.data());
    const auto size = static_cast<ULONG>(chunk_.size() * sizeof(LONGLONG));
    nt::IoStatusBlock io{};
    BOOLEAN restart = TRUE; // the handle may have been listed before
    while (usable() &&
           nt::Ntdll().queryDirectoryFile(folder, nullptr, nullptr, nullptr, &io, chunk_.data(),
                                          size, nt::kFileIdFullDirectoryInformation, FALSE, nullptr,
                                          restart) == nt::kSuccess) {
        restart = FALSE;
        const size_t filled = std::min<size_t>(io.information, size);
        if (filled == 0)
            return;
        for (size_t at = 0; at + kNameOffset <= filled;) {
            const auto& info = *reinterpret_cast<const nt::FileIdFullDirInformation*>(bytes + at);
            if (at + kNameOffset + info.fileNameLength > filled)
                return;
            const std::wstring_view name(reinterpret_cast<const wchar_t*>(bytes + at + kNameOffset),
                                         info.fileNameLength / sizeof(wchar_t));
            if (IsUsableName(name))
                visit(name, info.fileAttributes, info.fileId.QuadPart);
            if (info.nextEntryOffset == 0)
                break;
            at += info.nextEntryOffset;
        }
    }
}

} // namespace engine
