#pragma once
// Drives brightsweep.exe from another process, the way automation would: start it, find
// its windows and controls, click, type, read states and texts, answer its dialogs.
// Input goes to the control's window as messages, so no test needs the real focus or cursor.
#include <windows.h>

#include "tests/support/TestSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace e2e {

using testsupport::argumentEndingWith;
// The program under test: the first argument naming an .exe.
inline std::wstring programPath() {
    return argumentEndingWith(L".exe");
}

// A started program; killed at the end if it is still running.
class Process {
public:
    // Starts `exe` with `arguments` (already quoted as needed) in `folder`, or in the exe's
    // own folder when that is null.
    Process(const std::wstring& exe, const std::wstring& arguments,
            const wchar_t* folder = nullptr);
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    ~Process();

    DWORD id() const { return info_.dwProcessId; }
    bool running() const;
    // The exit code, or nothing when it is still running after `timeoutMs`.
    std::optional<DWORD> waitForExit(DWORD timeoutMs);

private:
    void kill();
    PROCESS_INFORMATION info_{};
};

// The visible top-level windows of the process, topmost first.
std::vector<HWND> visibleWindows(DWORD processId);
// The first visible top-level window of the process with this class and caption (either
// may be null for "any"), waited for up to `timeoutMs`; null when none came.
HWND waitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                   DWORD timeoutMs = 15000);
// True when no visible top-level window of that class and caption remains within the time.
bool waitForWindowGone(DWORD processId, const wchar_t* className, const wchar_t* caption,
                       DWORD timeoutMs = 15000);

// A control anywhere below `root` by its id; null when there is none.
HWND findControl(HWND root, int id);
// A direct or deeper child of `root` of `className` whose text is `text`.
HWND findControlByText(HWND root, const wchar_t* className, const std::wstring& text);

std::wstring windowText(HWND window);
bool isChecked(HWND checkBox);
bool isEnabled(HWND window);
bool isVisible(HWND window);

// A message sent to a window of the program, waited for up to ten seconds: handled when
// the call returns, unless the program hangs.
void send(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);

// Mouse input, sent: handled when the call returns. Not for a control whose handler opens
// a modal window or ends the program: press() those.
void click(HWND button);
// Posts a click to a button and returns at once; wait for its effect (a dialog, the end).
void press(HWND button);
void clickAt(HWND window, int x, int y);
// A click posted at a point, returning at once: for a control whose click returns only
// after something else (the shell, say) has answered. Wait for its effect.
void postClickAt(HWND window, int x, int y);
void doubleClickAt(HWND window, int x, int y);
// A key, posted, so the program's message loop sees it as typed (dialog keys such as Tab,
// Enter and Escape are handled there). Returns at once: wait for the key's effect.
void pressKey(HWND window, WPARAM virtualKey);

// The items of a list box and their ticks (the item data of a check-list box).
std::vector<std::wstring> listTexts(HWND listBox);
std::vector<bool> listTicks(HWND listBox);
// Centre of the item's text in the list box's client coordinates.
POINT listItemPoint(HWND listBox, int index, int x);

// The program's message dialog ("Confirm" or "Information").
constexpr const wchar_t* kMessageDialogClass = L"TMessageDialog";
HWND waitForMessage(DWORD processId, const wchar_t* caption, DWORD timeoutMs = 15000);
// The dialog's text.
std::wstring messageText(HWND dialog);
// Presses the button with this caption ("&Yes", "&No", "OK").
void answer(HWND dialog, const wchar_t* buttonCaption);

} // namespace e2e
