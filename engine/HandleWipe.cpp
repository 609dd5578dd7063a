#include "engine/HandleWipe.h"

#include "engine/FolderAccess.h"
#include "engine/FolderHandle.h"
#include "engine/Handles.h"

#include <string_view>
#include <vector>

namespace engine {

namespace {

// A sub-folder is listed, what it holds is opened relative to it, and once empty it is
// removed through the same handle.
constexpr ACCESS_MASK kFolderAccess =
    FILE_LIST_DIRECTORY | FILE_TRAVERSE | FILE_READ_ATTRIBUTES | DELETE | SYNCHRONIZE;
// A file is opened for writing with no sharing: the open itself proves that it may go
// (read-only, held open elsewhere or not the user's to write: the open fails and it stays).
constexpr ACCESS_MASK kFileAccess = FILE_WRITE_DATA | DELETE | SYNCHRONIZE;

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
    std::wstring reached; // what its entries are checked against (FolderAccess::remember)
    std::wstring names;
    std::vector<Entry> entries;
    size_t next = 0; // where the search for the next sub-folder goes on

    std::wstring_view name(const Entry& entry) const {
        return std::wstring_view(names).substr(entry.nameStart, entry.nameLength);
    }
};

bool isDesktopIni(std::wstring_view name) {
    static constexpr std::wstring_view kDesktopIni = L"desktop.ini";
    return CompareStringOrdinal(name.data(), static_cast<int>(name.size()), kDesktopIni.data(),
                                static_cast<int>(kDesktopIni.size()), TRUE) == CSTR_EQUAL;
}

class Walk {
public:
    explicit Walk(bool includeSubFolders) : includeSubFolders_(includeSubFolders) {}

    void run(HANDLE root) {
        Level top;
        top.folder = root;
        if (!access_.usable() || !access_.remember(root, top.reached))
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
                FolderAccess::markForDeletion(done.folder);
        }
    }

private:
    // Reads the folder's whole listing, in listing order, keeping only what may be acted on.
    // Links to folders are left out: they lead out of the folder and are neither entered
    // nor removed. "desktop.ini" is left out before anything is opened.
    void enter(Level level) {
        access_.list(level.folder, [&](std::wstring_view name, ULONG attributes, LONGLONG id) {
            const bool folder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            if (folder ? !includeSubFolders_ || (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
                       : isDesktopIni(name))
                return;
            level.entries.push_back({level.names.size(), name.size(), folder, id});
            level.names.append(name);
        });
        levels_.push_back(std::move(level));
    }

    static const Entry* nextSubFolder(Level& level) {
        while (level.next < level.entries.size()) {
            const Entry& entry = level.entries[level.next++];
            if (entry.folder)
                return &entry;
        }
        return nullptr;
    }

    // Opens the sub-folder the listing showed as itself. Empty when it is not.
    Level openSubFolder(const Level& parent, const Entry& entry) {
        const std::wstring_view name = parent.name(entry);
        Level child;
        FileHandle handle = access_.openSubFolder(parent.folder, parent.reached, name, entry.id,
                                                  kFolderAccess, child.reached);
        // Held open without delete sharing, or not the user's to remove: it is still emptied.
        if (!handle)
            handle = access_.openSubFolder(parent.folder, parent.reached, name, entry.id,
                                           kFolderAccess & ~DELETE, child.reached);
        child.folder = handle.get();
        child.owned = std::move(handle);
        return child;
    }

    void deleteFiles(const Level& level) {
        for (const Entry& entry : level.entries)
            if (!entry.folder)
                if (const FileHandle file = access_.openFile(level.folder, level.reached,
                                                             level.name(entry), kFileAccess, 0))
                    FolderAccess::markForDeletion(file.get());
    }

    const bool includeSubFolders_;
    FolderAccess access_;
    std::vector<Level> levels_;
};

} // namespace

void WipeOpenFolder(HANDLE folder, bool includeSubFolders) {
    if (KernelHandleTraits::holds(folder))
        Walk(includeSubFolders).run(folder);
}

bool DeleteFileIn(HANDLE folder, std::wstring_view name) {
    FolderAccess access;
    std::wstring reached;
    if (!access.usable() || !access.remember(folder, reached))
        return false;
    const FileHandle file = access.openFile(folder, reached, name, kFileAccess, 0);
    if (!file)
        return false;
    FolderAccess::markForDeletion(file.get());
    return true;
}

void WipeFolderAt(const std::wstring& path, bool includeSubFolders) {
    const FileHandle folder = OpenFolder(path);
    if (folder)
        WipeOpenFolder(folder.get(), includeSubFolders);
}

} // namespace engine
