#pragma once
// Shared fixtures: each test works in its own fresh folder tree inside the prefix and
// restores the registry keys it touches.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// The program's settings key under HKEY_CURRENT_USER, written out here on its own so that
// tests check the name the program uses rather than take it from the program.
inline constexpr const wchar_t kSettingsKey[] = L"Software\\Quellmoor Software\\Brightsweep";

// A fresh folder C:\t\work\<name>-<pid>-<n>, removed with everything below it at the end.
// Names of any kind work: the calls go through "\\?\" paths, so names ending in a dot or a
// space and paths of any length are made, listed and removed like any other.
class TempTree {
public:
    explicit TempTree(const std::wstring& name = L"tree");
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;
    ~TempTree();

    const std::wstring& path() const { return root_; }
    // root + "\" + relative; the root itself for ""
    std::wstring at(const std::wstring& relative) const;
    std::wstring mkdir(const std::wstring& relative) const;
    std::wstring file(const std::wstring& relative, const std::string& content = "x") const;
    // A file with these attribute bits.
    std::wstring file(const std::wstring& relative, DWORD attributes) const;
    bool exists(const std::wstring& relative) const;
    DWORD attributes(const std::wstring& relative) const;
    // Renames or moves `from` to `to`, both inside the tree; whether it worked.
    bool move(const std::wstring& from, const std::wstring& to) const;
    // Names directly inside, sorted; empty when the folder is missing.
    std::vector<std::wstring> list(const std::wstring& relative) const;

private:
    std::wstring root_;
};

// A file or folder kept open for the life of the object, with the sharing given.
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

// Full path creation and recursive removal that clear read-only bits (tests only).
void writeFile(const std::wstring& path, const std::string& content = "x");
bool pathExists(const std::wstring& path);
void removeTree(const std::wstring& path);
// The lines of a UTF-16 text file that each end in "\n"; none when it cannot be read.
std::vector<std::wstring> utf16Lines(const std::wstring& path);
// Names directly inside a folder (without "." and ".."), sorted.
std::vector<std::wstring> listFolder(const std::wstring& path);

void deleteKeyTree(const std::wstring& path);

// Saves a key of HKEY_CURRENT_USER with everything below it and puts it back as it was.
class RegistryGuard {
public:
    enum class Start { AsItIs, Empty };
    explicit RegistryGuard(const std::wstring& path);
    // Start::Empty also deletes the key tree once it is saved, so the test starts without it.
    RegistryGuard(const std::wstring& path, Start start) : RegistryGuard(path) {
        if (start == Start::Empty)
            deleteKeyTree(path);
    }
    RegistryGuard(const RegistryGuard&) = delete;
    RegistryGuard& operator=(const RegistryGuard&) = delete;
    ~RegistryGuard();

private:
    struct Value {
        std::wstring name;
        DWORD type;
        std::vector<BYTE> data;
    };
    struct Key {
        std::wstring path;
        std::vector<Value> values;
    };
    void save(const std::wstring& path);
    std::wstring path_;
    bool existed_ = false;
    std::vector<Key> keys_;
};

// Plain value access to keys under HKEY_CURRENT_USER (or `root`) for arranging and
// inspecting them. The writers create the key when it is missing and say whether the
// value was written.
bool keyExists(const std::wstring& path, HKEY root = HKEY_CURRENT_USER);
bool setValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
              DWORD size);
bool setDword(const std::wstring& path, const std::wstring& name, DWORD value);
// REG_SZ (or `type`) with its terminating zero.
bool setText(const std::wstring& path, const std::wstring& name, const std::wstring& text,
             DWORD type = REG_SZ);
void deleteValue(const std::wstring& path, const std::wstring& name);

// Raw registry bytes read as UTF-16 units, zeros included.
std::wstring unitsOf(const std::string& bytes);

struct StoredValue {
    bool present = false;
    DWORD type = 0;
    std::string data; // the raw bytes as stored
    // The bytes as UTF-16 units, zeros included (a text value and its terminator).
    std::wstring text() const { return unitsOf(data); }
};
StoredValue storedValue(const std::wstring& path, const std::wstring& name,
                        HKEY root = HKEY_CURRENT_USER);
// Every value of a key as name -> (type, bytes); empty when the key is missing.
using KeyValues = std::map<std::wstring, std::pair<DWORD, std::string>>;
KeyValues keyValues(const std::wstring& path);

// Removes the given files or folder trees when it goes out of scope (and, optionally,
// first at once, in case an earlier run left them behind).
class RemoveAtEnd {
public:
    enum class Start { AsItIs, Cleared };
    explicit RemoveAtEnd(std::vector<std::wstring> paths, Start start = Start::AsItIs)
        : paths_(std::move(paths)) {
        if (start == Start::Cleared)
            removeAll();
    }
    RemoveAtEnd(const RemoveAtEnd&) = delete;
    RemoveAtEnd& operator=(const RemoveAtEnd&) = delete;
    ~RemoveAtEnd() { removeAll(); }

private:
    void removeAll() const {
        for (const auto& path : paths_)
            removeTree(path);
    }
    std::vector<std::wstring> paths_;
};

// The first command-line argument of this test program that ends with `tail` (build
// outputs are passed by their path inside the prefix), or "".
std::wstring argumentEndingWith(const std::wstring& tail);

// Runs this test program once more with `arguments` (a --gtest_filter, say), its output
// going where ours goes, and returns its exit code, or -1 when it has not ended after
// `timeoutMs` (it is then ended). For settings Wine reads only when a program starts.
int runThisProgramAgain(const std::wstring& arguments, DWORD timeoutMs = 60000);

// Polls `done` until it holds or `timeoutMs` has passed; whether it came to hold.
bool waitUntil(const std::function<bool()>& done, DWORD timeoutMs);

} // namespace testsupport
