#include "ui/Window.h"

#include <exception>
#include <utility>

namespace ui {

namespace {
constexpr const char* kObjectProp = "Brightsweep.Window";
std::string& titleStore() {
    static std::string title;
    return title;
}
} // namespace

Window::~Window() {
    if (hwnd_) {
        HWND hwnd = hwnd_;
        DestroyWindow(hwnd);
        // A window owned by another thread cannot be destroyed from here; unbind at least.
        if (hwnd_)
            RemovePropA(std::exchange(hwnd_, nullptr), kObjectProp);
    }
}

Window* Window::fromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropA(hwnd, kObjectProp)) : nullptr;
}

void registerWindowClass(const char* className, WNDPROC proc, UINT classStyle, HBRUSH background,
                         HCURSOR cursor) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), className, &existing))
        return;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = classStyle;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    RegisterClassExA(&wc);
}

RECT centredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle) {
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    return RECT{x, y, x + width, y + height};
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

void Window::registerClass(const char* className, UINT classStyle, HBRUSH background,
                           HCURSOR cursor) {
    registerWindowClass(className, &Window::classProc, classStyle, background,
                        cursor ? cursor : LoadCursorA(nullptr, IDC_ARROW));
}

HWND Window::create(const char* className, DWORD exStyle, DWORD style, const char* caption, int x,
                    int y, int width, int height, HWND parent, UINT_PTR idOrMenu) {
    return CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent,
                           reinterpret_cast<HMENU>(idOrMenu), GetModuleHandleA(nullptr), this);
}

HWND Window::createControl(const char* className, DWORD exStyle, DWORD style, const char* caption,
                           int x, int y, int width, int height, HWND parent, int id) {
    HWND hwnd = CreateWindowExA(exStyle, className, caption, style, x, y, width, height, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hwnd)
        return nullptr;
    bind(hwnd);
    previous_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::subclassProc)));
    return hwnd;
}

void Window::bind(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropA(hwnd, kObjectProp, this);
}

LRESULT Window::defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (previous_)
        return CallWindowProcA(previous_, hwnd_, msg, wParam, lParam);
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
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
        RemovePropA(hwnd_, kObjectProp);
        hwnd_ = nullptr;
        previous_ = nullptr;
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
        reportError(e.what());
    } catch (...) {
        reportError("Unexpected error");
    }
    return 0;
}

LRESULT CALLBACK Window::classProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = fromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        if (self)
            self->bind(hwnd);
    }
    return self ? self->dispatch(msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK Window::subclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = fromHandle(hwnd);
    return self ? self->dispatch(msg, wParam, lParam) : DefWindowProcA(hwnd, msg, wParam, lParam);
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

void setApplicationTitle(const std::string& title) {
    titleStore() = title;
}
const std::string& applicationTitle() {
    return titleStore();
}

void reportError(const std::string& text) {
    std::string message = text;
    if (message.empty() || message.back() != '.')
        message += '.';
    MessageBoxA(nullptr, message.c_str(), applicationTitle().c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL);
}

} // namespace ui
