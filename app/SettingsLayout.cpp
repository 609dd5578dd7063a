#include "app/SettingsLayout.h"

#include "app/SettingsIds.h"

#include <commctrl.h>

namespace app {

namespace {
using ui::kFitText;
using ui::kNoTab;

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
// A bare check box: only its glyph shows, its words are the label beside it. It carries
// them as its own caption all the same, never drawn (the box is no wider than its glyph),
// as the name screen readers give it. The two sub-folder boxes share their words, so
// their names add the row they belong to. No "&" in a caption: it would be a second
// mnemonic beside the label's.
constexpr DWORD kBareCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
// Labels report clicks (SS_NOTIFY) so a click on a row's text can toggle its box.
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
constexpr const wchar_t* kPanel = nullptr;     // TBitmapPanel, made by the window
constexpr const wchar_t* kCheckList = nullptr; // TCheckListBox, made by the window
constexpr const wchar_t* kTabs = nullptr;      // ui::TabControl over a standard tab control

// clang-format off
constexpr ui::ControlDef kLayout[] = {
//   name             class        id                parent          left top  width     height caption style                 tab    help
    {L"BitmapPanel2",  kPanel,      idBitmapPanel2,   nullptr,         0,   0,  346,      419,   L"",     0,                    0,     0},
    {L"Panel1",        kPanel,      idPanel1,         L"BitmapPanel2",  8,   6,  329,      71,    L"",     0,                    4,     0},
    {L"Image1",        L"STATIC",    idImage1,         L"Panel1",        1,   1,  327,      69,    L"",     SS_BITMAP, kNoTab, 0},
    {L"OptionsPage",   kTabs, idOptionsPage, L"BitmapPanel2",  8,   84, 329,      297,   L"",     TCS_HOTTRACK | WS_TABSTOP, 3, 0},
    // The pages lie over the tab control's display area and follow it in tab order.
    {L"BitmapPanel1",  kPanel,      idBitmapPanel1,   L"BitmapPanel2",  12,  108, 321,     269,   L"",     0,                    3,     0},
    {L"BitmapPanel4",  kPanel,      idBitmapPanel4,   L"BitmapPanel2",  12,  108, 321,     269,   L"",     0,                    3,     0},
    {L"Button1",       L"BUTTON",    idButton1,        L"BitmapPanel2",  96,  388, 75,      25,    L"&Go!",  BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0},
    {L"Button4",       L"BUTTON",    idButton4,        L"BitmapPanel2",  178, 388, 75,      25,    L"&Cancel", kButton,           1,     0},
    {L"HelpBtn",       L"BUTTON",    idHelpBtn,        L"BitmapPanel2",  261, 388, 75,      25,    L"&Help", kButton,             2,     0},

    // The "Control" page.
    {L"Label2",        L"STATIC",    idLabel2,         L"BitmapPanel1",  10,  4,   kFitText, 13,   L"File Areas", kLabel,         kNoTab, 0},
    {L"Label1",        L"STATIC",    idLabel1,         L"BitmapPanel1",  192, 4,   kFitText, 13,   L"Delete Sub - Folders?", kLabel, kNoTab, 0},
    {L"CheckBox1",     L"BUTTON",    idCheckBox1,      L"BitmapPanel1",  12,  25,  13,      13,    L"Windows Temp Files", kBareCheck, 0,     4},
    {L"Label7",        L"STATIC",    idLabel7,         L"BitmapPanel1",  30,  25,  kFitText, 13,   L"Windows Temp Files", kLabel, kNoTab, 0},
    {L"WindowsTempSub", L"BUTTON",   idWindowsTempSub, L"BitmapPanel1",  237, 24,  13,      13,    L"Delete Sub - Folders? (Windows Temp Files)", kBareCheck | WS_DISABLED, 1, 4},
    {L"CheckBox5",     L"BUTTON",    idCheckBox5,      L"BitmapPanel1",  12,  45,  13,      13,    L"Recent Documents", kBareCheck, 2,     6},
    {L"Label8",        L"STATIC",    idLabel8,         L"BitmapPanel1",  30,  45,  kFitText, 13,   L"Recent Documents", kLabel,   kNoTab, 0},
    {L"CheckBox2",     L"BUTTON",    idCheckBox2,      L"BitmapPanel1",  12,  65,  13,      13,    L"Clear Orphaned Shortcuts from Desktop", kBareCheck, 3,     2},
    {L"Label6",        L"STATIC",    idLabel6,         L"BitmapPanel1",  30,  65,  kFitText, 13,   L"Clear Orphaned Shortcuts from Desktop", kLabel, kNoTab, 0},
    {L"CheckBox4",     L"BUTTON",    idCheckBox4,      L"BitmapPanel1",  12,  85,  13,      13,    L"Clear Orphaned Shortcuts from Start Menu", kBareCheck, 4,     3},
    {L"Label3",        L"STATIC",    idLabel3,         L"BitmapPanel1",  30,  85,  kFitText, 13,   L"Clear Orphaned Shortcuts from Start Menu", kLabel, kNoTab, 0},
    {L"CheckBox3",     L"BUTTON",    idCheckBox3,      L"BitmapPanel1",  12,  105, 13,      13,    L"Recycle Bin", kBareCheck, 5,     5},
    {L"Label4",        L"STATIC",    idLabel4,         L"BitmapPanel1",  30,  105, kFitText, 13,   L"Recycle Bin", kLabel,        kNoTab, 0},
    {L"Label5",        L"STATIC",    idLabel5,         L"BitmapPanel1",  12,  128, kFitText, 13,   L"User Folders", kLabel,       kNoTab, 0},
    {L"UserDirs",      kCheckList,  idUserDirs,       L"BitmapPanel1",  12,  144, 209,     94,    L"",     0,                    6,     7},
    {L"Button2",       L"BUTTON",    idButton2,        L"BitmapPanel1",  231, 152, 75,      25,    L"&Add...", kButton,           8,     7},
    {L"Remove",        L"BUTTON",    idRemove,         L"BitmapPanel1",  231, 180, 75,      25,    L"&Remove", kButton | WS_DISABLED, 9, 7},
    {L"Button6",       L"BUTTON",    idButton6,        L"BitmapPanel1",  231, 209, 75,      25,    L"C&lear", kButton,            10,    7},
    {L"UserSub",       L"BUTTON",    idUserSub,        L"BitmapPanel1",  12,  244, 13,      13,    L"Delete Sub - Folders? (User Folders)", kBareCheck, 7,     7},
    {L"Label9",        L"STATIC",    idLabel9,         L"BitmapPanel1",  32,  244, kFitText, 13,   L"Delete Sub - Folders?", kLabel, kNoTab, 0},
};
// clang-format on
} // namespace

std::span<const ui::ControlDef> SettingsLayout() {
    return kLayout;
}

} // namespace app
