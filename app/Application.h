#pragma once
// TApplication: what the entry point sets before any window exists (the title and the help
// file), and the application window. That window is never seen itself: it has no size, but
// it is the one top-level window with a taskbar button and an Alt+Tab entry, captioned with
// the title. It owns the main window, so the main window and every form it owns in turn
// carry no button of their own; minimising the main window minimises the application, and
// restoring the application brings the main window back.
#include "ui/Window.h"

#include <windows.h>

#include <initializer_list>
#include <string>
#include <vector>

namespace app {

inline constexpr const wchar_t* kApplicationTitle = L"Quellmoor Brightsweep";
inline constexpr const wchar_t* kHelpFileName = L"Tidyvane.hlp";

// The full path of the help file the application names (TApplication::SetHelpFile), beside
// the program, so WinHelp finds it whatever the current folder is; "" when there is none.
std::wstring HelpFilePath();

// Gives `window` the program's icon as each of `kinds` (ICON_BIG, ICON_SMALL); nothing in a
// program without the icon resource.
void SetProgramIcon(HWND window, std::initializer_list<WPARAM> kinds);

class TApplication : public ui::Window {
public:
    static constexpr const wchar_t* kClassName = L"Brightsweep.Application";

    TApplication() = default;

    // Makes the application window, hidden: forms created after it take it as their owner.
    void Initialize();
    HWND Handle() const { return hwnd(); }

    // The title is the caption of the application window (the taskbar button's text) and of
    // the default error report; it is kept once, as ui::applicationTitle().
    void SetTitle(const std::wstring& title);
    // The help file's name. One per program, like the title, so every window reaches it
    // through HelpFilePath() without holding the application object.
    static const std::wstring& HelpFile();
    static void SetHelpFile(const std::wstring& fileName);

    // The form whose closing ends the program; restoring and activation are handed to it.
    void SetMainForm(HWND form) { mainForm_ = form; }

    // Gives the program its taskbar button. Done just before the main form is shown, so a
    // start that ends without showing it (the silent start) never shows the button either.
    void Show();
    void Minimize();
    void Restore();
    bool Minimized() const;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // Passes activation on to the window the user was last working in: the main form or
    // the dialog it has open.
    void activateForm();
    void close();
    // The system hides and brings back only the windows the application window owns
    // itself; a dialog owned by the main window would float alone. These do the same for
    // the rest of the family.
    void hideOtherForms();
    void showOtherForms();

    HWND mainForm_ = nullptr;
    std::vector<HWND> hiddenForms_;
};

} // namespace app
