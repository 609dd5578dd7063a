#pragma once
// The stored choices: HKEY_CURRENT_USER\Software\Quellmoor Software\Brightsweep. Six values
// and six empty sub-keys named like them; the user-folder list is one text value.
#include <string>
#include <vector>

namespace engine {

inline constexpr const wchar_t* kSettingsKey = L"Software\\Quellmoor Software\\Brightsweep";

struct UserFolder {
    std::wstring path;
    bool ticked = false;
    bool operator==(const UserFolder&) const = default;
};

// What a clean run empties. The two orphaned-shortcut choices are not among them: they are
// never stored, and a silent run never scans.
struct Choices {
    bool windowsTemp = false;            // "WindowsTempFiles"
    bool windowsTempSubFolders = false;  // "WTFSubDir"
    bool recycleBin = false;             // "RecycleBin"
    bool recentDocuments = false;        // "RecentDocs"
    std::vector<UserFolder> userFolders; // "UserDirectories"
    bool userSubFolders = false;         // "UserSubDir"

    // Reads the stored choices over these, each value as soon as it is read; the list is
    // applied last. A missing key, or a missing or mistyped value, ends the reading: what was
    // read stays, the rest keeps its value, and the key's layout is made anew. Raises only
    // CreateSettingsKey's "Failed to create key %s".
    void Load();
    // Writes the six values in their order. Without the key, the layout is made and nothing
    // is written; a failed write keeps what was written and makes the layout anew.
    void Save() const;

    bool operator==(const Choices&) const = default;
};

// Creates the key and its six sub-keys where missing; raises "Failed to create key %s".
void CreateSettingsKey();

// One line per entry: "*" + path for a ticked entry, the path alone otherwise.
std::vector<std::wstring> GetUserFolderList(const std::vector<UserFolder>& folders);
std::vector<UserFolder> SetUserFolderList(const std::vector<std::wstring>& lines);
// The stored text: every line ends in CR LF. Reading splits at CR LF, lone CR, lone LF.
std::wstring JoinListText(const std::vector<std::wstring>& lines);
std::vector<std::wstring> SplitListText(const std::wstring& text);

} // namespace engine
