#include "engine/Areas.h"

#include <windows.h>

namespace engine {

void GetFixedDrives(std::vector<std::string>& drives) {
    drives.clear();
    const DWORD mask = GetLogicalDrives();
    for (int index = 0; index < 26; ++index) {
        if (!(mask & (1u << index)))
            continue;
        const char root[] = {static_cast<char>('a' + index), ':', '\\', '\0'};
        if (GetDriveTypeA(root) == DRIVE_FIXED)
            drives.push_back({static_cast<char>('A' + index), ':'});
    }
}

} // namespace engine
