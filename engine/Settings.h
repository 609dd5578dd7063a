#pragma once
// The stored choices: HKEY_CURRENT_USER\Software\Quellmoor Software\Brightsweep.
// The main window implements SettingsControls over its check boxes and folder list;
// loading sets each control as soon as its value is read.
#include "engine/Areas.h"

#include <string>
#include <vector>

namespace engine {

inline constexpr const char* kSettingsKey = "Software\\Quellmoor Software\\Brightsweep";

class SettingsControls {
public:
    virtual ~SettingsControls() = default;
    virtual bool windowsTempFiles() const = 0; // CheckBox1
    virtual bool windowsTempSub() const = 0;   // WindowsTempSub
    virtual bool recycleBin() const = 0;       // CheckBox3
    virtual bool recentDocs() const = 0;       // CheckBox5
    virtual bool userSub() const = 0;          // UserSub
    virtual std::vector<UserFolder> userFolders() const = 0;
    virtual void setWindowsTempFiles(bool) = 0;
    virtual void setWindowsTempSub(bool) = 0;
    virtual void setRecycleBin(bool) = 0;
    virtual void setRecentDocs(bool) = 0;
    virtual void setUserSub(bool) = 0;
    virtual void setUserFolders(const std::vector<UserFolder>&) = 0;
};

void LoadSettings(SettingsControls& controls);
void SaveSettings(const SettingsControls& controls);
// Creates the key and its six sub-keys; raises "Failed to create key %s".
void CreateSettingsKey();

// One line per entry: "*" + path for a ticked entry, the path alone otherwise.
std::vector<std::string> GetUserFolderList(const std::vector<UserFolder>& folders);
std::vector<UserFolder> SetUserFolderList(const std::vector<std::string>& lines);
// The stored text: every line ends in CR LF. Reading splits at CR LF, lone CR, lone LF.
std::string JoinListText(const std::vector<std::string>& lines);
std::vector<std::string> SplitListText(const std::string& text);

} // namespace engine
