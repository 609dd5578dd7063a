#include "tests/support/TestSupport.h"

#include "engine/FolderEntries.h"
#include "engine/Handles.h"
#include "engine/Registry.h"

#include <algorithm>
#include <stdexcept>

namespace testsupport {

namespace {
std::string join(const std::string& a, const std::string& b) {
    if (!a.empty() && a.back() == '\\')
        return a + b;
    return a + "\\" + b;
}
void makeDirs(const std::string& path) {
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == '\\')
            CreateDirectoryA(path.substr(0, i).c_str(), nullptr);
}
// The names in a folder, in the order the listing gives them.
std::vector<std::string> entryNames(const std::string& path) {
    std::vector<std::string> names;
    engine::ForEachEntry(engine::WithBackslash(path),
                         [&](const WIN32_FIND_DATAA& entry) { names.push_back(entry.cFileName); });
    return names;
}
} // namespace

TempTree::TempTree(const std::string& name) {
    static int counter = 0;
    root_ = "C:\\t\\work\\" + name + "-" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
    removeTree(root_);
    makeDirs(root_);
}

TempTree::~TempTree() {
    removeTree(root_);
}

std::string TempTree::at(const std::string& relative) const {
    return join(root_, relative);
}

std::string TempTree::mkdir(const std::string& relative) const {
    const std::string path = at(relative);
    makeDirs(path);
    return path;
}

std::string TempTree::file(const std::string& relative, const std::string& content) const {
    const std::string path = at(relative);
    writeFile(path, content);
    return path;
}

bool TempTree::exists(const std::string& relative) const {
    return pathExists(at(relative));
}

void writeFile(const std::string& path, const std::string& content) {
    const auto slash = path.find_last_of('\\');
    if (slash != std::string::npos)
        makeDirs(path.substr(0, slash));
    engine::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.valid())
        throw std::runtime_error("cannot create " + path);
    DWORD written = 0;
    WriteFile(file.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
}

bool pathExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

void removeTree(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileA(path.c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        // Listed in full first: the listing is closed before anything in it goes.
        for (const auto& name : entryNames(path))
            removeTree(join(path, name));
    }
    RemoveDirectoryA(path.c_str());
}

std::vector<std::string> listFolder(const std::string& path) {
    std::vector<std::string> names = entryNames(path);
    std::sort(names.begin(), names.end());
    return names;
}

RegistryGuard::RegistryGuard(const std::string& path) : path_(path) {
    HKEY key = nullptr;
    existed_ = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    if (key)
        RegCloseKey(key);
    if (existed_)
        save(path);
}

void RegistryGuard::save(const std::string& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS)
        return;
    engine::KeyHandle key(raw);
    Key saved{path, {}};
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameLength = sizeof name;
        DWORD type = 0;
        DWORD size = 0;
        if (RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        nameLength = sizeof name;
        RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, data.data(), &size);
        saved.values.push_back({name, type, data});
    }
    std::vector<std::string> children;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name;
        if (RegEnumKeyExA(key.get(), i, name, &nameLength, nullptr, nullptr, nullptr, nullptr) !=
            ERROR_SUCCESS)
            break;
        children.push_back(name);
    }
    keys_.push_back(saved);
    for (const auto& child : children)
        save(path + "\\" + child);
}

RegistryGuard::~RegistryGuard() {
    deleteKeyTree(path_);
    for (const auto& saved : keys_) {
        HKEY raw = nullptr;
        if (RegCreateKeyExA(HKEY_CURRENT_USER, saved.path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                            nullptr, &raw, nullptr) != ERROR_SUCCESS)
            continue;
        engine::KeyHandle key(raw);
        for (const auto& value : saved.values)
            RegSetValueExA(key.get(), value.name.c_str(), 0, value.type, value.data.data(),
                           static_cast<DWORD>(value.data.size()));
    }
}

void deleteKeyTree(const std::string& path) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ALL_ACCESS, &raw) != ERROR_SUCCESS)
        return;
    {
        engine::KeyHandle key(raw);
        for (;;) {
            char name[256];
            DWORD nameLength = sizeof name;
            if (RegEnumKeyExA(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS)
                break;
            const std::string before = name;
            deleteKeyTree(path + "\\" + before);
            // Stop rather than loop when a sub-key cannot be deleted.
            nameLength = sizeof name;
            if (RegEnumKeyExA(key.get(), 0, name, &nameLength, nullptr, nullptr, nullptr,
                              nullptr) == ERROR_SUCCESS &&
                before == name)
                break;
        }
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
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
