// "&Go!": the clean run, in its fixed order. Everything runs synchronously here; the
// window processes no messages until a modal window of the run is up.
#include "app/MessageDialog.h"
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "engine/Areas.h"
#include "engine/Settings.h"

namespace app {

namespace {
constexpr const char* kConfirmText =
    "You have chosen to DELETE ALL data in the locations you have specified.\r\n"
    "Are you sure you want to do this?";
constexpr const char* kDoneText = "Your windows have been cleaned!";
} // namespace

void TSettingsFrm::Button1Click() {
    if (!SilentMode && ShowMessage(hwnd(), MessageKind::Confirmation, kConfirmText) != IDYES)
        return;

    // The hourglass stays until the program ends; modal windows of the run show the arrow.
    busy_ = true;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    OrphanList.clear();

    removeOrphanedShortcuts();

    if (isChecked(idCheckBox1))
        engine::CleanWindowsTemp(isChecked(idWindowsTempSub));
    if (isChecked(idCheckBox3))
        engine::EmptyRecycleBins();
    if (isChecked(idCheckBox5))
        engine::ClearRecentDocuments();
    // The user folders always come last; only ticked entries are wiped.
    engine::CleanUserFolders(userFolders(), isChecked(idUserSub));

    engine::SaveSettings(*this);
    if (!SilentMode)
        ShowMessage(hwnd(), MessageKind::Information, kDoneText);
    DestroyWindow(hwnd());
}

} // namespace app
