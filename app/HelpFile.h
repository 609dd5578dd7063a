// Opening the help. Windows before Vista show the WinHelp file beside the exe; Windows Vista
// and later no longer include WinHelp, so there the same help opens in HTML Help from the
// .chm file of the same name beside it. Both are opened by their full path: a viewer would
// otherwise look for a bare name in the current folder and along the path.
#pragma once

#include <windows.h>

#include <string>

namespace app {

// The viewers by their programs: WinHelp's winhlp32.exe, HTML Help's hhctrl.ocx.
enum class HelpViewer { WinHlp32, HhCtrl };

// The viewer the system has: WinHelp before Windows Vista, HTML Help from then on.
HelpViewer SystemHelpViewer();

// The full path of the help file for `viewer`: HelpFilePath() for WinHelp, the same with
// ".chm" for HTML Help; "" when there is no help file.
std::wstring HelpFilePathFor(HelpViewer viewer);

// One request to a viewer: the arguments of WinHelpW (HELP_CONTENTS, HELP_CONTEXT,
// HELP_QUIT) or of HtmlHelpW (HH_DISPLAY_TOC, HH_HELP_CONTEXT, HH_CLOSE_ALL; no file for the
// last).
struct HelpCall {
    HelpViewer viewer;
    std::wstring file;
    UINT command;
    ULONG_PTR data;
};
// Hands one request to its viewer; true when the viewer took it. ShowHelp and CloseHelp
// ask through a replaceable function, so a test can see their requests: SetHelpCall
// returns the function it replaces; null puts CallHelpViewer back.
bool CallHelpViewer(HWND owner, const HelpCall& call);
using HelpCallFunction = bool (*)(HWND owner, const HelpCall& call);
HelpCallFunction SetHelpCall(HelpCallFunction call);

// Shows the help at topic number `topic`, or at its contents for 0: in the system's viewer,
// else (before Vista) in HTML Help. When neither opens it, an "Information" box owned by
// `owner` says so.
void ShowHelp(HWND owner, DWORD topic);
// Closes the viewers that ShowHelp asked, as the program ends.
void CloseHelp(HWND owner);

} // namespace app
