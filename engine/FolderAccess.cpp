#include "engine/FolderAccess.h"

#include <cstdint>

namespace engine {

namespace {

using nt::Ntdll;

// Room for any object name: its length in bytes is a USHORT.
constexpr size_t kPathBufferBytes = sizeof(nt::UnicodeString) + 0x10000;

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

} // namespace

bool IsUsableName(std::wstring_view name) {
    static constexpr std::wstring_view kSeparators(L"\\/:\0", 4);
    return !name.empty() && name != L"." && name != L".." &&
           name.find_first_of(kSeparators) == std::wstring_view::npos &&
           name.size() * sizeof(wchar_t) <= 0xFFFE; // what a native name's length can hold
}

FolderAccess::FolderAccess()
    : wine_(Ntdll().wine), path_(wine_ ? kPathBufferBytes / sizeof(LONGLONG) : 0) {}

bool FolderAccess::remember(HANDLE folder, std::wstring& reached) {
    reached.clear();
    if (!wine_)
        return true;
    reached = reachedPath(folder);
    return !reached.empty();
}

FileHandle FolderAccess::openSubFolder(HANDLE parent, std::wstring_view parentReached,
                                       std::wstring_view name, LONGLONG id, ACCESS_MASK access,
                                       std::wstring& reached) {
    reached.clear();
    if (!usable() || !IsUsableName(name))
        return {};
    FileHandle handle =
        openIn(parent, name, access, kShareAll, nt::kDirectoryFile | nt::kOpenReparsePoint);
    if (!handle || !isListedFolder(handle.get(), id))
        return {};
    if (wine_) {
        // Wine opens a link's target even when asked for the link, and reports neither the
        // link nor its own file ID: only the path the handle really reached tells.
        reached = reachedPath(handle.get());
        if (!isChildPath(reached, parentReached, asWineReportsIt(name)))
            return {};
    }
    return handle;
}

FileHandle FolderAccess::openFile(HANDLE folder, std::wstring_view folderReached,
                                  std::wstring_view name, ACCESS_MASK access, ULONG share) {
    if (!usable() || !IsUsableName(name))
        return {};
    FileHandle file =
        openIn(folder, name, access, share, nt::kNonDirectoryFile | nt::kOpenReparsePoint);
    // Wine opens a link to a file as its target (and deleting through that handle deletes
    // the target, wherever it is): only a handle that reached this very entry will do.
    if (file && wine_ &&
        !isChildPath(reachedPath(file.get()), folderReached, asWineReportsIt(name)))
        return {};
    return file;
}

void FolderAccess::markForDeletion(HANDLE handle) {
    nt::FileDispositionInformation disposition{TRUE};
    nt::IoStatusBlock io{};
    Ntdll().setInformationFile(handle, &io, &disposition, sizeof disposition,
                               nt::kFileDispositionInformation);
}

std::wstring_view FolderAccess::reachedPath(HANDLE handle) {
    const auto* name = reinterpret_cast<const nt::UnicodeString*>(path_.data());
    const auto size = static_cast<ULONG>(path_.size() * sizeof(LONGLONG));
    ULONG returned = 0;
    if (path_.empty() || Ntdll().queryObject(handle, nt::kObjectNameInformation, path_.data(), size,
                                             &returned) != nt::kSuccess)
        return {};
    // The text follows the UnicodeString in the same buffer; anything else is not trusted.
    const auto begin = reinterpret_cast<std::uintptr_t>(path_.data());
    const auto text = reinterpret_cast<std::uintptr_t>(name->buffer);
    if (text < begin + sizeof *name || text + name->length > begin + size)
        return {};
    return std::wstring_view(name->buffer, name->length / sizeof(wchar_t));
}

} // namespace engine
