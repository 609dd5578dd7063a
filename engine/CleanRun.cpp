#include "engine/CleanRun.h"

#include "engine/Areas.h"

namespace engine {

void RunClean(const Choices& choices, const std::function<void()>& beforeDeleting) {
    if (beforeDeleting)
        beforeDeleting();
    if (choices.windowsTemp)
        CleanWindowsTemp(choices.windowsTempSubFolders);
    if (choices.recycleBin)
        EmptyRecycleBins();
    if (choices.recentDocuments)
        ClearRecentDocuments();
    CleanUserFolders(choices.userFolders, choices.userSubFolders);
    choices.Save();
}

} // namespace engine
