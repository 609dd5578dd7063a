#include "components/ASLink.h"
#include "ui/LabelFocus.h"
#include "ui/Layout.h"
#include "ui/Painting.h"
#include "ui/Property.h"

#include <commctrl.h>
#include <shellapi.h>

namespace components {

namespace {

constexpr const wchar_t* kLinkClass = L"Brightsweep.ASLink";

ShellExecuteFn& shellExecute() {
    static ShellExecuteFn fn = &ShellExecuteW;
    return fn;
}

GetVersionFn& getVersion() {
    static GetVersionFn fn = &GetVersion;
    return fn;
}

// The character after the first "&", or 0.
wchar_t acceleratorOf(const std::wstring& caption) {
    const auto amp = caption.find(L'&');
    return amp != std::wstring::npos && amp + 1 < caption.size() ? caption[amp + 1] : L'\0';
}

bool sameLetter(wchar_t a, wchar_t b) {
    wchar_t pa[2] = {a, 0}, pb[2] = {b, 0};
    CharUpperW(pa);
    CharUpperW(pb);
    return pa[0] == pb[0];
}

BOOL CALLBACK findMainWindow(HWND hwnd, LPARAM param) {
    if (IsWindowVisible(hwnd) && !GetWindow(hwnd, GW_OWNER)) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK offerAccelerator(HWND hwnd, LPARAM param) {
    auto* request = reinterpret_cast<std::pair<wchar_t, bool>*>(param);
    if (auto* link = dynamic_cast<TASLink*>(ui::Window::fromHandle(hwnd))) {
        if (link->acceleratorChar(request->first)) {
            request->second = true;
            return FALSE;
        }
    }
    return TRUE;
}

} // namespace

const wchar_t* urlPrefix(TURLType type) {
    switch (type) {
    case utFile:
        return L"file://";
    case utFtp:
        return L"ftp://";
    case utGopher:
        return L"gopher://";
    case utHttp:
        return L"http://";
    case utHttps:
        return L"https://";
    case utMailto:
        return L"mailto:";
    case utNews:
        return L"news:";
    case utTelnet:
        return L"telnet:";
    case utWais:
        return L"wais:";
    }
    return L"";
}

GetVersionFn setGetVersion(GetVersionFn fn) {
    const GetVersionFn previous = getVersion();
    getVersion() = fn ? fn : &GetVersion;
    return previous;
}

ShellExecuteFn setShellExecute(ShellExecuteFn fn) {
    const ShellExecuteFn previous = shellExecute();
    shellExecute() = fn ? fn : &ShellExecuteW;
    return previous;
}

INT_PTR ExecuteFile(const std::wstring& file, const std::wstring& params,
                    const std::wstring& directory, int showCmd) {
    // The owner is the application's main window: the root owner of the active window,
    // or else the GUI thread's first visible unowned window.
    HWND owner = GetActiveWindow();
    if (owner)
        owner = GetAncestor(owner, GA_ROOTOWNER);
    else
        EnumThreadWindows(GetCurrentThreadId(), &findMainWindow, reinterpret_cast<LPARAM>(&owner));
    return reinterpret_cast<INT_PTR>(
        shellExecute()(owner, nullptr, file.c_str(), params.c_str(), directory.c_str(), showCmd));
}

void DrawShadowText(HDC dc, const wchar_t* text, int length, TShadowPosition pos,
                    COLORREF shadowColor, int shadowSize, UINT flags, RECT& rect) {
    RECT textRect = rect;
    RECT shadowRect = rect;
    const int s = shadowSize;
    switch (pos) {
    case spLeftTop:
        OffsetRect(&textRect, s, s);
        break;
    case spLeftBottom:
        OffsetRect(&textRect, s, 0);
        OffsetRect(&shadowRect, 0, s);
        break;
    case spRightBottom:
        OffsetRect(&shadowRect, s, s);
        break;
    case spRightTop:
        OffsetRect(&textRect, 0, s);
        OffsetRect(&shadowRect, s, 0);
        break;
    }
    const bool measuring = (flags & DT_CALCRECT) != 0;
    // clNone means "no shadow": nothing to draw, but the shadow still takes its place.
    if (measuring || shadowColor != ui::clNone) {
        const COLORREF previous = SetTextColor(dc, shadowColor);
        DrawTextW(dc, text, length, &shadowRect, flags);
        SetTextColor(dc, previous);
    }
    DrawTextW(dc, text, length, &textRect, flags);
    UnionRect(&rect, &textRect, &shadowRect);
}

TASLink::TASLink() : cursor_(ui::systemCursor(IDC_HAND)) {
    // The program's own font until a caller sets another.
    GetObjectW(ui::defaultFont(), sizeof logFont_, &logFont_);
    rebuildFont();
    savedFontColor_ = fontColor_;
}

TASLink::~TASLink() {
    unhookFocusControl();
}

HWND TASLink::create(HWND parent, int x, int y, int id) {
    registerClass(kLinkClass, CS_DBLCLKS, nullptr, cursor_);
    left_ = x;
    top_ = y;
    return Window::create(
        kLinkClass, 0,
        WS_CHILD | WS_VISIBLE | (enabled_ ? 0 : WS_DISABLED) | (tabStop_ ? WS_TABSTOP : 0),
        caption_.c_str(), left_, top_, width_, height_, parent, static_cast<UINT_PTR>(id));
}

void TASLink::setBounds(int left, int top, int width, int height) {
    if (left == left_ && top == top_ && width == width_ && height == height_)
        return;
    left_ = left;
    top_ = top;
    width_ = width;
    height_ = height;
    applyBounds();
}

void TASLink::applyBounds() {
    if (hwnd())
        SetWindowPos(hwnd(), nullptr, left_, top_, width_, height_, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TASLink::repaint() {
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, FALSE);
}

void TASLink::rebuildFont() {
    font_.reset(CreateFontIndirectW(&logFont_));
}

void TASLink::setCaption(const std::wstring& caption) {
    if (!ui::storeChanged(caption_, caption))
        return;
    if (hwnd())
        SetWindowTextW(hwnd(), caption_.c_str());
    repaint();
    FitToText();
}

void TASLink::setFont(const LOGFONTW& font) {
    logFont_ = font;
    rebuildFont();
    repaint();
    FitToText();
}

void TASLink::setFontColor(ui::Color color) {
    if (!ui::storeChanged(fontColor_, color))
        return;
    repaint();
    FitToText();
}

void TASLink::setColor(ui::Color color) {
    if (!ui::storeChanged(color_, color))
        return;
    repaint();
}

void TASLink::setEnabled(bool enabled) {
    if (!ui::storeChanged(enabled_, enabled))
        return;
    if (hwnd())
        EnableWindow(hwnd(), enabled);
    repaint();
}

void TASLink::setAlignment(TAlignment value) {
    if (ui::storeChanged(alignment_, value))
        repaint();
}
void TASLink::setLayout(TTextLayout value) {
    if (ui::storeChanged(layout_, value))
        repaint();
}
void TASLink::setShadowColor(ui::Color value) {
    if (ui::storeChanged(shadowColor_, value))
        repaint();
}
void TASLink::setShadowPos(TShadowPosition value) {
    if (ui::storeChanged(shadowPos_, value))
        repaint();
}
void TASLink::setShowAccelChar(bool value) {
    if (ui::storeChanged(showAccelChar_, value))
        repaint();
}
void TASLink::setShowFocus(bool value) {
    if (ui::storeChanged(showFocus_, value))
        repaint();
}

void TASLink::setTabStop(bool value) {
    if (!ui::storeChanged(tabStop_, value) || !hwnd())
        return;
    const LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
    SetWindowLongW(hwnd(), GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

LRESULT TASLink::dialogCode(const MSG* msg) const {
    // Enter on a focused link opens it rather than pressing the window's default button.
    if (tabStop_ && msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN)
        return DLGC_STATIC | DLGC_WANTMESSAGE;
    return DLGC_STATIC;
}

void TASLink::setTransparent(bool value) {
    if (ui::storeChanged(transparent_, value))
        repaint();
}

// AutoSize and WordWrap repaint themselves too, so a new WordWrap shows at once even when
// the size stays the same.
void TASLink::setAutoSize(bool value) {
    if (!ui::storeChanged(autoSize_, value))
        return;
    FitToText();
    repaint();
}

void TASLink::setWordWrap(bool value) {
    if (!ui::storeChanged(wordWrap_, value))
        return;
    FitToText();
    repaint();
}

void TASLink::setShadowSize(BYTE value) {
    if (!ui::storeChanged(shadowSize_, value))
        return;
    FitToText();
    repaint();
}

void TASLink::setFocusControl(HWND control) {
    unhookFocusControl();
    focusControl_ = control;
    if (control)
        SetWindowSubclass(control, &TASLink::focusControlProc, hookId(),
                          reinterpret_cast<DWORD_PTR>(this));
    if (showFocus_)
        repaint();
}

void TASLink::unhookFocusControl() {
    if (focusControl_ && IsWindow(focusControl_))
        RemoveWindowSubclass(focusControl_, &TASLink::focusControlProc, hookId());
}

LRESULT CALLBACK TASLink::focusControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR id, DWORD_PTR data) {
    auto* link = reinterpret_cast<TASLink*>(data);
    switch (msg) {
    case WM_SETFOCUS:
        link->focusChanged(hwnd);
        break;
    case WM_KILLFOCUS:
        link->focusChanged(reinterpret_cast<HWND>(wParam));
        break;
    case WM_NCDESTROY: {
        RemoveWindowSubclass(hwnd, &TASLink::focusControlProc, id);
        link->focusControl_ = nullptr;
        link->setFocusControl(nullptr);
        link->focusChanged(GetFocus());
        break;
    }
    default:
        break;
    }
    return DefSubclassProc(hwnd, msg, wParam, lParam);
}

void TASLink::setOnClick(ClickHandler handler, void* context) {
    onClick_ = handler;
    onClickContext_ = context;
}

std::wstring TASLink::url() const {
    if (caption_.empty())
        return L"";
    return urlTypeAdd_ ? urlPrefix(urlType_) + caption_ : caption_;
}

bool TASLink::OpenURL() {
    if (caption_.empty() || !urlEnabled_)
        return false;
    return ExecuteFile(url(), L"", L"", SW_SHOWNOACTIVATE) > 32;
}

void TASLink::DrawLinkText(HDC dc, RECT& rect, UINT flags) {
    std::wstring text = caption_;
    if ((flags & DT_CALCRECT) && (text.empty() || (showAccelChar_ && text == L"&")))
        text += L' ';
    if (!showAccelChar_)
        flags |= DT_NOPREFIX;
    ui::Selected selectFont(dc, font_.get());
    TShadowPosition pos = shadowPos_;
    int size = shadowSize_;
    ui::Color shadow = shadowColor_;
    ui::Color textColor = fontColor_;
    if (!enabled_) {
        // From Windows 95 on a disabled label is grey with a one-pixel highlight shadow.
        if (size == 0 && LOBYTE(LOWORD(getVersion()())) >= 4) {
            pos = spRightBottom;
            size = 1;
        }
        textColor = ui::clGrayText;
        shadow = ui::clBtnHighlight;
    }
    const COLORREF previous = SetTextColor(dc, ui::resolve(textColor));
    const COLORREF shadowRgb = shadow == ui::clNone ? ui::clNone : ui::resolve(shadow);
    DrawShadowText(dc, text.c_str(), static_cast<int>(text.size()), pos, shadowRgb, size, flags,
                   rect);
    SetTextColor(dc, previous);
}

void TASLink::FitToText() {
    if (!autoSize_)
        return;
    RECT rect{1, 0, width_ - 1, height_};
    {
        ui::WindowDC screen(nullptr);
        DrawLinkText(screen.get(), rect,
                     DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
    }
    const int newWidth = rect.right + 1;
    const int newHeight = rect.bottom;
    int newLeft = left_;
    if (alignment_ == TAlignment::taRightJustify)
        newLeft = left_ + width_ - newWidth;
    setBounds(newLeft, top_, newWidth, newHeight);
}

void TASLink::paint(HDC dc) {
    const RECT client{0, 0, width_, height_};
    if (!transparent_) {
        FillRect(dc, &client, colorBrush_.get(color_));
    } else if (hwnd()) {
        ui::paintParentBackground(hwnd(), dc, true);
    }
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT rect{1, 0, width_ - 1, height_};
    const UINT flags = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | drawTextAlign(alignment_);
    if (layout_ != tlTop) {
        DrawLinkText(dc, rect, flags | DT_CALCRECT);
        rect.left = 0;
        rect.right = width_;
        int shift = height_ - rect.bottom;
        if (layout_ == tlCenter)
            shift /= 2; // rounds toward zero
        OffsetRect(&rect, 0, shift);
    }
    DrawLinkText(dc, rect, flags);
    if (showFocus_ && hasFocus_ && (!hwnd() || ui::focusCuesShown(hwnd()))) {
        const COLORREF oldText = SetTextColor(dc, ui::resolve(fontColor_));
        DrawFocusRect(dc, &client);
        SetTextColor(dc, oldText);
    }
    SetBkMode(dc, oldMode);
}

void TASLink::mouseEnter() {
    savedFontColor_ = fontColor_;
    fontColor_ = linkColor_;
    repaint();
}

void TASLink::mouseLeave() {
    fontColor_ = savedFontColor_;
    repaint();
}

void TASLink::click() {
    if (onClick_)
        onClick_(onClickContext_, *this);
    OpenURL();
    repaint();
}

void TASLink::focusChanged(HWND newFocus) {
    const bool now = focusControl_ != nullptr && newFocus == focusControl_;
    if (!ui::storeChanged(hasFocus_, now))
        return;
    if (showFocus_)
        repaint();
}

bool TASLink::acceleratorChar(wchar_t ch) {
    if (!focusControl_ || !enabled_ || !showAccelChar_)
        return false;
    const wchar_t accel = acceleratorOf(caption_);
    if (!accel || !sameLetter(accel, ch))
        return false;
    if (!IsWindowVisible(focusControl_) || !IsWindowEnabled(focusControl_))
        return false;
    SetFocus(focusControl_);
    return true;
}

bool TASLink::routeAccelerator(HWND root, wchar_t ch) {
    std::pair<wchar_t, bool> request{ch, false};
    EnumChildWindows(root, &offerAccelerator, reinterpret_cast<LPARAM>(&request));
    return request.second;
}

LRESULT TASLink::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT painted = 0;
    if (ui::handlePaintMessage(hwnd(), msg, wParam, painted, [this](HDC dc) { paint(dc); }))
        return painted;
    switch (msg) {
    case WM_SETCURSOR:
        SetCursor(cursor_);
        return TRUE;
    case WM_MOUSEMOVE:
        if (!hovering_) {
            hovering_ = true;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&track);
            mouseEnter();
        }
        return 0;
    case WM_MOUSELEAVE:
        if (hovering_) {
            hovering_ = false;
            mouseLeave();
        }
        return 0;
    case WM_LBUTTONDOWN:
        SetCapture(hwnd());
        return 0;
    case WM_LBUTTONUP:
        if (ui::endClick(hwnd(), lParam))
            click();
        return 0;
    case WM_GETDLGCODE:
        return dialogCode(reinterpret_cast<const MSG*>(lParam));
    case WM_KEYDOWN:
        if (wParam == VK_RETURN && tabStop_) {
            click();
            return 0;
        }
        break;
    case WM_UPDATEUISTATE:
        repaint();
        break;
    default:
        break;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace components
