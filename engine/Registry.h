#pragma once
// Registry access over one current key, with the fixed failure messages the settings
// store and the shell-link component report.
#include "engine/Error.h"
#include "engine/Handles.h"

#include <windows.h>

#include <string>

namespace engine {

// Raised by the registry wrapper; the message is one of the fixed texts below.
class RegistryError : public Error {
public:
    using Error::Error;
};

// An owned HKEY.
struct KeyHandleTraits {
    using Handle = HKEY;
    static Handle none() { return nullptr; }
    static bool holds(Handle key) { return key != nullptr; }
    static bool close(Handle key) { return RegCloseKey(key) == ERROR_SUCCESS; }
};
using KeyHandle = UniqueHandle<KeyHandleTraits>;

class Registry {
public:
    explicit Registry(HKEY root = HKEY_CURRENT_USER) : root_(root) {}

    // Opens an existing key: full access first, read-only as the fallback. No error.
    bool openKey(const std::wstring& path);
    // Creates (or opens) a key and closes it again at once. Raises "Failed to create key %s".
    void createKey(const std::wstring& path);

    // A missing value reads as ""; a type other than REG_SZ/REG_EXPAND_SZ raises
    // "Invalid data type for '%s'". The text ends at its first zero; nothing is expanded.
    std::wstring readString(const std::wstring& name);
    // REG_DWORD only; non-zero is true. Missing or longer than 4 bytes: "Failed to get data
    // for '%s'"; another type: "Invalid data type for '%s'".
    bool readBool(const std::wstring& name);
    // REG_SZ with its terminating zero / REG_DWORD 0 or 1. Raises "Failed to set data for '%s'".
    void writeString(const std::wstring& name, const std::wstring& value);
    void writeBool(const std::wstring& name, bool value);

    void closeKey() { current_.close(); }

private:
    HKEY root_;
    KeyHandle current_;
};

} // namespace engine
