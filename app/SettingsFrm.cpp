#include "app/SettingsFrm.h"
#include "app/Splash.h"

#include "app/Application.h"
#include "app/HelpFile.h"
#include "app/MessageDialog.h"
#include "app/SettingsIds.h"
#include "app/SettingsLayout.h"
#include "app/AppResources.h"
#include "engine/ProtectedPlaces.h"
#include "engine/Registry.h"
#include "ui/LabelFocus.h"
#include "ui/ModalLoop.h"
#include "ui/Picture.h"

#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace app {

namespace {
// One carriage return between the two lines, as the picker shows it.
constexpr const wchar_t* kBrowseTitle =
    L"Select a directory to be added to the\r\"User Folders\" list";

int checkBoxOfLabel(int labelId) {
    switch (labelId) {
    case idLabel7:
        return idCheckBox1;
    case idLabel8:
        return idCheckBox5;
    case idLabel6:
        return idCheckBox2;
    case idLabel3:
        return idCheckBox4;
    case idLabel4:
        return idCheckBox3;
    }
    return 0;
}

// The label that shows each bare check box's words, and so its focus.
constexpr std::pair<int, int> kBoxLabels[] = {
    {idCheckBox1, idLabel7}, {idWindowsTempSub, idLabel1}, {idCheckBox5, idLabel8},
    {idCheckBox2, idLabel6}, {idCheckBox4, idLabel3},      {idCheckBox3, idLabel4},
    {idUserSub, idLabel9},
};

struct ItemIdList {
    LPITEMIDLIST pidl;
    ~ItemIdList() {
        if (pidl)
            CoTaskMemFree(pidl);
    }
};
} // namespace

TSettingsFrm::TSettingsFrm() {
    // As the window's stored layout has the shell-link component.
    PBShellLink1.FileIcon().SetIconIndex(0);
    PBShellLink1.SetHotKey(0);
    PBShellLink1.SetWindowState(shortcuts::wsNormal);
}
TSettingsFrm::~TSettingsFrm() = default;

HWND TSettingsFrm::item(int id) const {
    for (const auto& entry : SettingsLayout())
        if (entry.id == id)
            return layout_.find(entry.name);
    return nullptr;
}

bool TSettingsFrm::isChecked(int id) const {
    return SendMessageW(item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void TSettingsFrm::setChecked(int id, bool value) {
    SendMessageW(item(id), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

HWND TSettingsFrm::makeComponent(const ui::ControlDef& entry, HWND parent, HBITMAP tile) {
    auto panel = [&](components::TBitmapPanel& p) {
        return p.create(parent, entry.id, entry.left, entry.top, entry.width, entry.height,
                        entry.caption ? entry.caption : L"");
    };
    switch (entry.id) {
    case idBitmapPanel2: {
        BitmapPanel2.setDpi(dpi_);
        HWND hwnd = panel(BitmapPanel2);
        BitmapPanel2.setBevelOuter(components::TPanelBevel::bvNone);
        BitmapPanel2.setBorderWidth(3);
        return hwnd;
    }
    case idPanel1:
        Panel1.setDpi(dpi_);
        return panel(Panel1);
    case idBitmapPanel1:
    case idBitmapPanel4: {
        auto& page = entry.id == idBitmapPanel1 ? BitmapPanel1 : BitmapPanel4;
        page.setDpi(dpi_);
        HWND hwnd = panel(page);
        page.setBevelOuter(components::TPanelBevel::bvNone);
        page.setBitmap(tile);
        return hwnd;
    }
    case idOptionsPage:
        return OptionsPage.create(parent, entry.id, entry.left, entry.top, entry.width,
                                  entry.height, entry.style);
    case idUserDirs:
        UserDirs.setDpi(dpi_);
        return UserDirs.create(parent, entry.id, entry.left, entry.top, entry.width, entry.height);
    }
    return nullptr;
}

void TSettingsFrm::create(const std::vector<std::wstring>& args, HWND owner) {
    registerClass(kMainWindowClass, CS_DBLCLKS, GetSysColorBrush(COLOR_BTNFACE),
                  LoadCursorW(nullptr, IDC_ARROW));
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    const DWORD exStyle = WS_EX_CONTROLPARENT;
    if (!Window::create(kMainWindowClass, exStyle, style, kMainWindowCaption, 0, 0, 0, 0, owner, 0))
        throw std::runtime_error("Cannot create the main window");
    // Sized and placed once the window knows the DPI of the screen it is on.
    dpi_ = ui::dpiOf(hwnd());
    ui::placeCentred(hwnd(), ui::scale(kClientWidth, dpi_), ui::scale(kClientHeight, dpi_), dpi_);
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(ui::defaultFont(dpi_)), FALSE);
    SetProgramIcon(hwnd(), {ICON_BIG});

    banner_ = ui::loadBitmap(MAKEINTRESOURCEW(IDB_BANNER));
    // The pages copy the tile they are given.
    const ui::Bitmap tile = ui::loadBitmap(MAKEINTRESOURCEW(IDB_TILE));
    layout_.build(
        hwnd(), SettingsLayout(), ui::defaultFont(dpi_),
        [this, &tile](const ui::ControlDef& entry, HWND parent) {
            return makeComponent(entry, parent, tile.get());
        },
        dpi_);
    showFocusOnLabels();
    showBanner();
    OptionsPage.addPage(L"Control", BitmapPanel1.hwnd());
    OptionsPage.addPage(L"About", BitmapPanel4.hwnd());
    OptionsPage.onChange = [this] { OptionsPageChange(); };
    aboutPage_.create(BitmapPanel4);

    FormCreate(args);
}

void TSettingsFrm::showFocusOnLabels() {
    for (const auto& [box, label] : kBoxLabels)
        ui::showFocusOnLabel(item(box), item(label));
}

void TSettingsFrm::showBanner() {
    if (!banner_)
        return;
    HWND image = item(idImage1);
    RECT bounds{};
    GetClientRect(image, &bounds);
    ui::Bitmap resized;
    if (dpi_ != ui::kBaseDpi)
        resized = ui::resizedPicture(banner_.get(), bounds.right,
                                     ui::scale(ui::pictureSize(banner_.get()).cy, dpi_));
    SendMessageW(image, STM_SETIMAGE, IMAGE_BITMAP,
                 reinterpret_cast<LPARAM>(resized ? resized.get() : banner_.get()));
    // The picture shown until now goes only once the control has let go of it.
    bannerAtDpi_ = std::move(resized);
}

void TSettingsFrm::applyDpi(UINT dpi, const RECT& frame) {
    dpi_ = dpi;
    const HFONT font = ui::defaultFont(dpi);
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    layout_.applyDpi(dpi, font);
    for (components::TBitmapPanel* panel : {&BitmapPanel2, &Panel1, &BitmapPanel1, &BitmapPanel4})
        panel->setDpi(dpi);
    UserDirs.setDpi(dpi);
    showBanner();
    aboutPage_.setDpi(dpi);
    SetWindowPos(hwnd(), nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TSettingsFrm::colorsChanged() {
    aboutPage_.applyColors();
    // The tab control draws in the system's colours, which it reads when told of a change.
    SendMessageW(OptionsPage.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TSettingsFrm::FormCreate(const std::vector<std::wstring>& args) {
    OrphanList.clear();
    readShellFolders();

    if (args.empty()) {
        // The splash covers the loading and the first showing.
        TSplashFrm::createAndShow(hwnd());
        try {
            LoadSettings();
        } catch (const std::exception& e) {
            ui::reportException(e);
        }
    }
    // Any other first argument: no splash and no stored choices.
}

void TSettingsFrm::readShellFolders() {
    // A value that cannot be read leaves its path empty, without a word.
    const auto read = [](const wchar_t* name) {
        try {
            return shortcuts::ReadShellFolder(name);
        } catch (const engine::RegistryError&) {
            return std::wstring();
        }
    };
    StartMenuPath = read(L"Start Menu");
    DesktopPath = read(L"Desktop");
}

void TSettingsFrm::show() {
    if (!hwnd())
        return;
    ShowWindow(hwnd(), SW_SHOWNORMAL);
    UpdateWindow(hwnd());
    SetFocus(item(idButton1));
    if (!shownOnce_) {
        shownOnce_ = true;
        FormShow();
    }
}

void TSettingsFrm::FormShow() {
    aboutPage_.FormShow();
    OptionsPageChange();
}

void TSettingsFrm::OptionsPageChange() {
    aboutPage_.pageChanged(OptionsPage.selected() == 1);
}

DWORD TSettingsFrm::HelpTopicOf(HWND control) {
    for (HWND w = control; w; w = GetParent(w)) {
        if (const DWORD topic = GetWindowContextHelpId(w))
            return topic;
        if (!(GetWindowLongW(w, GWL_STYLE) & WS_CHILD))
            break;
    }
    return 0;
}

void TSettingsFrm::showHelpFor(HWND control) {
    ShowHelp(hwnd(), HelpTopicOf(control)); // a control without a topic opens the contents
}

bool TSettingsFrm::preTranslate(MSG& msg) {
    if (!hwnd() || (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd)))
        return false;
    if (msg.message == WM_KEYDOWN && msg.wParam == VK_F1) {
        showHelpFor(GetFocus());
        return true;
    }
    if (const int step = ui::TabControl::pageStepOfKey(msg)) {
        OptionsPage.turnPages(step);
        return true;
    }
    return IsDialogMessageW(hwnd(), &msg) != FALSE;
}

void TSettingsFrm::Button4Click() {
    DestroyWindow(hwnd());
}

void TSettingsFrm::HelpBtnClick() {
    ShowHelp(hwnd(), 0);
}

void TSettingsFrm::CheckBox1Click() {
    EnableWindow(item(idWindowsTempSub), isChecked(idCheckBox1));
}

void TSettingsFrm::toggleRow(int checkBoxId) {
    setChecked(checkBoxId, !isChecked(checkBoxId));
    if (checkBoxId == idCheckBox1)
        CheckBox1Click();
}

namespace {

std::wstring shellFolderPicker(HWND owner) {
    wchar_t buffer[261] = {};
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.pidlRoot = nullptr;
    info.pszDisplayName = buffer;
    info.lpszTitle = kBrowseTitle;
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    ItemIdList chosen{SHBrowseForFolderW(&info)};
    // A folder with no file-system path, or one too long for the buffer, adds nothing.
    if (!chosen.pidl || !SHGetPathFromIDListW(chosen.pidl, buffer))
        return {};
    buffer[std::size(buffer) - 1] = L'\0';
    return buffer;
}

FolderPicker folderPicker = shellFolderPicker;

} // namespace

FolderPicker SetFolderPicker(FolderPicker picker) {
    const FolderPicker previous = folderPicker;
    folderPicker = picker ? picker : shellFolderPicker;
    return previous;
}

std::wstring TSettingsFrm::BrowseForFolder() {
    const ui::FocusComesBack focusComesBack; // the shell's picker is modal too
    return folderPicker(hwnd());
}

void TSettingsFrm::Button2Click() {
    const std::wstring path = BrowseForFolder();
    if (path.empty())
        return;
    // A clean run would refuse to empty it anyway; say so now rather than list it.
    if (engine::IsProtectedFolder(path)) {
        ShowMessage(hwnd(), MessageKind::Information,
                    L"Brightsweep will not empty \"" + path +
                        L"\": that folder holds Windows or your own files.");
        return;
    }
    const int index = UserDirs.addString(path);
    UserDirs.setChecked(index, true);
}

int TSettingsFrm::FirstSelectedIndex() const {
    return UserDirs.selectedIndex();
}

void TSettingsFrm::RemoveClick() {
    const int index = FirstSelectedIndex();
    if (index != -1)
        UserDirs.deleteString(index);
    EnableWindow(item(idRemove), FALSE);
}

void TSettingsFrm::Button6Click() {
    if (ShowMessage(hwnd(), MessageKind::Confirmation, L"Remove all directories from the list?") ==
        IDYES)
        UserDirs.clear();
}

void TSettingsFrm::UserDirsClick() {
    EnableWindow(item(idRemove), TRUE);
}

void TSettingsFrm::UserDirsDblClick() {
    EnableWindow(item(idRemove), TRUE);
    RemoveClick();
}

void TSettingsFrm::onCommand(int id, int code) {
    switch (id) {
    case idButton1:
        if (code == BN_CLICKED)
            Button1Click();
        break;
    case IDCANCEL: // Escape
    case idButton4:
        if (code == BN_CLICKED)
            Button4Click();
        break;
    case idHelpBtn:
        if (code == BN_CLICKED)
            HelpBtnClick();
        break;
    case idCheckBox1:
        if (code == BN_CLICKED)
            CheckBox1Click();
        break;
    case idLabel7: // Label7Click and its siblings: a click on a row's text toggles its box
    case idLabel8:
    case idLabel6:
    case idLabel3:
    case idLabel4:
        if (code == STN_CLICKED || code == STN_DBLCLK)
            toggleRow(checkBoxOfLabel(id));
        break;
    case idButton2:
        if (code == BN_CLICKED)
            Button2Click();
        break;
    case idRemove:
        if (code == BN_CLICKED)
            RemoveClick();
        break;
    case idButton6:
        if (code == BN_CLICKED)
            Button6Click();
        break;
    case idUserDirs:
        // A selection made with the keyboard enables "&Remove" as a click does, so that the
        // list can be managed without a mouse.
        if (code == components::TCheckListBox::kNotifyClick ||
            code == components::TCheckListBox::kNotifyKeySelect)
            UserDirsClick();
        else if (code == components::TCheckListBox::kNotifyDoubleClick)
            UserDirsDblClick();
        break;
    }
}

LRESULT TSettingsFrm::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
    case DM_GETDEFID:
        // Enter presses the focused push button, else "&Go!".
        return ui::defaultButtonAnswer(hwnd(), idButton1);
    case WM_SETCURSOR:
        if (busy_) {
            SetCursor(LoadCursorW(nullptr, IDC_WAIT));
            return TRUE;
        }
        break;
    case WM_SYSCOMMAND:
        // Minimising the main window minimises the application that owns it: the taskbar
        // button stays, and the system hides this window with its owner.
        if ((wParam & 0xFFF0) == SC_MINIMIZE) {
            if (HWND owner = GetWindow(hwnd(), GW_OWNER)) {
                SendMessageW(owner, WM_SYSCOMMAND, SC_MINIMIZE, lParam);
                return 0;
            }
        }
        break;
    case WM_HELP:
        return TRUE; // F1 is handled in the message loop, with the focused control's topic
    case WM_DPICHANGED:
        applyDpi(ui::dpiOfChange(wParam), ui::suggestedRect(lParam));
        return 0;
    case WM_GETMINMAXINFO: {
        // At a high DPI on a small screen the window may be taller than the screen; it
        // keeps its whole layout rather than be cut to the screen's height.
        auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
        const RECT frame = ui::frameAround(
            ui::scale(kClientWidth, dpi_), ui::scale(kClientHeight, dpi_),
            GetWindowLongW(hwnd(), GWL_STYLE), GetWindowLongW(hwnd(), GWL_EXSTYLE), dpi_);
        limits->ptMaxTrackSize.x = std::max<LONG>(limits->ptMaxTrackSize.x, frame.right);
        limits->ptMaxTrackSize.y = std::max<LONG>(limits->ptMaxTrackSize.y, frame.bottom);
        return 0;
    }
    case WM_SYSCOLORCHANGE:
        colorsChanged();
        break;
    case WM_SETTINGCHANGE:
        if (wParam == SPI_SETHIGHCONTRAST)
            colorsChanged();
        break;
    case WM_CLOSE:
        DestroyWindow(hwnd());
        return 0;
    case WM_DESTROY:
        CloseHelp(hwnd());
        PostQuitMessage(0);
        return 0;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace app
