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

void TSettingsFrm::setBusy(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorA(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TSettingsFrm::Button1Click() {
    if (!SilentMode && ShowMessage(hwnd(), MessageKind::Confirmation, kConfirmText) != IDYES)
        return;

    // The hourglass stays until the program ends; modal windows of the run show the arrow.
    setBusy(true);
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
    if (!SilentMode) {
        const ArrowWhileModal arrow(*this);
        ShowMessage(hwnd(), MessageKind::Information, kDoneText);
    }
    DestroyWindow(hwnd());
}

} // namespace app
