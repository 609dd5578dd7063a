// The main window's controls and the stored choices. Setting a control from the choices
// sends no click notification, so loading never looks like a user edit; only the enabling of
// WindowsTempSub follows CheckBox1, as it does for every change.
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"

namespace app {

engine::Choices TSettingsFrm::choices() const {
    engine::Choices shown;
    shown.windowsTemp = isChecked(idCheckBox1);
    shown.windowsTempSubFolders = isChecked(idWindowsTempSub);
    shown.recycleBin = isChecked(idCheckBox3);
    shown.recentDocuments = isChecked(idCheckBox5);
    const int count = UserDirs.count();
    shown.userFolders.reserve(count);
    for (int i = 0; i < count; ++i)
        shown.userFolders.push_back({UserDirs.text(i), UserDirs.checked(i)});
    shown.userSubFolders = isChecked(idUserSub);
    return shown;
}

void TSettingsFrm::showChoices(const engine::Choices& choices) {
    setChecked(idCheckBox1, choices.windowsTemp);
    CheckBox1Click();
    setChecked(idWindowsTempSub, choices.windowsTempSubFolders);
    setChecked(idCheckBox3, choices.recycleBin);
    setChecked(idCheckBox5, choices.recentDocuments);
    setChecked(idUserSub, choices.userSubFolders);
    UserDirs.clear();
    for (const auto& folder : choices.userFolders) {
        const int index = UserDirs.addString(folder.path);
        UserDirs.setChecked(index, folder.ticked);
    }
}

void TSettingsFrm::LoadSettings() {
    engine::Choices loaded = choices();
    try {
        loaded.Load();
    } catch (...) {
        // What was read before the key could not be made again still shows.
        showChoices(loaded);
        throw;
    }
    showChoices(loaded);
}

void TSettingsFrm::SaveSettings() const {
    choices().Save();
}

} // namespace app
