#pragma once
// The cleaning areas: the user's folders, the Windows temporary folder, the recycle
// folders of the fixed drives and the shell's recent-documents list.
#include <string>
#include <vector>

namespace engine {

struct UserFolder {
    std::string path;
    bool ticked = false;
    bool operator==(const UserFolder&) const = default;
};

// Wipes each ticked entry, in list order.
void CleanUserFolders(const std::vector<UserFolder>& folders, bool includeSubFolders);
void CleanWindowsTemp(bool includeSubFolders);
void EmptyRecycleBins();
void ClearRecentDocuments();
// Empties `drives` and fills it with "C:", "D:", ... for each fixed drive, in letter order.
void GetFixedDrives(std::vector<std::string>& drives);

} // namespace engine
