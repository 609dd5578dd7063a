#include "tests/support/TestSupport.h"

#include "engine/FolderHandle.h"
#include "engine/Handles.h"
#include "engine/Registry.h"
#include "engine/Error.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testsupport {

namespace {
std::wstring join(const std::wstring& a, const std::wstring& b) {
    if (b.empty())
        return a;
    if (!a.empty() && a.back() == L'\\')
        return a + b;
    return a + L"\\" + b;
}
// Every call goes through "\\?\" paths, so names ending in a dot or a space and paths of
// any length work.
std::wstring extended(const std::wstring& path) {
    return engine::ExtendedPath(path);
}
void makeDirs(const std::wstring& path) {
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == L'\\')
            CreateDirectoryW(extended(path.substr(0, i)).c_str(), nullptr);
}
struct FindTraits {
    using Handle = HANDLE;
    static Handle none() { return INVALID_HANDLE_VALUE; }
    static bool holds(Handle h) { return h != INVALID_HANDLE_VALUE; }
    static bool close(Handle h) { return FindClose(h) != FALSE; }
};
// The names in a folder, in the order the listing gives them, without "." and "..".
std::vector<std::wstring> entryNames(const std::wstring& path) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const engine::UniqueHandle<FindTraits> find(
        FindFirstFileW((engine::WithBackslash(extended(path)) + L"*").c_str(), &entry));
    if (!find.valid())
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find.get(), &entry));
    return names;
}
} // namespace

TempTree::TempTree(const std::wstring& name) {
    static int counter = 0;
    root_ = L"C:\\t\\work\\" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    removeTree(root_);
    makeDirs(root_);
}

TempTree::~TempTree() {
    removeTree(root_);
}

std::wstring TempTree::at(const std::wstring& relative) const {
    return join(root_, relative);
}

std::wstring TempTree::mkdir(const std::wstring& relative) const {
    const std::wstring path = at(relative);
    makeDirs(path);
    return path;
}

std::wstring TempTree::file(const std::wstring& relative, const std::string& content) const {
    const std::wstring path = at(relative);
    writeFile(path, content);
    return path;
}

std::wstring TempTree::file(const std::wstring& relative, DWORD attributes) const {
    const std::wstring path = file(relative);
    SetFileAttributesW(extended(path).c_str(), attributes);
    return path;
}

bool TempTree::exists(const std::wstring& relative) const {
    return pathExists(at(relative));
}

DWORD TempTree::attributes(const std::wstring& relative) const {
    return GetFileAttributesW(extended(at(relative)).c_str());
}

bool TempTree::move(const std::wstring& from, const std::wstring& to) const {
    return MoveFileW(extended(at(from)).c_str(), extended(at(to)).c_str()) != FALSE;
}

std::vector<std::wstring> TempTree::list(const std::wstring& relative) const {
    return listFolder(at(relative));
}

Held::Held(const std::wstring& path, DWORD share)
    : handle_(CreateFileW(extended(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}

Held::~Held() {
    if (valid())
        CloseHandle(handle_);
}

void writeFile(const std::wstring& path, const std::string& content) {
    const auto slash = path.find_last_of(L'\\');
    if (slash != std::wstring::npos)
        makeDirs(path.substr(0, slash));
    engine::FileHandle file(CreateFileW(extended(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                        CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        throw engine::Error(L"cannot create " + path);
    DWORD written = 0;
    WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

bool pathExists(const std::wstring& path) {
    return GetFileAttributesW(extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void removeTree(const std::wstring& path) {
    const std::wstring at = extended(path);
    const DWORD attributes = GetFileAttributesW(at.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(at.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(at.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // Listed in full first: the listing is closed before anything in it goes.
        for (const auto& name : entryNames(path))
            removeTree(join(path, name));
    }
    RemoveDirectoryW(at.c_str());
}

std::vector<std::wstring> utf16Lines(const std::wstring& path) {
    std::ifstream in(extended(path).c_str(), std::ios::binary);
    const std::wstring text = unitsOf(std::string(std::istreambuf_iterator<char>(in), {}));
    std::vector<std::wstring> lines;
    for (size_t start = 0, end; (end = text.find(L'\n', start)) != std::wstring::npos;
         start = end + 1)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

std::vector<std::wstring> listFolder(const std::wstring& path) {
    std::vector<std::wstring> names = entryNames(path);
    std::sort(names.begin(), names.end());
    return names;
}

RegistryGuard::RegistryGuard(const std::wstring& path) : path_(path) {
    HKEY key = nullptr;
    existed_ = RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key)
        RegCloseKey(key);
    if (existed_)
        save(path);
}

void RegistryGuard::save(const std::wstring& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return;
    engine::KeyHandle key(raw);
    Key saved{path, {}};
    for (DWORD i = 0;; ++i) {
        wchar_t name[16384];
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        nameLength = static_cast<DWORD>(std::size(name));
        RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, data.data(), &size);
        saved.values.push_back({name, type, data});
    }
    std::vector<std::wstring> children;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = static_cast<DWORD>(std::size(name));
        if (RegEnumKeyExW(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    keys_.push_back(saved);
    for (const auto& child : children)
        save(path + L"\\" + child);
}

RegistryGuard::~RegistryGuard() {
    deleteKeyTree(path_);
    for (const auto& saved : keys_) {
        HKEY raw = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, saved.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &raw, nullptr) != ERROR_SUCCESS)
            continue;
        engine::KeyHandle key(raw);
        for (const auto& value : saved.values)
            RegSetValueExW(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
    }
}

void deleteKeyTree(const std::wstring& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS)
        return;
    {
        engine::KeyHandle key(raw);
        for (;;) {
            wchar_t name[256];
            DWORD nameLength = static_cast<DWORD>(std::size(name));
            if (RegEnumKeyExW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS)
                break;
            const std::wstring before = name;
            deleteKeyTree(path + L"\\" + before);
            // Stop rather than loop when a sub-key cannot be deleted.
            nameLength = static_cast<DWORD>(std::size(name));
            if (RegEnumKeyExW(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS &&
                before == name)
                break;
        }
    }
    RegDeleteKeyW(HKEY_CURRENT_USER, path.c_str());
}

bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start >= timeoutMs)
            return false;
        Sleep(20);
    }
    return true;
}

} // namespace testsupport
