#include "engine/CleanRun.h"

#include "engine/Areas.h"

#include <algorithm>

namespace engine {

void RunClean(const Choices& choices, const std::function<void()>& beforeDeleting) {
    if (beforeDeleting)
        beforeDeleting();
    // The protected places are read once, and only when some folder is to be emptied.
    const bool ticked = std::any_of(choices.userFolders.begin(), choices.userFolders.end(),
                                    [](const UserFolder& folder) { return folder.ticked; });
    const std::vector<std::wstring> places = choices.windowsTemp || choices.recycleBin || ticked
                                                 ? ProtectedPlaces()
                                                 : std::vector<std::wstring>{};
    if (choices.windowsTemp)
        CleanWindowsTemp(choices.windowsTempSubFolders, places);
    if (choices.recycleBin)
        EmptyRecycleBins(places);
    if (choices.recentDocuments)
        ClearRecentDocuments();
    CleanUserFolders(choices.userFolders, choices.userSubFolders, places);
    choices.Save();
}

} // namespace engine
