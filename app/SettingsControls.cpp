// The main window's controls as the settings store sees them. Setting a control from the
// store sends no click notification, so loading never looks like a user edit; only the
// enabling of WindowsTempSub follows CheckBox1, as it does for every change.
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"

namespace app {

bool TSettingsFrm::windowsTempFiles() const {
    return isChecked(idCheckBox1);
}
bool TSettingsFrm::windowsTempSub() const {
    return isChecked(idWindowsTempSub);
}
bool TSettingsFrm::recycleBin() const {
    return isChecked(idCheckBox3);
}
bool TSettingsFrm::recentDocs() const {
    return isChecked(idCheckBox5);
}
bool TSettingsFrm::userSub() const {
    return isChecked(idUserSub);
}

std::vector<engine::UserFolder> TSettingsFrm::userFolders() const {
    std::vector<engine::UserFolder> folders;
    const int count = UserDirs.count();
    folders.reserve(count);
    for (int i = 0; i < count; ++i)
        folders.push_back({UserDirs.text(i), UserDirs.checked(i)});
    return folders;
}

void TSettingsFrm::setWindowsTempFiles(bool value) {
    setChecked(idCheckBox1, value);
    CheckBox1Click();
}

void TSettingsFrm::setWindowsTempSub(bool value) {
    setChecked(idWindowsTempSub, value);
}
void TSettingsFrm::setRecycleBin(bool value) {
    setChecked(idCheckBox3, value);
}
void TSettingsFrm::setRecentDocs(bool value) {
    setChecked(idCheckBox5, value);
}
void TSettingsFrm::setUserSub(bool value) {
    setChecked(idUserSub, value);
}

void TSettingsFrm::setUserFolders(const std::vector<engine::UserFolder>& folders) {
    UserDirs.clear();
    for (const auto& folder : folders) {
        const int index = UserDirs.addString(folder.path);
        UserDirs.setChecked(index, folder.ticked);
    }
}

} // namespace app
