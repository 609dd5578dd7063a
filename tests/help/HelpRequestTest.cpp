// Which help the main window asks for, with Wine reporting Windows XP (WinHelp) and
// Windows 10 (HTML Help): help_request_probe makes the window under that version and
// records the requests instead of making them.
// Argument: help_request_probe.exe.
#include "tests/e2e/Driver.h"
#include "tests/help/WineAppDefaults.h"
#include "tests/support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The probe's requests, one a line, under Windows `version`.
std::vector<std::wstring> requestsUnder(const wchar_t* version) {
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
    return testsupport::utf16Lines(out);
}

// The help files lie beside the program, and it asks for them by their full path.
std::wstring besideProbe(const wchar_t* name) {
    const std::wstring probe = e2e::argumentEndingWith(L"help_request_probe.exe");
    return probe.substr(0, probe.find_last_of(L'\\') + 1) + name;
}

TEST(HelpRequests, BeforeVistaTheProgramAsksWinHelpAndFallsBackOnHtmlHelp) {
    const std::wstring hlp = besideProbe(L"Tidyvane.hlp"), chm = besideProbe(L"Tidyvane.chm");
    const std::vector<std::wstring> expected = {
        L"winhlp32 HELP_CONTENTS 0 " + hlp, // "&Help"
        L"winhlp32 HELP_CONTEXT 5 " + hlp,  // F1 on "Recycle Bin"
        L"winhlp32 HELP_CONTENTS 0 " + hlp, // F1 on "&Go!", which has no topic
        // "&Help" when neither viewer opens the help: each is tried, and then the user told.
        L"winhlp32 HELP_CONTENTS 0 " + hlp,
        L"hhctrl HH_DISPLAY_TOC 0 " + chm,
        L"message: Information: The help file Tidyvane.hlp could not be opened.",
        // The window closes: both viewers were asked, both are closed.
        L"winhlp32 HELP_QUIT 0 " + hlp,
        L"hhctrl HH_CLOSE_ALL 0 ",
    };
    EXPECT_EQ(requestsUnder(L"winxp"), expected);
}

TEST(HelpRequests, FromVistaOnTheProgramAsksHtmlHelpOnly) {
    const std::wstring chm = besideProbe(L"Tidyvane.chm");
    const std::vector<std::wstring> expected = {
        L"hhctrl HH_DISPLAY_TOC 0 " + chm,
        L"hhctrl HH_HELP_CONTEXT 5 " + chm,
        L"hhctrl HH_DISPLAY_TOC 0 " + chm,
        L"hhctrl HH_DISPLAY_TOC 0 " + chm,
        L"message: Information: The help file Tidyvane.chm could not be opened.",
        L"hhctrl HH_CLOSE_ALL 0 ",
    };
    EXPECT_EQ(requestsUnder(L"win10"), expected);
}

} // namespace
