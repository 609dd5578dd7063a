// Plain registry value access for arranging and inspecting keys in tests.
#include "engine/Registry.h"
#include "tests/support/TestSupport.h"

namespace testsupport {

namespace {
engine::KeyHandle open(HKEY root, const std::string& path, REGSAM access) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(root, path.c_str(), 0, access, &raw) != ERROR_SUCCESS)
        return {};
    return engine::KeyHandle(raw);
}
} // namespace

bool keyExists(const std::string& path, HKEY root) {
    return static_cast<bool>(open(root, path, KEY_READ));
}

bool setValue(const std::string& path, const std::string& name, DWORD type, const void* data,
              DWORD size) {
    HKEY raw = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &raw, nullptr) != ERROR_SUCCESS)
        return false;
    engine::KeyHandle key(raw);
    return RegSetValueExA(key.get(), name.c_str(), 0, type, static_cast<const BYTE*>(data), size) ==
           ERROR_SUCCESS;
}

bool setDword(const std::string& path, const std::string& name, DWORD value) {
    return setValue(path, name, REG_DWORD, &value, sizeof value);
}

bool setText(const std::string& path, const std::string& name, const std::string& text,
             DWORD type) {
    return setValue(path, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

void deleteValue(const std::string& path, const std::string& name) {
    const engine::KeyHandle key = open(HKEY_CURRENT_USER, path, KEY_SET_VALUE);
    if (key)
        RegDeleteValueA(key.get(), name.c_str());
}

StoredValue storedValue(const std::string& path, const std::string& name, HKEY root) {
    const engine::KeyHandle key = open(root, path, KEY_READ);
    StoredValue result;
    DWORD size = 0;
    if (!key || RegQueryValueExA(key.get(), name.c_str(), nullptr, &result.type, nullptr, &size) !=
                    ERROR_SUCCESS)
        return result;
    result.present = true;
    result.data.resize(size);
    RegQueryValueExA(key.get(), name.c_str(), nullptr, &result.type,
                     reinterpret_cast<BYTE*>(result.data.data()), &size);
    return result;
}

KeyValues keyValues(const std::string& path) {
    KeyValues values;
    const engine::KeyHandle key = open(HKEY_CURRENT_USER, path, KEY_READ);
    if (!key)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[256];
        DWORD nameLength = sizeof name, type = 0, size = 0;
        if (RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::string data(size, '\0');
        nameLength = sizeof name;
        RegEnumValueA(key.get(), i, name, &nameLength, nullptr, &type,
                      reinterpret_cast<BYTE*>(data.data()), &size);
        values[name] = {type, data};
    }
    return values;
}

} // namespace testsupport
