#pragma once
// The base of every window and control class: one C++ object per HWND. The object is
// bound to its window through a window property from the first message on and unbound
// at WM_NCDESTROY. Standard controls are subclassed the same way, so a parent can
// reflect WM_COMMAND, WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* back to the control's
// object, which then owns its own drawing and notifications. WM_MEASUREITEM carries no
// window handle, so it is not reflected: the parent answers it, if anyone does.
#include <windows.h>

#include <string>

namespace ui {

// Registers a window class of this module once; later calls with the name do nothing.
void registerWindowClass(const char* className, WNDPROC proc, UINT classStyle = 0,
                         HBRUSH background = nullptr, HCURSOR cursor = nullptr);

// The window rectangle, frame included, of a window with this client size and these
// styles, centred on the primary screen.
RECT centredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle);

// A child window's rectangle in its parent's client coordinates.
RECT boundsInParent(HWND child);

// For WM_LBUTTONUP after a WM_LBUTTONDOWN that took the capture: releases it and tells
// whether this was a click, a press and a release on the window. Not the second press of
// a double click (that arrives as its own message, without the capture), nor a drag
// released over the window.
bool endClick(HWND window, LPARAM lParam);

class Window {
public:
    Window() = default;
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    // The object bound to a window, or null.
    static Window* fromHandle(HWND hwnd);

    // Registers a window class of our own (once per process) that routes to the bound object.
    static void registerClass(const char* className, UINT classStyle = CS_DBLCLKS,
                              HBRUSH background = nullptr, HCURSOR cursor = nullptr);

protected:
    // Creates a window of a class registered with registerClass, bound to this object.
    HWND create(const char* className, DWORD exStyle, DWORD style, const char* caption, int x,
                int y, int width, int height, HWND parent, UINT_PTR idOrMenu);
    // Creates a standard control (BUTTON, LISTBOX, ...) and subclasses it onto this object.
    HWND createControl(const char* className, DWORD exStyle, DWORD style, const char* caption,
                       int x, int y, int width, int height, HWND parent, int id);

    // Every message of the window but the notifications a child's object took (see
    // reflected). The default forwards to the previous window procedure (subclassed
    // controls) or DefWindowProc.
    virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A parent's notification about this control, reflected back. Return true when handled.
    virtual bool reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    friend bool reflectToChild(UINT, WPARAM, LPARAM, LRESULT&);
    // Called from WM_NCDESTROY, after which the object no longer has a window.
    virtual void destroyed() {}

    LRESULT defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK classProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void bind(HWND hwnd);

    HWND hwnd_ = nullptr;
    WNDPROC previous_ = nullptr;
};

// Reflects a parent's notification to the child control's object, when it has one.
bool reflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The application's title (caption of the default error report).
void setApplicationTitle(const std::string& title);
const std::string& applicationTitle();
// The default error report: an error icon, the application title as caption, the text
// ending in a full stop. The program goes on afterwards.
void reportError(const std::string& text);

} // namespace ui
