#pragma once
// The base of every window and control class: one C++ object per HWND. The object is
// found through a named window property from the first message on and unbound at
// WM_NCDESTROY; only that property marks a window as ours, so any child's handle can be
// looked up safely (GWLP_USERDATA of a foreign window may hold anything). Standard
// controls are subclassed with SetWindowSubclass, which keeps them Unicode and lets other
// hooks on the same control come and go in any order. A parent reflects WM_COMMAND,
// WM_NOTIFY, WM_DRAWITEM and WM_CTLCOLOR* back to the control's object, which then owns
// its own drawing and notifications. WM_MEASUREITEM carries no window handle, so it is
// not reflected: the parent answers it, if anyone does.
#include <windows.h>

#include <exception>
#include <string>

namespace ui {

// Registers a window class of this module once; later calls with the name do nothing.
void registerWindowClass(const wchar_t* className, WNDPROC proc, UINT classStyle = 0,
                         HBRUSH background = nullptr, HCURSOR cursor = nullptr);

// A system cursor (IDC_ARROW, IDC_HAND, ...). The IDC_ ids are small integers in a
// pointer typed narrow or wide by the UNICODE setting; either way they name one cursor.
inline HCURSOR systemCursor(const void* id) {
    return LoadCursorW(nullptr, static_cast<LPCWSTR>(id));
}

// The window rectangle, frame included, of a window with this client size and these
// styles at `dpi`, centred on the primary screen.
RECT centredFrame(int clientWidth, int clientHeight, DWORD style, DWORD exStyle, UINT dpi);
// Sizes `window` to that client size, in pixels at `dpi`, and centres it on the screen.
void placeCentred(HWND window, int clientWidth, int clientHeight, UINT dpi);

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
    // A window still there is unbound first and then destroyed: by now the derived parts
    // of the object are gone, so none of its messages reach this object any more.
    virtual ~Window();

    HWND hwnd() const { return hwnd_; }
    // The object bound to a window, or null.
    static Window* fromHandle(HWND hwnd);

    // Registers a window class of our own (once per process) that routes to the bound object.
    static void registerClass(const wchar_t* className, UINT classStyle = CS_DBLCLKS,
                              HBRUSH background = nullptr, HCURSOR cursor = nullptr);

protected:
    // Creates a window of a class registered with registerClass, bound to this object.
    HWND create(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* caption, int x,
                int y, int width, int height, HWND parent, UINT_PTR idOrMenu);
    // Creates a standard control (BUTTON, LISTBOX, ...) and subclasses it onto this object.
    HWND createControl(const wchar_t* className, DWORD exStyle, DWORD style, const wchar_t* caption,
                       int x, int y, int width, int height, HWND parent, int id);

    // Destroys the window while the whole object still exists, so that its own WM_DESTROY
    // and WM_NCDESTROY handling runs. C++ destroys a class's members before its base, so
    // only the class's own destructor can do this: a class whose handlers do work at the
    // end, or whose members' destruction could still send it messages, calls this first
    // in its destructor.
    void destroyWindow();

    // Every message of the window but the notifications a child's object took (see
    // reflected). The default forwards to the control's own window procedure (subclassed
    // controls) or DefWindowProc.
    virtual LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    // A parent's notification about this control, reflected back. Return true when handled.
    virtual bool reflected(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);
    friend bool reflectToChild(UINT, WPARAM, LPARAM, LRESULT&);
    // Called from WM_NCDESTROY, after which the object no longer has a window. Not called
    // when the window outlives the object's derived destructors (see ~Window). A class
    // whose destroyed() frees the object never calls destroyWindow() from its destructor.
    virtual void destroyed() {}

    // The handling the window would get without this object. Only while a message is
    // being handled: a subclassed control's next procedure is known only then.
    LRESULT defaultHandling(UINT msg, WPARAM wParam, LPARAM lParam);

private:
    static LRESULT CALLBACK classProc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK subclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT dispatch(UINT msg, WPARAM wParam, LPARAM lParam);
    void bind(HWND hwnd);
    void unbind();

    HWND hwnd_ = nullptr;
    bool subclassed_ = false;
};

// Reflects a parent's notification to the child control's object, when it has one.
bool reflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result);

// The application's title (caption of the default error report).
void setApplicationTitle(const std::wstring& title);
const std::wstring& applicationTitle();
// The default error report: an error icon, the application title as caption, the text
// ending in a full stop. The program goes on afterwards.
void reportError(const std::wstring& text);
// The default error report of an exception. Messages of exceptions are UTF-8 texts.
void reportException(const std::exception& error);

} // namespace ui
