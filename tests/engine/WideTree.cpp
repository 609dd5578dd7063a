#include "tests/engine/WideTree.h"

#include <algorithm>
#include <stdexcept>

namespace enginetest {

namespace {

std::wstring extended(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

void makeFolders(const std::wstring& path) {
    for (size_t i = 3; i <= path.size(); ++i)
        if (i == path.size() || path[i] == L'\\')
            CreateDirectoryW(extended(path.substr(0, i)).c_str(), nullptr);
}

// Depth-first, clearing read-only bits. A link is removed as itself, never entered.
void removeTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(extended(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return;
    SetFileAttributesW(extended(path).c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        DeleteFileW(extended(path).c_str());
        return;
    }
    if (!(attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        WIN32_FIND_DATAW entry;
        const HANDLE find = FindFirstFileW(extended(path + L"\\*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = entry.cFileName;
                if (name != L"." && name != L"..")
                    removeTree(path + L"\\" + name);
            } while (FindNextFileW(find, &entry));
            FindClose(find);
        }
    }
    RemoveDirectoryW(extended(path).c_str());
}

} // namespace

WideTree::WideTree(const std::wstring& name) {
    static int counter = 0;
    root_ = L"C:\\t\\work\\" + name + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    removeTree(root_);
    makeFolders(root_);
}

WideTree::~WideTree() {
    removeTree(root_);
}

std::wstring WideTree::at(const std::wstring& relative) const {
    return relative.empty() ? root_ : root_ + L"\\" + relative;
}

std::wstring WideTree::file(const std::wstring& relative, DWORD attributes) const {
    const std::wstring path = at(relative);
    makeFolders(path.substr(0, path.find_last_of(L'\\')));
    const HANDLE file = CreateFileW(extended(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        throw std::runtime_error("cannot create a test file");
    DWORD written = 0;
    WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
    if (attributes != FILE_ATTRIBUTE_NORMAL)
        SetFileAttributesW(extended(path).c_str(), attributes);
    return path;
}

std::wstring WideTree::mkdir(const std::wstring& relative) const {
    const std::wstring path = at(relative);
    makeFolders(path);
    return path;
}

bool WideTree::move(const std::wstring& from, const std::wstring& to) const {
    return MoveFileW(extended(at(from)).c_str(), extended(at(to)).c_str()) != FALSE;
}

bool WideTree::exists(const std::wstring& relative) const {
    return attributes(relative) != INVALID_FILE_ATTRIBUTES;
}

DWORD WideTree::attributes(const std::wstring& relative) const {
    return GetFileAttributesW(extended(at(relative)).c_str());
}

std::vector<std::wstring> WideTree::list(const std::wstring& relative) const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const HANDLE find = FindFirstFileW(extended(at(relative) + L"\\*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..")
            names.push_back(name);
    } while (FindNextFileW(find, &entry));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

Held::Held(const std::wstring& path, DWORD share)
    : handle_(CreateFileW(extended(path).c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                          FILE_FLAG_BACKUP_SEMANTICS, nullptr)) {}

Held::~Held() {
    if (valid())
        CloseHandle(handle_);
}

} // namespace enginetest
