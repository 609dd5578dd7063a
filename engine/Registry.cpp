#include "engine/Registry.h"

#include <vector>

namespace engine {

namespace {
std::string format(const char* pattern, const std::string& arg) {
    std::string text = pattern;
    const auto at = text.find("%s");
    return text.replace(at, 2, arg);
}
} // namespace

bool Registry::openKey(const std::string& path) {
    current_.close();
    HKEY key = nullptr;
    if (RegOpenKeyExA(root_, path.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS &&
        RegOpenKeyExA(root_, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    current_ = KeyHandle(key);
    return true;
}

void Registry::createKey(const std::string& path) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(root_, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        throw RegistryError(format("Failed to create key %s", path));
    RegCloseKey(key);
}

std::string Registry::readString(const std::string& name) {
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS ||
        size == 0)
        return {};
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        throw RegistryError(format("Invalid data type for '%s'", name));
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        throw RegistryError(format("Failed to get data for '%s'", name));
    return std::string(data.data());
}

bool Registry::readBool(const std::string& name) {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegQueryValueExA(current_.get(), name.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        throw RegistryError(format("Failed to get data for '%s'", name));
    if (type != REG_DWORD)
        throw RegistryError(format("Invalid data type for '%s'", name));
    return value != 0;
}

void Registry::writeString(const std::string& name, const std::string& value) {
    if (RegSetValueExA(current_.get(), name.c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
        throw RegistryError(format("Failed to set data for '%s'", name));
}

void Registry::writeBool(const std::string& name, bool value) {
    const DWORD data = value ? 1 : 0;
    if (RegSetValueExA(current_.get(), name.c_str(), 0, REG_DWORD,
                       reinterpret_cast<const BYTE*>(&data), sizeof data) != ERROR_SUCCESS)
        throw RegistryError(format("Failed to set data for '%s'", name));
}

} // namespace engine
