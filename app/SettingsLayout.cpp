#include "app/SettingsLayout.h"

#include "app/SettingsIds.h"

#include <commctrl.h>

namespace app {

namespace {
using ui::kFitText;
using ui::kNoTab;

constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
constexpr DWORD kBareCheck = BS_AUTOCHECKBOX | WS_TABSTOP;
// Labels report clicks (SS_NOTIFY) so a click on a row's text can toggle its box.
constexpr DWORD kLabel = SS_LEFT | SS_NOPREFIX | SS_NOTIFY;
constexpr const char* kPanel = nullptr;     // TBitmapPanel, made by the window
constexpr const char* kCheckList = nullptr; // TCheckListBox, made by the window
constexpr const char* kTabs = nullptr;      // ui::TabControl over a standard tab control

// clang-format off
constexpr ui::ControlDef kLayout[] = {
//   name             class        id                parent          left top  width     height caption style                 tab    help
    {"BitmapPanel2",  kPanel,      idBitmapPanel2,   nullptr,         0,   0,  346,      419,   "",     0,                    0,     0},
    {"Panel1",        kPanel,      idPanel1,         "BitmapPanel2",  8,   6,  329,      71,    "",     0,                    4,     0},
    {"Image1",        "STATIC",    idImage1,         "Panel1",        1,   1,  327,      69,    "",     SS_BITMAP, kNoTab, 0},
    {"OptionsPage",   kTabs, idOptionsPage, "BitmapPanel2",  8,   84, 329,      297,   "",     TCS_HOTTRACK | WS_TABSTOP, 3, 0},
    // The pages lie over the tab control's display area and follow it in tab order.
    {"BitmapPanel1",  kPanel,      idBitmapPanel1,   "BitmapPanel2",  12,  108, 321,     269,   "",     0,                    3,     0},
    {"BitmapPanel4",  kPanel,      idBitmapPanel4,   "BitmapPanel2",  12,  108, 321,     269,   "",     0,                    3,     0},
    {"Button1",       "BUTTON",    idButton1,        "BitmapPanel2",  96,  388, 75,      25,    "&Go!",  BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0},
    {"Button4",       "BUTTON",    idButton4,        "BitmapPanel2",  178, 388, 75,      25,    "&Cancel", kButton,           1,     0},
    {"HelpBtn",       "BUTTON",    idHelpBtn,        "BitmapPanel2",  261, 388, 75,      25,    "&Help", kButton,             2,     0},

    // The "Control" page.
    {"Label2",        "STATIC",    idLabel2,         "BitmapPanel1",  10,  4,   kFitText, 13,   "File Areas", kLabel,         kNoTab, 0},
    {"Label1",        "STATIC",    idLabel1,         "BitmapPanel1",  192, 4,   kFitText, 13,   "Delete Sub - Folders?", kLabel, kNoTab, 0},
    {"CheckBox1",     "BUTTON",    idCheckBox1,      "BitmapPanel1",  12,  25,  13,      13,    "",     kBareCheck,           0,     4},
    {"Label7",        "STATIC",    idLabel7,         "BitmapPanel1",  30,  25,  kFitText, 13,   "Windows Temp Files", kLabel, kNoTab, 0},
    {"WindowsTempSub", "BUTTON",   idWindowsTempSub, "BitmapPanel1",  237, 24,  13,      13,    "",     kBareCheck | WS_DISABLED, 1, 4},
    {"CheckBox5",     "BUTTON",    idCheckBox5,      "BitmapPanel1",  12,  45,  13,      13,    "",     kBareCheck,           2,     6},
    {"Label8",        "STATIC",    idLabel8,         "BitmapPanel1",  30,  45,  kFitText, 13,   "Recent Documents", kLabel,   kNoTab, 0},
    {"CheckBox2",     "BUTTON",    idCheckBox2,      "BitmapPanel1",  12,  65,  13,      13,    "",     kBareCheck,           3,     2},
    {"Label6",        "STATIC",    idLabel6,         "BitmapPanel1",  30,  65,  kFitText, 13,   "Clear Orphaned Shortcuts from Desktop", kLabel, kNoTab, 0},
    {"CheckBox4",     "BUTTON",    idCheckBox4,      "BitmapPanel1",  12,  85,  13,      13,    "",     kBareCheck,           4,     3},
    {"Label3",        "STATIC",    idLabel3,         "BitmapPanel1",  30,  85,  kFitText, 13,   "Clear Orphaned Shortcuts from Start Menu", kLabel, kNoTab, 0},
    {"CheckBox3",     "BUTTON",    idCheckBox3,      "BitmapPanel1",  12,  105, 13,      13,    "",     kBareCheck,           5,     5},
    {"Label4",        "STATIC",    idLabel4,         "BitmapPanel1",  30,  105, kFitText, 13,   "Recycle Bin", kLabel,        kNoTab, 0},
    {"Label5",        "STATIC",    idLabel5,         "BitmapPanel1",  12,  128, kFitText, 13,   "User Folders", kLabel,       kNoTab, 0},
    {"UserDirs",      kCheckList,  idUserDirs,       "BitmapPanel1",  12,  144, 209,     94,    "",     0,                    6,     7},
    {"Button2",       "BUTTON",    idButton2,        "BitmapPanel1",  231, 152, 75,      25,    "&Add...", kButton,           8,     7},
    {"Remove",        "BUTTON",    idRemove,         "BitmapPanel1",  231, 180, 75,      25,    "&Remove", kButton | WS_DISABLED, 9, 7},
    {"Button6",       "BUTTON",    idButton6,        "BitmapPanel1",  231, 209, 75,      25,    "C&lear", kButton,            10,    7},
    {"UserSub",       "BUTTON",    idUserSub,        "BitmapPanel1",  12,  244, 13,      13,    "",     kBareCheck,           7,     7},
    {"Label9",        "STATIC",    idLabel9,         "BitmapPanel1",  32,  244, kFitText, 13,   "Delete Sub - Folders?", kLabel, kNoTab, 0},
};
// clang-format on
} // namespace

std::span<const ui::ControlDef> SettingsLayout() {
    return kLayout;
}

} // namespace app
