#include "tests/e2e/Driver.h"

#include "engine/Error.h"

#include <stdexcept>

namespace e2e {

namespace {
struct ProcessWindows {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK collectVisible(HWND hwnd, LPARAM param) {
    auto* w = reinterpret_cast<ProcessWindows*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid == w->processId && IsWindowVisible(hwnd))
        w->found.push_back(hwnd);
    return TRUE;
}

HWND findTopLevel(DWORD processId, const wchar_t* className, const wchar_t* caption) {
    for (HWND hwnd : visibleWindows(processId)) {
        wchar_t cls[256] = {};
        GetClassNameW(hwnd, cls, static_cast<int>(std::size(cls)));
        if (className && lstrcmpW(cls, className) != 0)
            continue;
        if (caption && windowText(hwnd) != caption)
            continue;
        return hwnd;
    }
    return nullptr;
}

struct ChildSearch {
    int id;
    const wchar_t* className;
    const std::wstring* text;
    HWND found;
};

BOOL CALLBACK matchChild(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<ChildSearch*>(param);
    if (s->text) {
        wchar_t cls[256] = {};
        GetClassNameW(hwnd, cls, static_cast<int>(std::size(cls)));
        if (lstrcmpiW(cls, s->className) != 0 || windowText(hwnd) != *s->text)
            return TRUE;
    } else if (GetDlgCtrlID(hwnd) != s->id) {
        return TRUE;
    }
    s->found = hwnd;
    return FALSE;
}

// A pointer resting over the window under test makes Wine send that window mouse moves of
// its own (when a window above it closes, say); one landing between a synthetic press and
// release drags a list box's selection. The test display parks the pointer in a corner.
void requirePointerAway(HWND window) {
    POINT cursor{};
    RECT frame{};
    if (GetCursorPos(&cursor) && GetWindowRect(GetAncestor(window, GA_ROOT), &frame) &&
        PtInRect(&frame, cursor))
        throw std::runtime_error("the pointer rests over the window under test");
}

void sendMouse(HWND window, UINT down, UINT up, int x, int y) {
    requirePointerAway(window);
    send(window, down, MK_LBUTTON, MAKELPARAM(x, y));
    send(window, up, 0, MAKELPARAM(x, y));
}
} // namespace

Process::Process(const std::wstring& exe, const std::wstring& arguments, const wchar_t* folder) {
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    const std::wstring exeFolder = exe.substr(0, exe.find_last_of(L'\\') + 1);
    if (!folder && !exeFolder.empty())
        folder = exeFolder.c_str();
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder, &startup, &info_))
        throw engine::Error(L"cannot start " + exe);
}

Process::~Process() {
    if (running())
        kill();
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool Process::running() const {
    return WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> Process::waitForExit(DWORD timeoutMs) {
    if (WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void Process::kill() {
    TerminateProcess(info_.hProcess, 255);
    WaitForSingleObject(info_.hProcess, 5000);
}

std::vector<HWND> visibleWindows(DWORD processId) {
    ProcessWindows w{processId, {}};
    EnumWindows(&collectVisible, reinterpret_cast<LPARAM>(&w));
    return w.found;
}

HWND waitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption,
                   DWORD timeoutMs) {
    HWND found = nullptr;
    testsupport::waitUntil(
        [&] { return (found = findTopLevel(processId, className, caption)) != nullptr; },
        timeoutMs);
    return found;
}

bool waitForWindowGone(DWORD processId, const wchar_t* className, const wchar_t* caption,
                       DWORD timeoutMs) {
    return testsupport::waitUntil([&] { return !findTopLevel(processId, className, caption); },
                                  timeoutMs);
}

HWND findControl(HWND root, int id) {
    ChildSearch s{id, nullptr, nullptr, nullptr};
    EnumChildWindows(root, &matchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

HWND findControlByText(HWND root, const wchar_t* className, const std::wstring& text) {
    ChildSearch s{0, className, &text, nullptr};
    EnumChildWindows(root, &matchChild, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

std::wstring windowText(HWND window) {
    // The wide form: text sent across processes comes back reliably in it.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring wide(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()));
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

bool isChecked(HWND checkBox) {
    return SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}
bool isEnabled(HWND window) {
    return IsWindowEnabled(window) != FALSE;
}
bool isVisible(HWND window) {
    return IsWindowVisible(window) != FALSE;
}

// A sent message is handled before anything posted to the window; mouse input is sent so
// that its effect is there when the call returns.
void send(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_NORMAL, 10000, &ignored);
}

void click(HWND button) {
    send(button, BM_CLICK, 0, 0);
}

void press(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
}

void clickAt(HWND window, int x, int y) {
    sendMouse(window, WM_LBUTTONDOWN, WM_LBUTTONUP, x, y);
}

void postClickAt(HWND window, int x, int y) {
    PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

void doubleClickAt(HWND window, int x, int y) {
    sendMouse(window, WM_LBUTTONDOWN, WM_LBUTTONUP, x, y);
    sendMouse(window, WM_LBUTTONDBLCLK, WM_LBUTTONUP, x, y);
}

void pressKey(HWND window, WPARAM virtualKey) {
    PostMessageW(window, WM_KEYDOWN, virtualKey, 1);
    PostMessageW(window, WM_KEYUP, virtualKey, 0xC0000001);
}

std::vector<std::wstring> listTexts(HWND listBox) {
    std::vector<std::wstring> texts;
    const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        // The A form comes back as UTF-16 across processes under Wine; ask for the W form.
        const LRESULT length = SendMessageW(listBox, LB_GETTEXTLEN, i, 0);
        std::wstring wide(static_cast<size_t>(length < 0 ? 0 : length) + 1, L'\0');
        SendMessageW(listBox, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()));
        std::wstring text;
        for (wchar_t c : std::wstring(wide.c_str()))
            text += static_cast<wchar_t>(c < 256 ? c : L'?');
        texts.push_back(text);
    }
    return texts;
}

std::vector<bool> listTicks(HWND listBox) {
    std::vector<bool> ticks;
    const LRESULT count = SendMessageW(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        ticks.push_back(SendMessageW(listBox, LB_GETITEMDATA, i, 0) != 0);
    return ticks;
}

POINT listItemPoint(HWND listBox, int index, int x) {
    const LRESULT height = SendMessageW(listBox, LB_GETITEMHEIGHT, 0, 0);
    const LRESULT top = SendMessageW(listBox, LB_GETTOPINDEX, 0, 0);
    return POINT{x, static_cast<LONG>((index - top) * height + height / 2)};
}

HWND waitForMessage(DWORD processId, const wchar_t* caption, DWORD timeoutMs) {
    return waitForWindow(processId, kMessageDialogClass, caption, timeoutMs);
}

std::wstring messageText(HWND dialog) {
    // The text is the dialog's one static control that carries text.
    std::wstring text;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t cls[64] = {};
        GetClassNameW(child, cls, static_cast<int>(std::size(cls)));
        if (lstrcmpiW(cls, L"STATIC") == 0 && !(text = windowText(child)).empty())
            return text;
    }
    return {};
}

void answer(HWND dialog, const wchar_t* buttonCaption) {
    HWND button = findControlByText(dialog, L"BUTTON", buttonCaption);
    if (!button)
        throw engine::Error(L"no button " + std::wstring(buttonCaption));
    PostMessageW(button, BM_CLICK, 0, 0);
}

} // namespace e2e
