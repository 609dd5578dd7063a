#include "engine/HandleWipe.h"

#include "engine/FolderHandle.h"
#include "engine/Handles.h"
#include "engine/NtApi.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace engine {

namespace {

using nt::Ntdll;

// A listing is read in chunks of this size into one buffer that serves every level: each
// folder's listing is read to its end before the walk goes down into it.
constexpr size_t kChunkBytes = 64 * 1024;

constexpr ULONG kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
// A sub-folder is listed, what it holds is opened relative to it, and once empty it is
// removed through the same handle.
constexpr ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | DELETE | SYNCHRONIZE;
constexpr ULONG kFolderOptions = nt::kDirectoryFile | nt::kOpenReparsePoint;
// A file is opened for writing with no sharing: the open itself proves that it may go
// (read-only, held open elsewhere or not the user's to write: the open fails and it stays).
constexpr ACCESS_MASK kFileAccess = FILE_WRITE_DATA | DELETE | SYNCHRONIZE;
constexpr ULONG kFileOptions = nt::kNonDirectoryFile | nt::kOpenReparsePoint;

constexpr size_t kNameOffset = offsetof(nt::FileIdFullDirInformation, fileName);
// Room for any object name: its length in bytes is a USHORT.
constexpr size_t kPathBufferBytes = sizeof(nt::UnicodeString) + 0x10000;

// An entry the wipe may act on, as the listing gave it.
struct Entry {
    size_t nameStart; // in Level::names
    size_t nameLength;
    bool folder;
    LONGLONG id;
};

// One open folder on the way down, with its listing.
struct Level {
    HANDLE folder = nullptr;
    FileHandle owned;     // empty for the caller's folder, which is never removed
    std::wstring reached; // under Wine only: the path the folder handle really reached
    std::wstring names;
    std::vector<Entry> entries;
    size_t next = 0; // where the search for the next sub-folder goes on

    std::wstring_view name(const Entry& entry) const {
        return std::wstring_view(names).substr(entry.nameStart, entry.nameLength);
    }
};

// A name that could reach past the folder (".." or one holding a separator) is never used,
// whatever the listing says.
bool isUsableName(std::wstring_view name) {
    static constexpr std::wstring_view kSeparators(L"\\/:\0", 4);
    return !name.empty() && name != L"." && name != L".." &&
           name.find_first_of(kSeparators) == std::wstring_view::npos &&
           name.size() * sizeof(wchar_t) <= 0xFFFE; // what a native name's length can hold
}

bool isDesktopIni(std::wstring_view name) {
    static constexpr std::wstring_view kDesktopIni = L"desktop.ini";
    return CompareStringOrdinal(name.data(), static_cast<int>(name.size()), kDesktopIni.data(),
                                static_cast<int>(kDesktopIni.size()), TRUE) == CSTR_EQUAL;
}

// Whether `path` is `parent`, one backslash and `name`, exactly.
bool isChildPath(std::wstring_view path, std::wstring_view parent, std::wstring_view name) {
    if (!parent.empty() && parent.back() == L'\\')
        parent.remove_suffix(1); // a drive's root, "C:\"
    return !parent.empty() && !name.empty() && path.size() == parent.size() + 1 + name.size() &&
           path.substr(0, parent.size()) == parent && path[parent.size()] == L'\\' &&
           path.substr(parent.size() + 1) == name;
}

// A name as Wine spells it in the paths it reports: without the dots and spaces that end it.
std::wstring_view asWineReportsIt(std::wstring_view name) {
    const size_t end = name.find_last_not_of(L". ");
    return name.substr(0, end == std::wstring_view::npos ? 0 : end + 1);
}

// Opens `name` inside `folder`, never by a path from the root.
FileHandle openIn(HANDLE folder, std::wstring_view name, ACCESS_MASK access, ULONG share,
                  ULONG options) {
    const auto bytes = static_cast<USHORT>(name.size() * sizeof(wchar_t));
    nt::UnicodeString text{bytes, bytes, const_cast<PWSTR>(name.data())};
    nt::ObjectAttributes attributes{sizeof attributes, folder, &text, 0, nullptr, nullptr};
    nt::IoStatusBlock io{};
    HANDLE handle = nullptr;
    if (Ntdll().createFile(&handle, access, &attributes, &io, nullptr, 0, share, nt::kFileOpen,
                           options | nt::kSynchronousIoNonAlert, nullptr, 0) != nt::kSuccess)
        return {};
    return FileHandle(handle);
}

// The entry goes when its last handle closes. A folder that is not empty refuses, harmlessly.
void markForDeletion(HANDLE handle) {
    nt::FileDispositionInformation disposition{TRUE};
    nt::IoStatusBlock io{};
    Ntdll().setInformationFile(handle, &io, &disposition, sizeof disposition,
                               nt::kFileDispositionInformation);
}

// Whether the opened handle is a plain folder (no link) and the one the listing showed.
bool isListedFolder(HANDLE handle, LONGLONG listedId) {
    nt::IoStatusBlock io{};
    nt::FileAttributeTagInformation tag{};
    nt::FileInternalInformation internal{};
    return Ntdll().queryInformationFile(handle, &io, &tag, sizeof tag,
                                        nt::kFileAttributeTagInformation) == nt::kSuccess &&
           (tag.fileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
           !(tag.fileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
           Ntdll().queryInformationFile(handle, &io, &internal, sizeof internal,
                                        nt::kFileInternalInformation) == nt::kSuccess &&
           internal.indexNumber.QuadPart == listedId;
}

// Under Wine: the path a handle really reached, every link in it resolved, as Wine reports it
// ("\\??\\C:\\..."); empty when it cannot tell. One buffer serves every call.
class ReachedPaths {
public:
    explicit ReachedPaths(bool wanted)
        : buffer_(wanted ? kPathBufferBytes / sizeof(LONGLONG) : 0) {}

    std::wstring_view of(HANDLE handle) {
        const auto* name = reinterpret_cast<const nt::UnicodeString*>(buffer_.data());
        const auto size = static_cast<ULONG>(buffer_.size() * sizeof(LONGLONG));
        ULONG returned = 0;
        if (buffer_.empty() || Ntdll().queryObject(handle, nt::kObjectNameInformation,
                                                   buffer_.data(), size, &returned) != nt::kSuccess)
            return {};
        // The text follows the UnicodeString in the same buffer; anything else is not trusted.
        const auto begin = reinterpret_cast<std::uintptr_t>(buffer_.data());
        const auto text = reinterpret_cast<std::uintptr_t>(name->buffer);
        if (text < begin + sizeof *name || text + name->length > begin + size)
            return {};
        return std::wstring_view(name->buffer, name->length / sizeof(wchar_t));
    }

private:
    std::vector<LONGLONG> buffer_; // LONGLONG: the UnicodeString at its start is aligned
};

class Walk {
public:
    explicit Walk(bool includeSubFolders)
        : includeSubFolders_(includeSubFolders), wine_(Ntdll().wine),
          chunk_(kChunkBytes / sizeof(LONGLONG)), paths_(wine_) {}

    void run(HANDLE root) {
        Level top;
        top.folder = root;
        if (wine_ && (top.reached = paths_.of(root)).empty())
            return; // nothing could be checked
        enter(std::move(top));
        while (!levels_.empty()) {
            Level& level = levels_.back();
            if (const Entry* sub = nextSubFolder(level)) {
                Level child = openSubFolder(level, *sub);
                if (child.folder)
                    enter(std::move(child));
                continue;
            }
            // Its sub-folders are done: its own files go, then the folder itself (unless it
            // is the caller's) when its handle closes here.
            deleteFiles(level);
            Level done = std::move(level);
            levels_.pop_back();
            if (done.owned)
                markForDeletion(done.folder);
        }
    }

private:
    void enter(Level level) {
        readListing(level);
        levels_.push_back(std::move(level));
    }

    // Reads the folder's whole listing, in listing order, keeping only what may be acted on.
    // Links to folders are left out: they lead out of the folder and are neither entered
    // nor removed. "desktop.ini" is left out before anything is opened.
    void readListing(Level& level) {
        const auto* bytes = reinterpret_cast<const BYTE*>(chunk_.data());
        const auto size = static_cast<ULONG>(chunk_.size() * sizeof(LONGLONG));
        nt::IoStatusBlock io{};
        BOOLEAN restart = TRUE; // the caller's handle may have been listed before
        while (Ntdll().queryDirectoryFile(level.folder, nullptr, nullptr, nullptr, &io,
                                          chunk_.data(), size, nt::kFileIdFullDirectoryInformation,
                                          FALSE, nullptr, restart) == nt::kSuccess) {
            restart = FALSE;
            const size_t filled = std::min<size_t>(io.information, size);
            if (filled == 0)
                return;
            for (size_t at = 0; at + kNameOffset <= filled;) {
                const auto& info =
                    *reinterpret_cast<const nt::FileIdFullDirInformation*>(bytes + at);
                if (at + kNameOffset + info.fileNameLength > filled)
                    return;
                const std::wstring_view name(
                    reinterpret_cast<const wchar_t*>(bytes + at + kNameOffset),
                    info.fileNameLength / sizeof(wchar_t));
                keep(level, info, name);
                if (info.nextEntryOffset == 0)
                    break;
                at += info.nextEntryOffset;
            }
        }
    }

    void keep(Level& level, const nt::FileIdFullDirInformation& info, std::wstring_view name) {
        if (!isUsableName(name))
            return;
        const bool folder = (info.fileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (folder ? !includeSubFolders_ || (info.fileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                   : isDesktopIni(name))
            return;
        level.entries.push_back({level.names.size(), name.size(), folder, info.fileId.QuadPart});
        level.names.append(name);
    }

    static const Entry* nextSubFolder(Level& level) {
        while (level.next < level.entries.size()) {
            const Entry& entry = level.entries[level.next++];
            if (entry.folder)
                return &entry;
        }
        return nullptr;
    }

    // Opens the sub-folder the listing showed as itself: not a link swapped in for it since,
    // not another folder moved into its place. Empty when it is not.
    Level openSubFolder(const Level& parent, const Entry& entry) {
        const std::wstring_view name = parent.name(entry);
        FileHandle handle = openIn(parent.folder, name, kFolderAccess, kShareAll, kFolderOptions);
        // Held open without delete sharing, or not the user's to remove: it is still emptied.
        if (!handle)
            handle =
                openIn(parent.folder, name, kFolderAccess & ~DELETE, kShareAll, kFolderOptions);
        Level child;
        if (!handle || !isListedFolder(handle.get(), entry.id))
            return child;
        // Wine opens a link's target even when asked for the link, and reports neither the
        // link nor its own file ID: only the path the handle really reached tells.
        if (wine_ && !isChildPath(child.reached = paths_.of(handle.get()), parent.reached,
                                  asWineReportsIt(name)))
            return child;
        child.folder = handle.get();
        child.owned = std::move(handle);
        return child;
    }

    void deleteFiles(const Level& level) {
        for (const Entry& entry : level.entries) {
            if (entry.folder)
                continue;
            const std::wstring_view name = level.name(entry);
            FileHandle file = openIn(level.folder, name, kFileAccess, 0, kFileOptions);
            if (!file)
                continue;
            // Wine opens a link to a file as its target, and deleting through that handle
            // deletes the target, wherever it is: only a handle that reached this very entry
            // may delete.
            if (wine_ && !isChildPath(paths_.of(file.get()), level.reached, asWineReportsIt(name)))
                continue;
            markForDeletion(file.get());
        }
    }

    const bool includeSubFolders_;
    const bool wine_;
    std::vector<LONGLONG> chunk_; // LONGLONG: entries are 8-byte aligned
    ReachedPaths paths_;          // under Wine only
    std::vector<Level> levels_;
};

} // namespace

void WipeOpenFolder(HANDLE folder, bool includeSubFolders) {
    if (!Ntdll().complete() || !KernelHandleTraits::holds(folder))
        return;
    Walk(includeSubFolders).run(folder);
}

bool DeleteFileIn(HANDLE folder, std::wstring_view name) {
    if (!Ntdll().complete() || !isUsableName(name))
        return false;
    const FileHandle file = openIn(folder, name, kFileAccess, 0, kFileOptions);
    if (!file)
        return false;
    // As in the wipe: under Wine only a handle that reached this very entry may delete.
    if (Ntdll().wine) {
        ReachedPaths paths(true);
        const std::wstring parent(paths.of(folder));
        if (parent.empty() || !isChildPath(paths.of(file.get()), parent, asWineReportsIt(name)))
            return false;
    }
    markForDeletion(file.get());
    return true;
}

void WipeFolderAt(const std::wstring& path, bool includeSubFolders) {
    const FileHandle folder = OpenFolder(path);
    if (folder)
        WipeOpenFolder(folder.get(), includeSubFolders);
}

} // namespace engine
