// The orphaned-shortcut part of the clean run: the Desktop and Start Menu scans, then the
// removal dialog when they found anything.
#include "app/RemoveShortcuts.h"
#include "app/SettingsFrm.h"
#include "app/SettingsIds.h"
#include "shortcuts/OrphanScan.h"

namespace app {

void TSettingsFrm::ScanForOrphans(const std::wstring& folder, bool recurse) {
    shortcuts::ScanForOrphans(folder, recurse, OrphanList, PBShellLink1);
}

void TSettingsFrm::CheckFolderShortcuts(const std::wstring& folder) {
    shortcuts::CheckFolderShortcuts(folder, OrphanList, PBShellLink1);
}

void TSettingsFrm::removeOrphanedShortcuts() {
    OrphanList.clear();
    if (isChecked(idCheckBox2))
        ScanForOrphans(DesktopPath, true);
    if (isChecked(idCheckBox4))
        ScanForOrphans(StartMenuPath, true);
    if (OrphanList.empty() || !RemoveLinksDlg)
        return;
    RemoveLinksDlg->LoadShortcuts(OrphanList);
    // Whichever button closes it, the run goes on.
    const ArrowWhileModal arrow(*this);
    RemoveLinksDlg->ShowModal();
}

} // namespace app
