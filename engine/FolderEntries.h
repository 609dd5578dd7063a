#pragma once
// One folder's listing, as the wipe and the shortcut scan both walk it.
#include "engine/Handles.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <type_traits>

namespace engine {

// The folder with a trailing backslash, ready for a name to be appended.
inline std::wstring WithBackslash(std::wstring folder) {
    if (folder.empty() || folder.back() != L'\\')
        folder += L'\\';
    return folder;
}

// Calls `visit(entry)` for each entry of the folder `base` (which ends in a backslash),
// hidden and system ones included, but not "." and "..". A visit that returns a bool
// ends the listing by returning false. An unreadable folder lists nothing.
template <class Visit> void ForEachEntry(const std::wstring& base, Visit&& visit) {
    WIN32_FIND_DATAW entry;
    FindHandle find;
    if (!find.first((base + L"*.*").c_str(), entry))
        return;
    do {
        // Skipped by name: a drive's root lists neither.
        if (std::wcscmp(entry.cFileName, L".") == 0 || std::wcscmp(entry.cFileName, L"..") == 0)
            continue;
        if constexpr (std::is_void_v<decltype(visit(entry))>)
            visit(entry);
        else if (!visit(entry))
            return;
    } while (find.next(entry));
}

} // namespace engine
