#include "shortcuts/ShellFolders.h"

#include "engine/Registry.h"

namespace shortcuts {

namespace {

std::vector<std::string> valueNames(HKEY root) {
    std::vector<std::string> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExA(root, ShellFoldersKey, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return names;
    const engine::KeyHandle key(opened);
    for (DWORD index = 0;; ++index) {
        char name[16384]; // the longest value name the registry allows, and its zero
        DWORD length = sizeof name;
        const LONG result =
            RegEnumValueA(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}

} // namespace

std::string ReadShellFolder(const std::string& valueName, HKEY root) {
    engine::Registry registry(root);
    // A missing key reads as a missing value: the empty text.
    registry.openKey(ShellFoldersKey);
    return registry.readString(valueName);
}

std::vector<std::string> AllShellFolders() {
    std::vector<std::string> folders;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const auto& name : valueNames(root)) {
            try {
                std::string path = ReadShellFolder(name, root);
                if (!path.empty())
                    folders.push_back(std::move(path));
            } catch (const engine::RegistryError&) {
                // Not a text: names no folder.
            }
        }
    }
    return folders;
}

} // namespace shortcuts
