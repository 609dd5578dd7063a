// Which help the main window asks for, with Wine reporting Windows XP (WinHelp) and
// Windows 10 (HTML Help): help_request_probe makes the window under that version and
// records the requests instead of making them.
// Argument: help_request_probe.exe.
#include "engine/Utf8.h"
#include "tests/e2e/Driver.h"
#include "tests/help/WineAppDefaults.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

// The probe's requests, one a line, under Windows `version`.
std::vector<std::string> requestsUnder(const wchar_t* version) {
    const std::wstring probe = e2e::argumentEndingWith(L"help_request_probe.exe");
    if (probe.empty()) {
        ADD_FAILURE() << "pass help_request_probe.exe";
        return {};
    }
    helptest::WineAppDefaults defaults(L"help_request_probe.exe", version);
    testsupport::TempTree tree(L"help-requests");
    const std::wstring out = tree.at(L"requests.txt");
    e2e::Process program(probe, L"\"" + out + L"\"");
    EXPECT_EQ(program.waitForExit(30000), 0u);
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::path(out), std::ios::binary);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// The help files lie beside the program, and it asks for them by their full path.
std::string besideProbe(const char* name) {
    const std::wstring probe = e2e::argumentEndingWith(L"help_request_probe.exe");
    return engine::ToUtf8(probe.substr(0, probe.find_last_of(L'\\') + 1)) + name;
}

TEST(HelpRequests, BeforeVistaTheProgramAsksWinHelpAndFallsBackOnHtmlHelp) {
    const std::string hlp = besideProbe("Tidyvane.hlp"), chm = besideProbe("Tidyvane.chm");
    const std::vector<std::string> expected = {
        "winhlp32 HELP_CONTENTS 0 " + hlp, // "&Help"
        "winhlp32 HELP_CONTEXT 5 " + hlp,  // F1 on "Recycle Bin"
        "winhlp32 HELP_CONTENTS 0 " + hlp, // F1 on "&Go!", which has no topic
        // "&Help" when neither viewer opens the help: each is tried, and then the user told.
        "winhlp32 HELP_CONTENTS 0 " + hlp,
        "hhctrl HH_DISPLAY_TOC 0 " + chm,
        "message: Information: The help file Tidyvane.hlp could not be opened.",
        // The window closes: both viewers were asked, both are closed.
        "winhlp32 HELP_QUIT 0 " + hlp,
        "hhctrl HH_CLOSE_ALL 0 ",
    };
    EXPECT_EQ(requestsUnder(L"winxp"), expected);
}

TEST(HelpRequests, FromVistaOnTheProgramAsksHtmlHelpOnly) {
    const std::string chm = besideProbe("Tidyvane.chm");
    const std::vector<std::string> expected = {
        "hhctrl HH_DISPLAY_TOC 0 " + chm,
        "hhctrl HH_HELP_CONTEXT 5 " + chm,
        "hhctrl HH_DISPLAY_TOC 0 " + chm,
        "hhctrl HH_DISPLAY_TOC 0 " + chm,
        "message: Information: The help file Tidyvane.chm could not be opened.",
        "hhctrl HH_CLOSE_ALL 0 ",
    };
    EXPECT_EQ(requestsUnder(L"win10"), expected);
}

} // namespace
