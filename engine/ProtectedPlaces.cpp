#include "engine/ProtectedPlaces.h"

#include "engine/FolderHandle.h"
#include "engine/Registry.h"

#include <windows.h>

#include <knownfolders.h>
#include <shlobj.h>

#include <initializer_list>
#include <iterator>

namespace engine {

namespace {

constexpr wchar_t kProfileList[] = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\ProfileList";
constexpr wchar_t kCurrentVersion[] = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

// The user's own shell folders, the public ones beside them, and the system's folders. A
// folder that holds one of these is refused too, so the AppData and Start Menu parents
// need no entry of their own.
const KNOWNFOLDERID* const kKnownFolders[] = {
    &FOLDERID_Windows,         &FOLDERID_System,          &FOLDERID_SystemX86,
    &FOLDERID_Fonts,           &FOLDERID_ProgramFiles,    &FOLDERID_ProgramFilesX86,
    &FOLDERID_ProgramFilesX64, &FOLDERID_ProgramData,     &FOLDERID_UserProfiles,
    &FOLDERID_Profile,         &FOLDERID_Public,          &FOLDERID_Desktop,
    &FOLDERID_Documents,       &FOLDERID_Pictures,        &FOLDERID_Music,
    &FOLDERID_Videos,          &FOLDERID_StartMenu,       &FOLDERID_RoamingAppData,
    &FOLDERID_LocalAppData,    &FOLDERID_LocalAppDataLow, &FOLDERID_PublicDesktop,
    &FOLDERID_PublicDocuments, &FOLDERID_PublicPictures,  &FOLDERID_PublicMusic,
    &FOLDERID_PublicVideos,    &FOLDERID_CommonStartMenu,
};

using Places = std::vector<std::wstring>;

// Backslashes only, none at the end: "C:\" becomes "C:", so that a root and the paths
// below it compare by the same rule.
std::wstring comparable(const std::wstring& path) {
    std::wstring result = path;
    for (auto& c : result)
        if (c == L'/')
            c = L'\\';
    while (!result.empty() && result.back() == L'\\')
        result.pop_back();
    return result;
}

bool sameText(const wchar_t* a, const std::wstring& b) {
    return CompareStringOrdinal(a, static_cast<int>(b.size()), b.data(), static_cast<int>(b.size()),
                                TRUE) == CSTR_EQUAL;
}

// `inner` is `outer` or lies below it; both comparable.
bool isWithin(const std::wstring& inner, const std::wstring& outer) {
    if (outer.empty() || inner.size() < outer.size())
        return false;
    if (inner.size() > outer.size() && inner[outer.size()] != L'\\')
        return false;
    return sameText(inner.data(), outer);
}

// A drive or share root, or a form other than "X:\..." and "\\server\share\..." (a volume
// GUID path, say), which is not worth guessing at.
bool isRootOrUnknown(const std::wstring& path) {
    if (path.size() >= 2 && path[1] == L':') {
        const wchar_t letter = path[0];
        const bool isLetter =
            (letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z');
        return !isLetter || path.size() == 2 || path[2] != L'\\';
    }
    if (path.size() < 3 || path[0] != L'\\' || path[1] != L'\\' || path[2] == L'?' ||
        path[2] == L'.' || path[2] == L'\\')
        return true;
    const size_t share = path.find(L'\\', 2);
    if (share == std::wstring::npos || share + 1 >= path.size() || path[share + 1] == L'\\')
        return true;
    return path.find(L'\\', share + 1) == std::wstring::npos;
}

// Keeps the place as written and as the folder it really is; each once.
void add(Places& places, const std::wstring& path) {
    const auto addOnce = [&places](const std::wstring& text) {
        const std::wstring place = comparable(text);
        if (place.empty())
            return;
        for (const auto& known : places)
            if (known.size() == place.size() && sameText(known.data(), place))
                return;
        places.push_back(place);
    };
    addOnce(path);
    const FileHandle folder = OpenFolder(path);
    if (folder)
        addOnce(FinalPathOf(folder.get()));
}

std::wstring knownFolder(const KNOWNFOLDERID& id) {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}

KeyHandle openKey(HKEY parent, const wchar_t* path, REGSAM view) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(parent, path, 0, KEY_READ | view, &key) != ERROR_SUCCESS)
        return {};
    return KeyHandle(key);
}

// A text value, "%SystemDrive%\Users" expanded; "" when missing or of another type.
std::wstring registryText(HKEY key, const wchar_t* name) {
    DWORD bytes = 0;
    // The size asked for first may fall short of the expanded text: ask again.
    for (int attempt = 0; attempt < 3; ++attempt) {
        std::vector<wchar_t> buffer(bytes / sizeof(wchar_t) + 1, L'\0');
        bytes = static_cast<DWORD>(buffer.size() * sizeof(wchar_t));
        const LONG result =
            RegGetValueW(key, nullptr, name, RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes);
        if (result == ERROR_SUCCESS)
            return buffer.data(); // zero-terminated by RegGetValueW
        if (result != ERROR_MORE_DATA)
            return {};
    }
    return {};
}

// Every profile of the machine, the Users folder, and the Default and Public profiles.
void addProfiles(Places& places) {
    const KeyHandle list = openKey(HKEY_LOCAL_MACHINE, kProfileList, 0);
    if (!list)
        return;
    for (const wchar_t* name : {L"ProfilesDirectory", L"Default", L"Public", L"ProgramData"})
        add(places, registryText(list.get(), name));
    wchar_t sid[256]; // a key name has at most 255 characters
    for (DWORD index = 0;; ++index) {
        DWORD length = static_cast<DWORD>(std::size(sid));
        const LONG result =
            RegEnumKeyExW(list.get(), index, sid, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        if (const KeyHandle profile = openKey(list.get(), sid, 0))
            add(places, registryText(profile.get(), L"ProfileImagePath"));
    }
}

// A 32-bit program on 64-bit Windows is shown "Program Files (x86)" as its Program Files;
// the 64-bit view of the registry names the other one.
void addProgramFiles(Places& places) {
    for (const REGSAM view : {KEY_WOW64_64KEY, KEY_WOW64_32KEY}) {
        const KeyHandle key = openKey(HKEY_LOCAL_MACHINE, kCurrentVersion, view);
        if (!key)
            continue;
        for (const wchar_t* name :
             {L"ProgramFilesDir", L"ProgramFilesDir (x86)", L"ProgramW6432Dir"})
            add(places, registryText(key.get(), name));
    }
}

} // namespace

std::vector<std::wstring> ProtectedPlaces() {
    Places places;
    // Under WOW64 "C:\Windows\System32" opens SysWOW64: the name as written still keeps the
    // real System32 (reached through "Sysnative") protected.
    for (const SystemFolderGetter get : {&GetWindowsDirectoryW, &GetSystemWindowsDirectoryW,
                                   &GetSystemDirectoryW, &GetSystemWow64DirectoryW})
        add(places, SystemFolder(get));
    for (const KNOWNFOLDERID* id : kKnownFolders)
        add(places, knownFolder(*id));
    addProfiles(places);
    addProgramFiles(places);
    return places;
}

bool IsProtectedPath(const std::wstring& finalPath, const std::vector<std::wstring>& places) {
    const std::wstring path = comparable(finalPath);
    if (isRootOrUnknown(path))
        return true;
    for (const auto& place : places)
        if (isWithin(comparable(place), path))
            return true;
    return false;
}

FileHandle OpenWipeRoot(const std::wstring& path, const std::vector<std::wstring>& places) {
    FileHandle folder = OpenFolder(path);
    if (!folder)
        return {};
    // When the system cannot say where the handle leads, the folder is kept.
    const std::wstring finalPath = FinalPathOf(folder.get());
    if (finalPath.empty() || IsProtectedPath(finalPath, places))
        return {};
    return folder;
}

FileHandle OpenWipeRoot(const std::wstring& path) {
    return OpenWipeRoot(path, ProtectedPlaces());
}

bool IsProtectedFolder(const std::wstring& path) {
    std::wstring where;
    if (const FileHandle folder = OpenFolder(path))
        where = FinalPathOf(folder.get());
    if (where.empty())
        where = WithoutExtendedPrefix(ExtendedPath(path));
    return IsProtectedPath(where, ProtectedPlaces());
}

} // namespace engine
