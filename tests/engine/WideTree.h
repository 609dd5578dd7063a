#pragma once
// A fresh folder C:\t\work\<name>-<pid>-<n> for tests with names of any kind: every call goes
// through "\\?\" paths, so names ending in a dot or a space and paths of any length work.
// Removed with everything below it at the end.
#include <windows.h>

#include <string>
#include <vector>

namespace enginetest {

class WideTree {
public:
    explicit WideTree(const std::wstring& name);
    WideTree(const WideTree&) = delete;
    WideTree& operator=(const WideTree&) = delete;
    ~WideTree();

    const std::wstring& path() const { return root_; }
    // root + "\" + relative; the root itself for ""
    std::wstring at(const std::wstring& relative) const;
    // Creates the file (and the folders above it) with the given attribute bits.
    std::wstring file(const std::wstring& relative, DWORD attributes = FILE_ATTRIBUTE_NORMAL) const;
    std::wstring mkdir(const std::wstring& relative) const;
    // Renames or moves `from` to `to`, both inside the tree; whether it worked.
    bool move(const std::wstring& from, const std::wstring& to) const;
    bool exists(const std::wstring& relative) const;
    DWORD attributes(const std::wstring& relative) const;
    // Names directly inside, sorted; empty when the folder is missing.
    std::vector<std::wstring> list(const std::wstring& relative) const;

private:
    std::wstring root_;
};

// A handle on a file or folder kept open for the life of the object, with the sharing given.
class Held {
public:
    Held(const std::wstring& path, DWORD share);
    Held(const Held&) = delete;
    Held& operator=(const Held&) = delete;
    ~Held();
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

} // namespace enginetest
