// Plain registry value access for arranging and inspecting keys in tests.
#include "engine/Registry.h"
#include "tests/support/TestSupport.h"

#include <cstring>

namespace testsupport {

namespace {
engine::KeyHandle open(HKEY root, const std::wstring& path, REGSAM access) {
    HKEY raw = nullptr;
    if (RegOpenKeyExW(root, path.c_str(), 0, access, &raw) != ERROR_SUCCESS)
        return {};
    return engine::KeyHandle(raw);
}
} // namespace

bool keyExists(const std::wstring& path, HKEY root) {
    return static_cast<bool>(open(root, path, KEY_READ));
}

bool setValue(const std::wstring& path, const std::wstring& name, DWORD type, const void* data,
              DWORD size) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &raw, nullptr) != ERROR_SUCCESS)
        return false;
    engine::KeyHandle key(raw);
    return RegSetValueExW(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool setDword(const std::wstring& path, const std::wstring& name, DWORD value) {
    return setValue(path, name, REG_DWORD, &value, sizeof value);
}

bool setText(const std::wstring& path, const std::wstring& name, const std::wstring& text,
             DWORD type) {
    return setValue(path, name, type, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void deleteValue(const std::wstring& path, const std::wstring& name) {
    const engine::KeyHandle key = open(HKEY_CURRENT_USER, path, KEY_SET_VALUE);
    if (key)
        RegDeleteValueW(key.get(), name.c_str());
}

std::wstring unitsOf(const std::string& bytes) {
    std::wstring units(bytes.size() / sizeof(wchar_t), L'\0');
    std::memcpy(units.data(), bytes.data(), units.size() * sizeof(wchar_t));
    return units;
}

StoredValue storedValue(const std::wstring& path, const std::wstring& name, HKEY root) {
    const engine::KeyHandle key = open(root, path, KEY_READ);
    StoredValue result;
    DWORD size = 0;
    if (!key || RegQueryValueExW(key.get(), name.c_str(), nullptr, &result.type, nullptr, &size) !=
                    ERROR_SUCCESS)
        return result;
    result.present = true;
    result.data.resize(size);
    RegQueryValueExW(key.get(), name.c_str(), nullptr, &result.type,
                     reinterpret_cast<BYTE*>(result.data.data()), &size);
    return result;
}

KeyValues keyValues(const std::wstring& path) {
    KeyValues values;
    const engine::KeyHandle key = open(HKEY_CURRENT_USER, path, KEY_READ);
    if (!key)
        return values;
    for (DWORD i = 0;; ++i) {
        wchar_t name[256];
        DWORD nameLength = static_cast<DWORD>(std::size(name)), type = 0, size = 0;
        if (RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::string data(size, '\0');
        nameLength = static_cast<DWORD>(std::size(name));
        RegEnumValueW(key.get(), i, name, &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &size);
        values[name] = {type, data};
    }
    return values;
}

} // namespace testsupport
