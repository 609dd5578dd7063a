#include "shortcuts/ShellFolders.h"

#include "engine/Registry.h"

namespace shortcuts {

namespace {

std::vector<std::wstring> valueNames(HKEY root) {
    std::vector<std::wstring> names;
    HKEY opened = nullptr;
    if (RegOpenKeyExW(root, ShellFoldersKey, 0, KEY_READ, &opened) != ERROR_SUCCESS)
        return names;
    const engine::KeyHandle key(opened);
    for (DWORD index = 0;; ++index) {
        wchar_t name[16384]; // the longest value name the registry allows, and its zero
        DWORD length = static_cast<DWORD>(std::size(name));
        const LONG result =
            RegEnumValueW(key.get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            names.emplace_back(name, length);
    }
    return names;
}

} // namespace

std::wstring ReadShellFolder(const std::wstring& valueName, HKEY root) {
    engine::Registry registry(root);
    // A missing key reads as a missing value: the empty text.
    registry.openKey(ShellFoldersKey);
    return registry.readString(valueName);
}

std::vector<std::wstring> AllShellFolders() {
    std::vector<std::wstring> folders;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        for (const auto& name : valueNames(root)) {
            try {
                std::wstring path = ReadShellFolder(name, root);
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
