#include "engine/Areas.h"

#include <windows.h>

namespace engine {

void GetFixedDrives(std::vector<std::wstring>& drives) {
    drives.clear();
    const DWORD mask = GetLogicalDrives();
    for (int index = 0; index < 26; ++index) {
        if (!(mask & (1u << index)))
            continue;
        const wchar_t root[] = {static_cast<wchar_t>(L'a' + index), L':', L'\\', L'\0'};
        if (GetDriveTypeW(root) == DRIVE_FIXED)
            drives.push_back({static_cast<wchar_t>(L'A' + index), L':'});
    }
}

} // namespace engine
