#pragma once
// A main window of the program made in the test's own process, with nothing loaded.
#include "app/SettingsFrm.h"
#include "tests/e2e/Driver.h"

#include <gtest/gtest.h>

namespace apptest {

struct MainWindowFixture : ::testing::Test {
    app::TSettingsFrm form;
    HWND window = nullptr;
    void SetUp() override {
        form.create({L"nothing"});
        window = form.hwnd();
        ASSERT_NE(window, nullptr);
    }
    HWND control(int id) { return e2e::findControl(window, id); }
};

} // namespace apptest
