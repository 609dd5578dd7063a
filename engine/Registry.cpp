#include "engine/Registry.h"

#include <vector>

namespace engine {

namespace {
// The fixed message with the key or value name in place of "%s".
std::wstring format(const wchar_t* pattern, const std::wstring& arg) {
    std::wstring text = pattern;
    const auto at = text.find(L"%s");
    return text.replace(at, 2, arg);
}
} // namespace

bool Registry::openKey(const std::wstring& path) {
    current_.close();
    HKEY key = nullptr;
    if (RegOpenKeyExW(root_, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS &&
        RegOpenKeyExW(root_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    current_ = KeyHandle(key);
    return true;
}

void Registry::createKey(const std::wstring& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw RegistryError(format(L"Failed to create key %s", path));
    RegCloseKey(key);
}

std::wstring Registry::readString(const std::wstring& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(current_.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw RegistryError(format(L"Invalid data type for '%s'", name));
    // The size is in bytes and need not be even, nor include a terminating zero.
    std::vector<wchar_t> data(size / sizeof(wchar_t) + 2, L'\0');
    if (RegQueryValueExW(current_.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        throw RegistryError(format(L"Failed to get data for '%s'", name));
    return std::wstring(data.data());
}

bool Registry::readBool(const std::wstring& name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExW(current_.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        throw RegistryError(format(L"Failed to get data for '%s'", name));
    if (type != REG_DWORD)
        throw RegistryError(format(L"Invalid data type for '%s'", name));
    return value != 0;
}

void Registry::writeString(const std::wstring& name, const std::wstring& value) {
    if (RegSetValueExW(current_.get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) != ERROR_SUCCESS)
        throw RegistryError(format(L"Failed to set data for '%s'", name));
}

void Registry::writeBool(const std::wstring& name, bool value) {
    const DWORD data = value ? 1 : 0;
    if (RegSetValueExW(current_.get(), name.c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&data), sizeof data) != ERROR_SUCCESS)
        throw RegistryError(format(L"Failed to set data for '%s'", name));
}

} // namespace engine
