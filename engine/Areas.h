#pragma once
// The cleaning areas: the user's folders, the Windows temporary folder, the recycle
// folders of the fixed drives with the user's Recycle Bin, and the shell's recent-documents
// list.
#include "engine/Choices.h"
#include "engine/ProtectedPlaces.h"

#include <string>
#include <vector>

namespace engine {

// The folder areas refuse to empty any of `places` or what holds one (ProtectedPlaces; a clean
// run reads them once for all its areas).
// Wipes each ticked entry, in list order.
void CleanUserFolders(const std::vector<UserFolder>& folders, bool includeSubFolders,
                      const std::vector<std::wstring>& places = ProtectedPlaces());
void CleanWindowsTemp(bool includeSubFolders,
                      const std::vector<std::wstring>& places = ProtectedPlaces());
void EmptyRecycleBins(const std::vector<std::wstring>& places = ProtectedPlaces());
void ClearRecentDocuments();
// The shell call behind ClearRecentDocuments (SHAddToRecentDocs by default), replaceable so a
// test can see it made. Returns the call it replaces.
using RecentDocsCall = void (*)(unsigned int flags, const void* item);
RecentDocsCall SetRecentDocsCall(RecentDocsCall call);
// Empties `drives` and fills it with "C:", "D:", ... for each fixed drive, in letter order.
void GetFixedDrives(std::vector<std::wstring>& drives);

} // namespace engine
