#pragma once
// The cleaning areas: the user's folders, the Windows temporary folder, the recycle
// folders of the fixed drives with the user's Recycle Bin, and the shell's recent-documents
// list.
#include "engine/Choices.h"

#include <string>
#include <vector>

namespace engine {

// Wipes each ticked entry, in list order.
void CleanUserFolders(const std::vector<UserFolder>& folders, bool includeSubFolders);
void CleanWindowsTemp(bool includeSubFolders);
void EmptyRecycleBins();
void ClearRecentDocuments();
// The shell call behind ClearRecentDocuments (SHAddToRecentDocs by default), replaceable so a
// test can see it made. Returns the call it replaces.
using RecentDocsCall = void (*)(unsigned int flags, const void* item);
RecentDocsCall SetRecentDocsCall(RecentDocsCall call);
// Empties `drives` and fills it with "C:", "D:", ... for each fixed drive, in letter order.
void GetFixedDrives(std::vector<std::wstring>& drives);

} // namespace engine
