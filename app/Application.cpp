#include "app/Application.h"

#include "app/AppResources.h"

#include <stdexcept>

namespace app {

namespace {
// Posted to itself: activation is handed on only after the system has finished making
// the application window active.
constexpr UINT kActivateForm = WM_APP + 1;

bool usable(HWND window) {
    return window && IsWindowVisible(window) && IsWindowEnabled(window);
}

struct Family {
    HWND application;
    std::vector<HWND> found;
};

// Visible windows of the thread owned by the application through another window of
// its own. Tool windows (the splash) are left alone: they go away by themselves, and one
// hidden here could be shown again after it had closed.
BOOL CALLBACK collectOwnedDeeper(HWND window, LPARAM param) {
    auto* family = reinterpret_cast<Family*>(param);
    HWND owner = GetWindow(window, GW_OWNER);
    if (!owner || owner == family->application || !IsWindowVisible(window) ||
        (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOOLWINDOW))
        return TRUE;
    for (; owner; owner = GetWindow(owner, GW_OWNER)) {
        if (owner == family->application) {
            family->found.push_back(window);
            break;
        }
    }
    return TRUE;
}

constexpr UINT kQuietly = SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE;
} // namespace

void SetProgramIcon(HWND window, std::initializer_list<WPARAM> kinds) {
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_BRIGHTSWEEP));
    if (!icon)
        return;
    for (WPARAM kind : kinds)
        SendMessageW(window, WM_SETICON, kind, reinterpret_cast<LPARAM>(icon));
}

void TApplication::Initialize() {
    if (hwnd())
        return;
    registerClass(kClassName, 0, nullptr, nullptr);
    // A popup without a sizing border gets no minimum size, so it stays empty; it sits at
    // the screen's centre, where a restore or minimise animation looks natural.
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPSIBLINGS;
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2;
    const int y = GetSystemMetrics(SM_CYSCREEN) / 2;
    if (!create(kClassName, WS_EX_APPWINDOW, style, ui::applicationTitle().c_str(), x, y, 0, 0,
                nullptr, 0))
        throw std::runtime_error("Cannot create the application window");
    // The icon the taskbar and Alt+Tab show.
    SetProgramIcon(hwnd(), {ICON_BIG, ICON_SMALL});
}

void TApplication::SetTitle(const std::wstring& title) {
    if (ui::applicationTitle() == title)
        return;
    ui::setApplicationTitle(title);
    if (hwnd())
        SetWindowTextW(hwnd(), title.c_str());
}

namespace {
std::wstring& helpFileStore() {
    static std::wstring fileName;
    return fileName;
}
} // namespace

const std::wstring& TApplication::HelpFile() {
    return helpFileStore();
}

void TApplication::SetHelpFile(const std::wstring& fileName) {
    helpFileStore() = fileName;
}

void TApplication::Show() {
    if (hwnd() && !IsWindowVisible(hwnd()))
        ShowWindow(hwnd(), SW_SHOWNA);
}

void TApplication::Minimize() {
    if (hwnd() && !Minimized())
        SendMessageW(hwnd(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TApplication::Restore() {
    if (hwnd() && Minimized())
        SendMessageW(hwnd(), WM_SYSCOMMAND, SC_RESTORE, 0);
}

bool TApplication::Minimized() const {
    return hwnd() && IsIconic(hwnd());
}

void TApplication::activateForm() {
    if (!hwnd() || Minimized() || GetActiveWindow() != hwnd())
        return;
    // The system remembers, for the whole family of owned windows, which one was active.
    HWND target = GetLastActivePopup(hwnd());
    if (target == hwnd() || !usable(target))
        target = mainForm_;
    // A main form disabled under a modal dialog hands on to that dialog.
    if (target && !IsWindowEnabled(target))
        target = GetLastActivePopup(target);
    if (usable(target))
        SetForegroundWindow(target);
}

void TApplication::hideOtherForms() {
    Family family{hwnd(), {}};
    EnumThreadWindows(GetCurrentThreadId(), collectOwnedDeeper, reinterpret_cast<LPARAM>(&family));
    for (HWND window : family.found) {
        SetWindowPos(window, nullptr, 0, 0, 0, 0, kQuietly | SWP_HIDEWINDOW);
        hiddenForms_.push_back(window);
    }
}

void TApplication::showOtherForms() {
    // Each comes back where it was in the stacking order (hiding does not change it).
    for (HWND window : hiddenForms_)
        if (IsWindow(window) && !IsWindowVisible(window))
            SetWindowPos(window, nullptr, 0, 0, 0, 0, kQuietly | SWP_SHOWWINDOW);
    hiddenForms_.clear();
}

void TApplication::close() {
    // "Close" on the taskbar button closes the main form, which ends the program. While a
    // modal dialog is open the form cannot close under it: the dialog comes forward instead.
    if (mainForm_ && IsWindow(mainForm_)) {
        if (IsWindowEnabled(mainForm_))
            PostMessageW(mainForm_, WM_CLOSE, 0, 0);
        else
            activateForm();
        return;
    }
    DestroyWindow(hwnd());
}

LRESULT TApplication::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            PostMessageW(hwnd(), kActivateForm, 0, 0);
        break;
    case kActivateForm:
        activateForm();
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            close();
            return 0;
        }
        break;
    case WM_SIZE:
        // However the application was minimised or restored (its taskbar button, the main
        // window's minimise box, "minimise all"), the whole family follows.
        if (wParam == SIZE_MINIMIZED) {
            hideOtherForms();
        } else if (wParam == SIZE_RESTORED) {
            showOtherForms();
            PostMessageW(hwnd(), kActivateForm, 0, 0);
        }
        break;
    case WM_CLOSE:
        close();
        return 0;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace app
