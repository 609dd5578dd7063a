#pragma once
// TSplashFrm: the borderless, topmost picture that covers an interactive start and hides
// itself 2.5 seconds later, on the first tick of its timer that the message loop delivers.
#include <windows.h>

#include "ui/Dpi.h"
#include "ui/Gdi.h"
#include "ui/Window.h"

namespace app {

class TSplashFrm : public ui::Window {
public:
    static constexpr UINT kTimerInterval = 2500;
    static constexpr int kCreationWidth = 328;
    static constexpr int kCreationHeight = 220;

    // Creates the splash (hidden) owned by `owner`; its timer runs from now on.
    explicit TSplashFrm(HWND owner);

    // The interactive start: a splash owned by `owner` is made and shown, and nobody keeps
    // it; it frees itself when its window goes, which the owner's destruction brings.
    static void createAndShow(HWND owner);

    // Shows it above every window, centred, and paints it at once.
    void show();
    // Sizes the window to the picture.
    void FormShow();
    // Closes (hides) the splash.
    void Timer1Timer();
    // The form's font, as its description gives it (the picture holds all it shows).
    HFONT font() const { return font_; }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void destroyed() override;

private:
    void paint(HDC dc);
    // The picture at `dpi`: the window is sized to it when shown.
    void setDpi(UINT dpi);
    ui::Bitmap image_;
    ui::Bitmap imageAtDpi_; // empty at 96 DPI, where image_ shows as it is
    int imageWidth_ = 0;
    int imageHeight_ = 0;
    UINT dpi_ = ui::kBaseDpi;
    HFONT font_ = nullptr;
    bool freeWithWindow_ = false;
};

} // namespace app
