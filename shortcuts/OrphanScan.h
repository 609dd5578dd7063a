#pragma once
// The search for shortcuts whose target on a fixed drive no longer exists. Reads only:
// it never deletes, moves or changes anything.
#include "shortcuts/ShellLnk.h"

#include <windows.h>

#include <string>
#include <vector>

namespace shortcuts {

// Full paths of orphaned shortcut files, in the order found; duplicates are kept.
using OrphanList = std::vector<std::wstring>;

// Tests the shortcuts of `folder`, and with `recurse` the whole tree below it first
// (depth-first, post-order). Only sub-folders whose attributes are the directory flag
// alone are entered. An empty folder path scans nothing.
void ScanForOrphans(const std::wstring& folder, bool recurse, OrphanList& orphans,
                    TPBShellLink& link);

// Appends each ".lnk" file directly inside `folder` whose target lies on a fixed drive
// and cannot be queried. Every failure of a single shortcut is passed over.
void CheckFolderShortcuts(const std::wstring& folder, OrphanList& orphans, TPBShellLink& link);

// The drive part of a path: "C:" or "\\server\share", upper-cased; "" otherwise.
std::wstring DrivePart(const std::wstring& path);

// Attributes of `path` as a 32-bit program on 64-bit Windows should see them: with the
// System32 redirection off for the query, so that 64-bit-only files count as present.
DWORD UnredirectedAttributes(const std::wstring& path);

} // namespace shortcuts
