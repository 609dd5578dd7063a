#pragma once
// TScrollingCreditsBox: a panel whose child controls roll upward through it without end.
// Each child that leaves the top is put back in line below the last one of the ring; the
// last one carries the mark (its Tag is 1). A worker thread, TAiziet, paces the scroll:
// it sleeps, then has the GUI thread run one ScrollTick and waits for it.
#include <windows.h>

#include <memory>
#include <string>

#include "engine/Handles.h"
#include "ui/Color.h"
#include "ui/Dpi.h"
#include "ui/Gdi.h"
#include "ui/GuiCall.h"
#include "ui/Window.h"

namespace components {

// The general-purpose integer every control carries, kept as a window property.
int tagOf(HWND control);
void setTag(HWND control, int tag);

class TScrollingCreditsBox;

// The worker. It touches no box state: it sleeps Delay, hands Step to the GUI thread
// through the box's channel and waits, until the box tells it to stop.
class TAiziet {
public:
    using StepFn = void (*)(void* box);
    // Starts the worker; returns its thread (the caller owns the handle) or null.
    static HANDLE start(const ui::GuiChannel& channel, HANDLE stopEvent, int delay, StepFn step,
                        void* box);

    int Delay;
    StepFn Step;

private:
    TAiziet(const ui::GuiChannel& channel, HANDLE stopEvent, int delay, StepFn step, void* box);
    static DWORD WINAPI execute(void* self);

    const ui::GuiChannel& channel_;
    engine::FileHandle stop_; // its own duplicate of the box's stop event
    void* box_;
};

class TScrollingCreditsBox : public ui::Window {
public:
    TScrollingCreditsBox() = default;
    // Stops a running worker and waits for it (pumping its calls), so no tick ever runs
    // on a destroyed box and closing the program never hangs on it.
    ~TScrollingCreditsBox() override;

    // Creates the box's window (161 x 129 when width and height are left out).
    HWND create(HWND parent, int x, int y, int width = 161, int height = 129, int id = 0);

    int ScrollStep() const { return scrollStep_; }
    void setScrollStep(int value);
    int CompSpace() const { return compSpace_; }
    void setCompSpace(int value);
    bool Paused() const { return paused_; }
    void setPaused(bool value);
    int TimeDelay() const { return timeDelay_; }
    void setTimeDelay(int value); // a running worker keeps its delay
    bool Started() const { return started_; }
    ui::Color color() const { return color_; }
    void setColor(ui::Color value);
    // The DPI the box is drawn at: ScrollStep and CompSpace are pixels at 96 DPI and grow
    // with it, so the credits climb as fast and stand as far apart on any screen.
    void setDpi(UINT dpi) { dpi_ = dpi; }
    UINT dpi() const { return dpi_; }
    // A single border (true) or none.
    bool singleBorder() const { return singleBorder_; }
    void setSingleBorder(bool value);
    void setHint(const std::wstring& hint);
    const std::wstring& hint() const { return hint_; }

    // Lays the children out below the box and starts the worker; later calls do nothing.
    void StartScrolling();
    // One step of the scroll; the worker runs it on the GUI thread.
    void ScrollTick();
    // True while a worker thread of this box is alive.
    bool workerRunning() const;

    int boxHeight() const;

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void stopWorker();
    void repaint();
    void paint(HDC dc);
    // The colour the box is painted in: its own, or the system's window colour under high
    // contrast.
    ui::Color surfaceColor() const;
    static void tick(void* box) { static_cast<TScrollingCreditsBox*>(box)->ScrollTick(); }

    int scrollStep_ = 1;
    int compSpace_ = 10;
    bool paused_ = false;
    int timeDelay_ = 30;
    bool started_ = false;
    UINT dpi_ = ui::kBaseDpi;
    ui::Color color_ = ui::clBtnFace;
    bool singleBorder_ = false;
    std::wstring hint_;
    ui::ColorBrush brush_;
    HWND tooltip_ = nullptr;

    std::unique_ptr<ui::GuiChannel> channel_; // made with the worker, on the GUI thread
    engine::FileHandle stopEvent_;
    engine::FileHandle worker_;
};

} // namespace components
