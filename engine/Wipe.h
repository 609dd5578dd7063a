#pragma once
// Emptying one folder: files that can be opened for exclusive writing go, "desktop.ini"
// stays, sub-folders (when asked) are emptied depth-first and removed; the folder itself
// always stays. Nothing is reported.
#include <string>

namespace engine {

void WipeFolder(const std::wstring& folder, bool includeSubFolders);
void DeleteFolderFiles(const std::wstring& folder);
// Full path of the first sub-folder in enumeration order, or "".
std::wstring FirstSubFolder(const std::wstring& folder);
// True when the file could be opened for exclusive writing and closed again.
bool IsFileWritable(const std::wstring& fileName);

} // namespace engine
