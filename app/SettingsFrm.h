#pragma once
// TSettingsFrm: the program's main window. The "Control" page holds the cleaning choices
// and the user-folder list; "&Go!" runs the clean (CleanRun.cpp); the controls and the
// stored choices meet in SettingsChoices.cpp.
#include "app/AboutPage.h"
#include "components/BitmapPanel.h"
#include "components/CheckListBox.h"
#include "engine/Choices.h"
#include "shortcuts/ShellLnk.h"
#include "ui/Gdi.h"
#include "ui/Layout.h"
#include "ui/TabControl.h"
#include "ui/Window.h"

#include <string>
#include <vector>

namespace app {

class TRemoveLinksDlg;

// The folder picker behind "&Add..." (the shell's by default), replaceable so a test can
// answer it; returns the chosen folder's path or "" when cancelled. Returns the picker it
// replaces.
using FolderPicker = std::wstring (*)(HWND owner);
FolderPicker SetFolderPicker(FolderPicker picker);

class TSettingsFrm : public ui::Window {
public:
    TSettingsFrm();
    ~TSettingsFrm() override;

    // Creates the window and its controls, owned by `owner` (the application window, which
    // carries the taskbar button), then runs FormCreate with the command-line arguments
    // (without the program name). The window is not shown yet. A silent start never gets
    // here: it runs without any window (Program.cpp).
    void create(const std::vector<std::wstring>& args, HWND owner = nullptr);
    void show();
    // Handles the keys that belong to the whole window (F1, Tab, Enter, Escape, and
    // Ctrl+Tab and its kin, which turn the pages).
    bool preTranslate(MSG& msg);

    // State shared with the clean run and the orphan scan.
    std::wstring StartMenuPath;
    std::wstring DesktopPath;
    std::vector<std::wstring> OrphanList;
    // Reads every shortcut the scans test; kept for the life of the window.
    shortcuts::TPBShellLink PBShellLink1;
    // The removal dialog, made hidden by the entry point after this window (none in a
    // silent start, whose run never needs it).
    TRemoveLinksDlg* RemoveLinksDlg = nullptr;

    // The orphaned-shortcut scan over OrphanList and PBShellLink1.
    void ScanForOrphans(const std::wstring& folder, bool recurse);
    void CheckFolderShortcuts(const std::wstring& folder);

    // The choices as the controls show them, and the controls set from choices.
    engine::Choices choices() const;
    void showChoices(const engine::Choices& choices);
    // The stored choices into the controls, and the controls into the store.
    void LoadSettings();
    void SaveSettings() const;

    // The help topic of `control` or of its nearest enclosing window that has one; 0 if none.
    static DWORD HelpTopicOf(HWND control);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Handlers, named after their control and event.
    void FormCreate(const std::vector<std::wstring>& args);
    void Button1Click();
    void Button4Click();
    void HelpBtnClick();
    void CheckBox1Click();
    void
    toggleRow(int checkBoxId); // Label7Click, Label8Click, Label6Click, Label3Click, Label4Click
    void Button2Click();
    void RemoveClick();
    void Button6Click();
    void UserDirsClick();
    void UserDirsDblClick();
    void OptionsPageChange();
    void FormShow();

    std::wstring BrowseForFolder();
    int FirstSelectedIndex() const;
    void readShellFolders();
    void showHelpFor(HWND control);
    // The orphaned-shortcut part of the clean run: the scans and the removal dialog.
    void removeOrphanedShortcuts();
    // The run's hourglass over the window; the ordinary arrow while a modal window of the
    // run is up, and the hourglass again once it is gone (also when an error passes).
    void setBusy(bool busy);
    struct ArrowWhileModal {
        explicit ArrowWhileModal(TSettingsFrm& form) : form_(form) { form_.setBusy(false); }
        ~ArrowWhileModal() { form_.setBusy(true); }
        ArrowWhileModal(const ArrowWhileModal&) = delete;
        ArrowWhileModal& operator=(const ArrowWhileModal&) = delete;
        TSettingsFrm& form_;
    };

    void onCommand(int id, int code);
    HWND item(int id) const;
    bool isChecked(int id) const;
    void setChecked(int id, bool value);
    HWND makeComponent(const ui::ControlDef& entry, HWND parent, HBITMAP tile);
    // Each bare check box's label draws the box's focus.
    void showFocusOnLabels();
    // Lays the window out again for `dpi` in the window rectangle `frame`.
    void applyDpi(UINT dpi, const RECT& frame);
    // The banner at the window's DPI, as wide as the picture control it shows in.
    void showBanner();
    // The system's colours or its high-contrast setting changed: everything is drawn again.
    void colorsChanged();

    ui::Layout layout_;
    components::TBitmapPanel BitmapPanel2;
    components::TBitmapPanel Panel1;
    components::TBitmapPanel BitmapPanel1; // the "Control" page
    components::TBitmapPanel BitmapPanel4; // the "About" page
    ui::TabControl OptionsPage;
    components::TCheckListBox UserDirs;
    AboutPage aboutPage_;
    ui::Bitmap banner_;
    ui::Bitmap bannerAtDpi_; // empty at 96 DPI, where banner_ shows as it is
    UINT dpi_ = ui::kBaseDpi;
    bool busy_ = false;
    bool shownOnce_ = false;
};

} // namespace app
