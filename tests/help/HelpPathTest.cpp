// The program opens its help file by full path beside the exe, never through the
// current folder (which WinHelp would search for a bare file name).
#include "app/Application.h"
#include "app/HelpFile.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpFile, IsBesideTheExeWhateverTheCurrentFolder) {
    char exe[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, exe, MAX_PATH), 0u);
    std::string expected = exe;
    expected = expected.substr(0, expected.rfind('\\') + 1) + "Tidyvane.hlp";

    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    testsupport::TempTree elsewhere("help-cwd");
    elsewhere.file("Tidyvane.hlp", "a decoy in the current folder");
    ASSERT_TRUE(SetCurrentDirectoryA(elsewhere.path().c_str()));
    const std::string path = app::HelpFilePath();
    SetCurrentDirectoryA(previous);

    EXPECT_EQ(path, expected);
    EXPECT_EQ(path.substr(1, 2), ":\\") << path; // absolute, on a drive
}

TEST(HelpFile, NameGoesAfterTheExeFolderOnly) {
    EXPECT_EQ(app::besideExe("C:\\Program Files\\Bs\\brightsweep.exe", "Tidyvane.hlp"),
              "C:\\Program Files\\Bs\\Tidyvane.hlp");
    EXPECT_EQ(app::besideExe("C:\\brightsweep.exe", "Tidyvane.hlp"), "C:\\Tidyvane.hlp");
    EXPECT_EQ(app::besideExe("\\\\server\\share\\a.b\\bs.exe", "x.hlp"),
              "\\\\server\\share\\a.b\\x.hlp");
    EXPECT_EQ(app::besideExe("brightsweep.exe", "Tidyvane.hlp"), ""); // no folder: no guess
}

TEST(HelpFile, MissingPathIsNotHandedToWinHelp) {
    EXPECT_FALSE(app::showHelp(nullptr, "", HELP_CONTENTS, 0));
}

} // namespace
