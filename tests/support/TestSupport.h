#pragma once
// Shared fixtures: each test works in its own fresh folder tree inside the prefix and
// restores the registry keys it touches.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace testsupport {

// A fresh folder C:\t\work\<name>-<pid>-<n>, removed with everything below it at the end.
class TempTree {
public:
    explicit TempTree(const std::string& name = "tree");
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    ~TempTree();

    const std::string& path() const { return root_; }
    // root + "\" + relative
    std::string at(const std::string& relative) const;
    std::string mkdir(const std::string& relative) const;
    std::string file(const std::string& relative, const std::string& content = "x") const;
    bool exists(const std::string& relative) const;

private:
    std::string root_;
};

// Full path creation and recursive removal that clear read-only bits (tests only).
void writeFile(const std::string& path, const std::string& content = "x");
bool pathExists(const std::string& path);
void removeTree(const std::string& path);
// Names directly inside a folder (without "." and ".."), sorted.
std::vector<std::string> listFolder(const std::string& path);

// Saves a key of HKEY_CURRENT_USER with everything below it and puts it back as it was.
class RegistryGuard {
public:
    explicit RegistryGuard(const std::string& path);
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;
    ~RegistryGuard();

private:
    struct Value {
        std::string name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Key {
        std::string path;
        std::vector<Value> values;
    };
    void save(const std::string& path);
    std::string path_;
    bool existed_ = false;
    std::vector<Key> keys_;
};

void deleteKeyTree(const std::string& path);

// Polls `done` until it holds or `timeoutMs` has passed; whether it came to hold.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);

} // namespace testsupport
