#pragma once
// Hands a shortcut file to the shell-link object only once its bytes have passed the
// structural check, and hands it exactly those bytes.
#include <windows.h>
#include <objidl.h>

#include <string>

namespace shortcuts {

// Reads the file at `path` whole (at most MaxLinkFileSize bytes, other writers shut out
// while it is read), checks it with IsWellFormedLink and loads that same copy into `link`
// through a memory stream, so the file cannot change between the check and the load.
// False when the file cannot be read, fails the check, or the object refuses it.
bool LoadCheckedLink(IPersistStream* link, const std::wstring& path);

} // namespace shortcuts
