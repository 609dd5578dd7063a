// "&Go!": the confirmation, then the clean run with the orphaned-shortcut step first, then
// the closing message. Everything runs synchronously here; the window processes no messages
// until a modal window of the run is up.
#include "app/MessageDialog.h"
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "engine/CleanRun.h"

namespace app {

namespace {
constexpr const wchar_t* kConfirmText =
    L"You have chosen to DELETE ALL data in the locations you have specified.\r\n"
    L"Are you sure you want to do this?";
constexpr const wchar_t* kDoneText = L"Your windows have been cleaned!";
} // namespace

void TSettingsFrm::setBusy(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void TSettingsFrm::Button1Click() {
    if (ShowMessage(hwnd(), MessageKind::Confirmation, kConfirmText) != IDYES)
        return;

    // The hourglass stays until the program ends; modal windows of the run show the arrow.
    setBusy(true);
    engine::RunClean(choices(), [this] { removeOrphanedShortcuts(); });
    {
        const ArrowWhileModal arrow(*this);
        ShowMessage(hwnd(), MessageKind::Information, kDoneText);
    }
    DestroyWindow(hwnd());
}

} // namespace app
