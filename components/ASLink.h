#pragma once
// TASLink: a text label that draws its caption with an optional drop shadow, shows a link
// colour while the pointer is over it and, when clicked, hands a URL made from its caption
// to the shell. It is a child window that paints its parent's background beneath itself
// when transparent, so the tiles of a bitmap panel show through.
#include <windows.h>

#include <string>

#include "components/Alignment.h"
#include "ui/Color.h"
#include "ui/Gdi.h"
#include "ui/Window.h"

namespace components {

enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TShadowPosition { spLeftTop, spLeftBottom, spRightBottom, spRightTop };
enum TURLType { utFile, utFtp, utGopher, utHttp, utHttps, utMailto, utNews, utTelnet, utWais };

const wchar_t* urlPrefix(TURLType type);

// The shell call behind ExecuteFile; replaceable so a test can see what the shell is handed.
using ShellExecuteFn = HINSTANCE(WINAPI*)(HWND owner, LPCWSTR verb, LPCWSTR file, LPCWSTR params,
                                          LPCWSTR directory, INT show);
// Installs `fn` (null: the real ShellExecuteW) and returns the previous one.
ShellExecuteFn setShellExecute(ShellExecuteFn fn);

// The version query behind the disabled look; replaceable so a test can be an old Windows.
using GetVersionFn = DWORD(WINAPI*)();
GetVersionFn setGetVersion(GetVersionFn fn);

// Hands `file` to the shell's default action, owned by the application's main window.
// Texts go whole, whatever their length: a cut URL would open the wrong page.
INT_PTR ExecuteFile(const std::wstring& file, const std::wstring& params,
                    const std::wstring& directory, int showCmd);

// Draws (or with DT_CALCRECT measures) `text` with its shadow; `rect` becomes the union of
// the text's and the shadow's rectangles. A shadow colour of clNone is not drawn.
void DrawShadowText(HDC dc, const wchar_t* text, int length, TShadowPosition pos,
                    COLORREF shadowColor, int shadowSize, UINT flags, RECT& rect);

class TASLink : public ui::Window {
public:
    TASLink();
    ~TASLink() override;

    // Creates the control's window at (x, y) with its current size (65 x 17 when new).
    HWND create(HWND parent, int x, int y, int id = 0);

    // Geometry (the window follows when it exists).
    int left() const { return left_; }
    int top() const { return top_; }
    int width() const { return width_; }
    int height() const { return height_; }
    void setBounds(int left, int top, int width, int height);
    void setTop(int top) { setBounds(left_, top, width_, height_); }

    const std::wstring& caption() const { return caption_; }
    void setCaption(const std::wstring& caption);
    // The font, and its colour, which the hover swaps.
    void setFont(const LOGFONTW& font);
    const LOGFONTW& font() const { return logFont_; }
    ui::Color fontColor() const { return fontColor_; }
    void setFontColor(ui::Color color);
    ui::Color color() const { return color_; }
    void setColor(ui::Color color);
    bool enabled() const { return enabled_; }
    void setEnabled(bool enabled);
    HCURSOR cursor() const { return cursor_; }

    TAlignment alignment() const { return alignment_; }
    void setAlignment(TAlignment value);
    bool autoSize() const { return autoSize_; }
    void setAutoSize(bool value);
    TTextLayout layout() const { return layout_; }
    void setLayout(TTextLayout value);
    ui::Color shadowColor() const { return shadowColor_; }
    void setShadowColor(ui::Color value);
    int shadowSize() const { return shadowSize_; }
    void setShadowSize(BYTE value);
    TShadowPosition shadowPos() const { return shadowPos_; }
    void setShadowPos(TShadowPosition value);
    bool wordWrap() const { return wordWrap_; }
    void setWordWrap(bool value);
    bool showAccelChar() const { return showAccelChar_; }
    void setShowAccelChar(bool value);
    bool showFocus() const { return showFocus_; }
    void setShowFocus(bool value);
    // A link that is a tab stop takes the focus itself, and Enter opens it then.
    bool tabStop() const { return tabStop_; }
    void setTabStop(bool value);
    bool transparent() const { return transparent_; }
    void setTransparent(bool value);
    ui::Color linkColor() const { return linkColor_; }
    void setLinkColor(ui::Color value) { linkColor_ = value; }
    bool urlEnabled() const { return urlEnabled_; }
    void setURLEnabled(bool value) { urlEnabled_ = value; }
    TURLType urlType() const { return urlType_; }
    void setURLType(TURLType value) { urlType_ = value; }
    bool urlTypeAdd() const { return urlTypeAdd_; }
    void setURLTypeAdd(bool value) { urlTypeAdd_ = value; }
    ui::Color savedFontColor() const { return savedFontColor_; }

    // The control that an accelerator focuses. The link is told when it is destroyed and
    // when it gains or loses the focus, so the reference never dangles.
    HWND focusControl() const { return focusControl_; }
    void setFocusControl(HWND control);
    bool hasFocus() const { return hasFocus_; }

    // Click handler run before the link opens (the library's OnClick).
    using ClickHandler = void (*)(void* context, TASLink& sender);
    void setOnClick(ClickHandler handler, void* context);

    // The URL a click would open ("" when the caption is empty).
    std::wstring url() const;
    // Hands the URL to the shell; true when the shell reports success.
    bool OpenURL();
    void DrawLinkText(HDC dc, RECT& rect, UINT flags);
    void FitToText();
    // Paints the whole control into `dc` (also what WM_PRINTCLIENT does).
    void paint(HDC dc);

    // Events the window receives; callable directly as well.
    void mouseEnter();
    void mouseLeave();
    void click();
    void focusChanged(HWND newFocus);
    // A character typed in the window; true when it was this link's accelerator and
    // the focus control took the focus.
    bool acceleratorChar(wchar_t ch);
    // Offers a typed character to every link among the descendants of `root`.
    static bool routeAccelerator(HWND root, wchar_t ch);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void repaint();
    void applyBounds();
    // The dialog keys the link handles itself (WM_GETDLGCODE for `msg`, may be null).
    LRESULT dialogCode(const MSG* msg) const;
    void rebuildFont();
    void unhookFocusControl();
    // Each link hooks its focus control under its own id, so two links can share one.
    UINT_PTR hookId() const { return reinterpret_cast<UINT_PTR>(this); }
    static LRESULT CALLBACK focusControlProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);

    HWND focusControl_ = nullptr;
    TAlignment alignment_ = TAlignment::taLeftJustify;
    bool autoSize_ = true;
    TTextLayout layout_ = tlTop;
    ui::Color shadowColor_ = ui::clBtnHighlight;
    BYTE shadowSize_ = 1;
    TShadowPosition shadowPos_ = spLeftTop;
    bool wordWrap_ = false;
    bool showAccelChar_ = true;
    bool showFocus_ = false;
    bool tabStop_ = false;
    bool hasFocus_ = false;
    bool urlEnabled_ = true;
    TURLType urlType_ = utMailto;
    bool urlTypeAdd_ = true;
    ui::Color savedFontColor_;
    ui::Color linkColor_ = ui::clBlue;

    bool transparent_ = true;
    int left_ = 0, top_ = 0, width_ = 65, height_ = 17;
    std::wstring caption_;
    LOGFONTW logFont_{};
    ui::Font font_;
    ui::Color fontColor_ = ui::clWindowText;
    ui::Color color_ = ui::clBtnFace;
    ui::ColorBrush colorBrush_;
    bool enabled_ = true;
    HCURSOR cursor_;
    bool hovering_ = false;
    ClickHandler onClick_ = nullptr;
    void* onClickContext_ = nullptr;
};

} // namespace components
