#pragma once
// A test that drives brightsweep.exe from outside: the program's path comes from the
// command line, and its settings key is put back as it was at the end.
#include "tests/e2e/Driver.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace e2e {

struct ProgramTest : ::testing::Test {
    explicit ProgramTest(
        testsupport::RegistryGuard::Start start = testsupport::RegistryGuard::Start::AsItIs)
        : guard(testsupport::kSettingsKey, start) {}
    void SetUp() override { ASSERT_FALSE(exe.empty()) << L"the program's path is not given"; }

    testsupport::RegistryGuard guard;
    std::wstring exe = programPath();
};

} // namespace e2e
