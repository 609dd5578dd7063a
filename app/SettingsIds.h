#pragma once
// Control ids of the main window, shared with the tests that drive it.
namespace app {

inline constexpr const wchar_t* kMainWindowClass = L"TSettingsFrm";
inline constexpr const wchar_t* kMainWindowCaption = L"Brightsweep";

enum ControlId : int {
    idBitmapPanel2 = 1000,
    idPanel1,
    idImage1,
    idOptionsPage,
    idBitmapPanel1, // the "Control" page
    idBitmapPanel4, // the "About" page
    idButton1 = 1010,
    idButton4,
    idHelpBtn,
    idLabel2 = 1020,
    idLabel1,
    idCheckBox1,
    idLabel7,
    idWindowsTempSub,
    idCheckBox5,
    idLabel8,
    idCheckBox2,
    idLabel6,
    idCheckBox4,
    idLabel3,
    idCheckBox3,
    idLabel4,
    idLabel5,
    idUserDirs,
    idButton2,
    idRemove,
    idButton6,
    idUserSub,
    idLabel9,
};

// The "About" page's controls.
enum AboutId : int {
    idImage2 = 1100,
    idScrollingCreditsBox1,
    idLabel13,
    idLabel21,
    idASLink2,
    idLabel11
};

} // namespace app
