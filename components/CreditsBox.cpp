#include "components/CreditsBox.h"
#include "ui/ColorScheme.h"
#include "ui/Property.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

namespace components {

namespace {

constexpr const wchar_t* kBoxClass = L"Brightsweep.CreditsBox";
constexpr const wchar_t* kTagProp = L"Brightsweep.Tag";

std::vector<HWND> childrenOf(HWND box) {
    std::vector<HWND> children;
    for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    return children;
}

void moveTop(HWND child, int top) {
    const RECT r = ui::boundsInParent(child);
    SetWindowPos(child, nullptr, r.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

int tagOf(HWND control) {
    return static_cast<int>(reinterpret_cast<INT_PTR>(GetPropW(control, kTagProp)));
}

void setTag(HWND control, int tag) {
    if (tag)
        SetPropW(control, kTagProp, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(tag)));
    else
        RemovePropW(control, kTagProp);
}

// --- worker ---

TAiziet::TAiziet(const ui::GuiChannel& channel, HANDLE stopEvent, int delay, StepFn step, void* box)
    : Delay(delay), Step(step), channel_(channel), box_(box) {
    HANDLE copy = nullptr;
    DuplicateHandle(GetCurrentProcess(), stopEvent, GetCurrentProcess(), &copy, 0, FALSE,
                    DUPLICATE_SAME_ACCESS);
    stop_.reset(copy);
}

HANDLE TAiziet::start(const ui::GuiChannel& channel, HANDLE stopEvent, int delay, StepFn step,
                      void* box) {
    auto* worker = new TAiziet(channel, stopEvent, delay, step, box);
    // Everything the worker reads is set before its thread starts.
    HANDLE thread = CreateThread(nullptr, 0, &TAiziet::execute, worker, 0, nullptr);
    if (!thread)
        delete worker;
    return thread;
}

DWORD WINAPI TAiziet::execute(void* param) {
    auto* self = static_cast<TAiziet*>(param);
    // Sleeping on the stop event instead of Sleep lets a closing box end the worker at once.
    const DWORD delay = self->Delay > 0 ? static_cast<DWORD>(self->Delay) : 0;
    while (WaitForSingleObject(self->stop_.get(), delay) == WAIT_TIMEOUT) {
        if (!self->channel_.run(self->Step, self->box_))
            break;
    }
    delete self; // the worker frees itself
    return 0;
}

// --- box ---

TScrollingCreditsBox::~TScrollingCreditsBox() {
    // The window's own end stops the worker and closes the hint; a box that never had a
    // window may still have started one.
    destroyWindow();
    stopWorker();
}

HWND TScrollingCreditsBox::create(HWND parent, int x, int y, int width, int height, int id) {
    registerClass(kBoxClass, CS_DBLCLKS, nullptr, nullptr);
    const DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | (singleBorder_ ? WS_BORDER : 0);
    return Window::create(kBoxClass, 0, style, L"", x, y, width, height, parent,
                          static_cast<UINT_PTR>(id));
}

int TScrollingCreditsBox::boxHeight() const {
    RECT r{};
    GetWindowRect(hwnd(), &r);
    return r.bottom - r.top;
}

void TScrollingCreditsBox::repaint() {
    if (hwnd())
        InvalidateRect(hwnd(), nullptr, TRUE);
}

void TScrollingCreditsBox::setScrollStep(int value) {
    if (!ui::storeChanged(scrollStep_, value))
        return;
    repaint();
}

void TScrollingCreditsBox::setCompSpace(int value) {
    if (!ui::storeChanged(compSpace_, value))
        return;
    repaint();
}

void TScrollingCreditsBox::setPaused(bool value) {
    if (!ui::storeChanged(paused_, value))
        return;
    repaint();
}

void TScrollingCreditsBox::setTimeDelay(int value) {
    timeDelay_ = value;
}

void TScrollingCreditsBox::setColor(ui::Color value) {
    if (!ui::storeChanged(color_, value))
        return;
    repaint();
}

void TScrollingCreditsBox::setSingleBorder(bool value) {
    if (!ui::storeChanged(singleBorder_, value))
        return;
    if (hwnd()) {
        LONG style = GetWindowLongW(hwnd(), GWL_STYLE);
        style = value ? (style | WS_BORDER) : (style & ~WS_BORDER);
        SetWindowLongW(hwnd(), GWL_STYLE, style);
        SetWindowPos(hwnd(), nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    }
}

void TScrollingCreditsBox::setHint(const std::wstring& hint) {
    if (!ui::storeChanged(hint_, hint))
        return;
    if (!hwnd())
        return;
    if (!tooltip_) {
        tooltip_ =
            CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                            CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd(),
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    if (!tooltip_)
        return;
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V1_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = hwnd();
    info.uId = reinterpret_cast<UINT_PTR>(hwnd());
    info.lpszText = const_cast<wchar_t*>(hint_.c_str());
    SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void TScrollingCreditsBox::StartScrolling() {
    if (started_)
        return;
    started_ = true;
    const auto children = childrenOf(hwnd());
    if (!children.empty()) {
        int top = boxHeight();
        for (HWND child : children) {
            ShowWindow(child, SW_SHOWNA);
            moveTop(child, top);
            setTag(child, 0);
            const RECT r = ui::boundsInParent(child);
            top = r.bottom + ui::scale(compSpace_, dpi_);
        }
        setTag(children.back(), 1);
    }
    channel_ = std::make_unique<ui::GuiChannel>();
    stopEvent_.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    worker_.reset(
        TAiziet::start(*channel_, stopEvent_.get(), timeDelay_, &TScrollingCreditsBox::tick, this));
}

void TScrollingCreditsBox::ScrollTick() {
    if (paused_ || !hwnd())
        return;
    // Moves keep the z-order, so one listing serves the whole tick.
    const auto children = childrenOf(hwnd());
    const int step = ui::scale(scrollStep_, dpi_);
    if (step != 0) {
        std::vector<int> tops;
        for (HWND child : children)
            tops.push_back(ui::boundsInParent(child).top);
        // Move the drawn pixels and the children together; only the uncovered strip is
        // repainted.
        ScrollWindowEx(hwnd(), 0, -step, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE | SW_ERASE | SW_SCROLLCHILDREN);
        // A box that cannot be drawn (hidden, minimised) scrolls no pixels and, under
        // Wine, no children either; they still move.
        for (std::size_t i = 0; i < children.size(); ++i)
            if (ui::boundsInParent(children[i]).top == tops[i])
                moveTop(children[i], tops[i] - step);
    }
    for (std::size_t i = 0; i < children.size(); ++i) {
        const RECT r = ui::boundsInParent(children[i]);
        if (r.bottom >= 0)
            continue;
        auto marked =
            std::find_if(children.begin(), children.end(), [](HWND c) { return tagOf(c) != 0; });
        // Without a mark the child goes below the lowest child instead.
        if (marked == children.end())
            marked = std::max_element(children.begin(), children.end(), [](HWND a, HWND b) {
                return ui::boundsInParent(a).bottom < ui::boundsInParent(b).bottom;
            });
        const RECT m = ui::boundsInParent(*marked);
        moveTop(children[i], m.bottom + (i == 0 ? boxHeight() : ui::scale(compSpace_, dpi_)));
        for (HWND c : children)
            setTag(c, 0);
        setTag(children[i], 1);
    }
}

bool TScrollingCreditsBox::workerRunning() const {
    return worker_.valid() && WaitForSingleObject(worker_.get(), 0) == WAIT_TIMEOUT;
}

void TScrollingCreditsBox::stopWorker() {
    if (channel_)
        channel_->close();
    if (stopEvent_.valid())
        SetEvent(stopEvent_.get());
    if (worker_.valid())
        ui::waitForThread(worker_.get());
    worker_.close();
    channel_.reset();
}

ui::Color TScrollingCreditsBox::surfaceColor() const {
    return ui::highContrast() ? ui::sysColor(COLOR_WINDOW) : color_;
}

void TScrollingCreditsBox::paint(HDC dc) {
    RECT client;
    GetClientRect(hwnd(), &client);
    FillRect(dc, &client, brush_.get(surfaceColor()));
}

LRESULT TScrollingCreditsBox::handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        paint(reinterpret_cast<HDC>(wParam));
        return 1;
    case WM_PAINT: {
        ui::PaintDC dc(hwnd());
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_CTLCOLORSTATIC: {
        // Labels in the box are transparent: they take the box's colour, and the text
        // colour that goes with it.
        HDC dc = reinterpret_cast<HDC>(wParam);
        const ui::Color surface = surfaceColor();
        SetBkMode(dc, TRANSPARENT);
        SetBkColor(dc, ui::resolve(surface));
        SetTextColor(dc, ui::textColorOn(surface));
        return reinterpret_cast<LRESULT>(brush_.get(surface));
    }
    case WM_DESTROY:
        stopWorker();
        if (tooltip_)
            DestroyWindow(tooltip_);
        tooltip_ = nullptr;
        break;
    default:
        break;
    }
    return Window::handleMessage(msg, wParam, lParam);
}

} // namespace components
