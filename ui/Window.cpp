#include "ui/Window.h"

#include "engine/Error.h"
#include "ui/ModalLoop.h"
#include "ui/Dpi.h"

#include <commctrl.h>

#include <cstring>

namespace ui {

namespace {
constexpr const wchar_t* kObjectProp = L"Brightsweep.Window";
// Our hook's id among the subclasses of a control; one object per control.
constexpr UINT_PTR kSubclassId = 1;

std::wstring& titleStore() {
    static std::wstring title;
    return title;
}
} // namespace

Window::~Window() {
    if (!hwnd_)
        return;
    const HWND hwnd = hwnd_;
    unbind();
    // Fails for a window of another thread; it is unbound all the same.
    DestroyWindow(hwnd);
}

Window* Window::fromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropW(hwnd, kObjectProp)) : nullptr;
}

void registerWindowClass(const wchar_t* className, WNDPROC proc, UINT classStyle, HBRUSH background,
                         HCURSOR cursor) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), className, &existing))
        return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

RECT centredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi) {
    const RECT frame = frameAround(clientWidth, clientHeight, style, exStyle, dpi);
    const int width = frame.right, height = frame.bottom;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{x, y, x + width, y + height};
}

void placeCentred(HWND window, int clientWidth, int clientHeight, UINT dpi) {
    const RECT frame = centredFrame(clientWidth, clientHeight,
                                    static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)),
                                    static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), dpi);
    SetWindowPos(window, nullptr, frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT boundsInParent(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool endClick(HWND window, LPARAM lParam) {
    if (GetCapture() != window)
        return false;
    ReleaseCapture();
    const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT client;
    GetClientRect(window, &client);
    return PtInRect(&client, at) != FALSE;
}

void Window::registerClass(const wchar_t* className, UINT classStyle, HBRUSH background,
                           HCURSOR cursor) {
    registerWindowClass(className, &Window::classProc, classStyle, background,
                        cursor ? cursor : systemCursor(IDC_ARROW));
}

HWND Window::create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* caption,
                    int x, int y, int width, int height, HWND parent, UINT_PTR idOrMenu) {
    return CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(idOrMenu), GetModuleHandleW(nullptr), this);
}

HWND Window::createControl(const wchar_t* className, DWORD exStyle, DWORD style,
                           const wchar_t* caption, int x, int y, int width, int height, HWND parent,
                           int id) {
    HWND hwnd = CreateWindowExW(exStyle, className, caption, style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd)
        return nullptr;
    bind(hwnd);
    subclassed_ = SetWindowSubclass(hwnd, &Window::subclassProc, kSubclassId,
                                    reinterpret_cast<DWORD_PTR>(this)) != FALSE;
    if (!subclassed_) {
        unbind();
        DestroyWindow(hwnd);
        return nullptr;
    }
    return hwnd;
}

void Window::destroyWindow() {
    if (hwnd_)
        DestroyWindow(hwnd_);
}

void Window::bind(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropW(hwnd, kObjectProp, this);
}

void Window::unbind() {
    if (subclassed_)
        RemoveWindowSubclass(hwnd_, &Window::subclassProc, kSubclassId);
    RemovePropW(hwnd_, kObjectProp);
    hwnd_ = nullptr;
    subclassed_ = false;
}

LRESULT Window::defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (subclassed_)
        return DefSubclassProc(hwnd_, msg, wParam, lParam);
    return DefWindowProcW(hwnd_, msg, wParam, lParam);
}

bool Window::reflected(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT Window::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    return defaultHandling(msg, wParam, lParam);
}

LRESULT Window::dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCDESTROY) {
        const LRESULT result = defaultHandling(msg, wParam, lParam);
        unbind();
        destroyed();
        return result;
    }
    // Catch at the edge: an error escaping a handler becomes the default error report.
    try {
        // A child's notification goes to the child's own object first, whichever window
        // it reaches on its way up.
        LRESULT result = 0;
        if (reflectToChild(msg, wParam, lParam, result))
            return result;
        return handleMessage(msg, wParam, lParam);
    } catch (const std::exception& e) {
        reportException(e);
    } catch (...) {
        reportError(L"Unexpected error");
    }
    return 0;
}

LRESULT CALLBACK Window::classProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = fromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        if (self)
            self->bind(hwnd);
    }
    return self ? self->dispatch(msg, wParam, lParam) : DefWindowProcW(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Window::subclassProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR object) {
    // The hook is removed whenever its object lets go of the window.
    return reinterpret_cast<Window*>(object)->dispatch(msg, wParam, lParam);
}

bool reflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_DRAWITEM:
        child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLOREDIT:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    Window* target = Window::fromHandle(child);
    return target && target->reflected(msg, wParam, lParam, result);
}

void setApplicationTitle(const std::wstring& title) {
    titleStore() = title;
}
const std::wstring& applicationTitle() {
    return titleStore();
}

void reportError(const std::wstring& text) {
    std::wstring message = text;
    if (message.empty() || message.back() != L'.')
        message += L'.';
    const FocusComesBack focusComesBack;
    MessageBoxW(nullptr, message.c_str(), applicationTitle().c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

void reportException(const std::exception& error) {
    reportError(engine::MessageOf(error));
}

} // namespace ui
