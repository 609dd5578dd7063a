// The end of a window object: a derived class that destroys its window in its own
// destructor still sees its WM_DESTROY with all its members in place.
#include "tests/face/GuiTestHelpers.h"
#include "ui/Window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class Recorder : public ui::Window {
public:
    explicit Recorder(std::vector<std::wstring>& log) : log_(log) {}
    ~Recorder() override { destroyWindow(); }
    HWND make(HWND parent) {
        registerClass(L"Test.Recorder");
        return create(L"Test.Recorder", 0, WS_CHILD, L"", 0, 0, 10, 10, parent, 1);
    }

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_DESTROY)
            log_.push_back(name_); // a member: the whole object must still be there
        return Window::handleMessage(msg, wParam, lParam);
    }

private:
    std::vector<std::wstring>& log_;
    std::wstring name_ = L"recorder";
};

TEST(Window, ADerivedWindowSeesItsDestroyWhenItsObjectGoesFirst) {
    facetest::Host host(facetest::makeStaticHost(100, 100));
    std::vector<std::wstring> log;
    HWND window = nullptr;
    {
        Recorder recorder(log);
        window = recorder.make(host);
        ASSERT_TRUE(window);
    }
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(log, std::vector<std::wstring>{L"recorder"});
}

} // namespace
