#pragma once
// TRemoveLinksDlg: "Remove Orphaned Shortcuts", the modal dialog that offers the orphaned
// shortcuts a clean run found, all ticked, and deletes the ticked ones on "Remove".
// Created hidden at start-up and kept until the program ends.
#include "components/BitmapPanel.h"
#include "components/HListBox.h"
#include "ui/Gdi.h"
#include "ui/Layout.h"
#include "ui/Window.h"

#include <span>
#include <string>
#include <vector>

namespace app {

inline constexpr const wchar_t* kRemoveLinksClass = L"TRemoveLinksDlg";
inline constexpr const wchar_t* kRemoveLinksCaption = L"Remove Orphaned Shortcuts";
inline constexpr int kRemoveLinksClientWidth = 317;
inline constexpr int kRemoveLinksClientHeight = 217;

enum RemoveLinksId : int {
    idOKBtn = IDOK, // "Remove": default button, modal result OK
    idCancelBtn = IDCANCEL,
    idRemoveLinksPanel = 1100,
    idRemoveEmpty,
    idRemoveLinksLabel1,
    idRemoveLinksLabel2,
    idShortcutList,
};

std::span<const ui::ControlDef> RemoveLinksLayout();

class TRemoveLinksDlg : public ui::Window {
public:
    // Makes the window and its controls, hidden, owned by `owner`.
    void create(HWND owner);
    // Appends each path to the list; items already there stay.
    void LoadShortcuts(const std::vector<std::wstring>& paths);
    // Shows the dialog modally (FormShow first, FormHide after); IDOK or IDCANCEL.
    int ShowModal();

    void FormShow();
    void OKBtnClick();
    void FormHide();

    components::THListBox& ShortcutList() { return ShortcutList_; }
    HWND control(const wchar_t* name) const { return layout_.find(name); }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    HWND makeComponent(const ui::ControlDef& entry, HWND parent, HBITMAP tile);
    void finish(int result);
    // Lays the dialog out again for `dpi` in the window rectangle `frame`.
    void applyDpi(UINT dpi, const RECT& frame);

    ui::Layout layout_;
    components::TBitmapPanel BitmapPanel1;
    components::THListBox ShortcutList_;
    HWND owner_ = nullptr;
    UINT dpi_ = ui::kBaseDpi;
    bool modal_ = false;
    int modalResult_ = 0;
};

} // namespace app
