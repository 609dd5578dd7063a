#include "app/HelpFile.h"

#include "app/Application.h"
#include "app/MessageDialog.h"
#include "engine/FolderHandle.h"

// For the HH_ command numbers only: HtmlHelpW is looked up at run time, so the program
// starts where hhctrl.ocx is missing.
#include <htmlhelp.h>
#include <versionhelpers.h>

#include <utility>
#include <vector>

namespace app {

namespace {

// The folder part of an exe path, with its closing backslash, followed by `fileName`;
// "" when the path has no folder part.
std::wstring besideExe(const std::wstring& exePath, const std::wstring& fileName) {
    const auto slash = exePath.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash + 1) + fileName;
}

std::wstring fileNameOf(const std::wstring& path) {
    return path.substr(path.find_last_of(L"\\/:") + 1);
}

// `name` in a Windows folder (GetWindowsDirectoryW, GetSystemDirectoryW); "" without one.
std::wstring inFolder(engine::SystemFolderGetter folderOf, const wchar_t* name) {
    const std::wstring folder = engine::SystemFolder(folderOf);
    return folder.empty() ? std::wstring() : folder + L"\\" + name;
}

bool callWinHelp(HWND owner, const HelpCall& call) {
    if (WinHelpW(owner, call.file.c_str(), call.command, call.data)) {
        return true;
    }
    // Wine starts its viewer and looks for the viewer's window before the viewer has made
    // it, so the first request can fail. Wait for the window briefly and ask once more, but
    // only where the viewer is installed: there is nothing to wait for otherwise.
    const std::wstring viewer = inFolder(GetWindowsDirectoryW, L"winhlp32.exe");
    if (call.command == HELP_QUIT ||
        GetFileAttributesW(viewer.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    for (int i = 0; i < 30 && FindWindowW(L"MS_WINHELP", nullptr) == nullptr; ++i) {
        Sleep(100);
    }
    return WinHelpW(owner, call.file.c_str(), call.command, call.data) != FALSE;
}

// hhctrl.ocx, from the system folder (never a copy beside the exe), loaded on first use.
// The viewer's windows run on the calling thread, so it stays loaded until the program ends.
class HtmlHelpLibrary {
public:
    using Function = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);

    HtmlHelpLibrary() = default;
    HtmlHelpLibrary(const HtmlHelpLibrary&) = delete;
    HtmlHelpLibrary& operator=(const HtmlHelpLibrary&) = delete;
    ~HtmlHelpLibrary() {
        if (module_) {
            FreeLibrary(module_);
        }
    }

    // HtmlHelpW, loading the library unless `loadIfNeeded` is false; null when unavailable.
    Function function(bool loadIfNeeded) {
        if (!module_ && loadIfNeeded) {
            const std::wstring path = inFolder(GetSystemDirectoryW, L"hhctrl.ocx");
            module_ = path.empty() ? nullptr : LoadLibraryW(path.c_str());
            function_ = module_ ? reinterpret_cast<Function>(
                                      reinterpret_cast<void*>(GetProcAddress(module_, "HtmlHelpW")))
                                : nullptr;
        }
        return function_;
    }

private:
    HMODULE module_ = nullptr;
    Function function_ = nullptr;
};

HtmlHelpLibrary& htmlHelpLibrary() {
    static HtmlHelpLibrary library;
    return library;
}

bool callHtmlHelp(HWND owner, const HelpCall& call) {
    if (call.command == HH_CLOSE_ALL) {
        // Nothing to close when the library was never loaded.
        if (const auto htmlHelp = htmlHelpLibrary().function(false)) {
            htmlHelp(nullptr, nullptr, HH_CLOSE_ALL, 0);
        }
        return true;
    }
    const auto htmlHelp = htmlHelpLibrary().function(true);
    return htmlHelp && htmlHelp(owner, call.file.c_str(), call.command, call.data) != nullptr;
}

HelpCallFunction helpCall = CallHelpViewer;

// The viewers ShowHelp has asked, to be closed with the program.
bool winHelpAsked = false;
bool htmlHelpAsked = false;

HelpCall requestFor(HelpViewer viewer, DWORD topic) {
    const std::wstring file = HelpFilePathFor(viewer);
    if (viewer == HelpViewer::WinHlp32) {
        return topic ? HelpCall{viewer, file, HELP_CONTEXT, topic}
                     : HelpCall{viewer, file, HELP_CONTENTS, 0};
    }
    return topic ? HelpCall{viewer, file, HH_HELP_CONTEXT, topic}
                 : HelpCall{viewer, file, HH_DISPLAY_TOC, 0};
}

} // namespace

std::wstring HelpFilePath() {
    const std::wstring& fileName = TApplication::HelpFile();
    if (fileName.empty()) {
        return {};
    }
    // GetModuleFileNameW truncates silently when the buffer is short: grow until it fits.
    // No path means no help, never a bare name that a viewer would search for.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return besideExe(std::wstring(buffer.data(), n), fileName);
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

HelpViewer SystemHelpViewer() {
    return IsWindowsVistaOrGreater() ? HelpViewer::HhCtrl : HelpViewer::WinHlp32;
}

std::wstring HelpFilePathFor(HelpViewer viewer) {
    std::wstring path = HelpFilePath();
    if (viewer == HelpViewer::HhCtrl && !path.empty()) {
        const auto dot = path.find_last_of(L'.');
        const auto slash = path.find_last_of(L"\\/:");
        path = (dot != std::wstring::npos && dot > slash ? path.substr(0, dot) : path) + L".chm";
    }
    return path;
}

bool CallHelpViewer(HWND owner, const HelpCall& call) {
    return call.viewer == HelpViewer::WinHlp32 ? callWinHelp(owner, call)
                                               : callHtmlHelp(owner, call);
}

HelpCallFunction SetHelpCall(HelpCallFunction call) {
    return std::exchange(helpCall, call ? call : CallHelpViewer);
}

void ShowHelp(HWND owner, DWORD topic) {
    const HelpViewer preferred = SystemHelpViewer();
    const std::wstring preferredFile = HelpFilePathFor(preferred);
    if (preferredFile.empty()) {
        return; // the program names no help file
    }
    // Windows before Vista may have HTML Help too; from Vista on, WinHelp is only a stub
    // that says it is not included.
    std::vector<HelpViewer> viewers{preferred};
    if (preferred == HelpViewer::WinHlp32) {
        viewers.push_back(HelpViewer::HhCtrl);
    }
    for (HelpViewer viewer : viewers) {
        (viewer == HelpViewer::WinHlp32 ? winHelpAsked : htmlHelpAsked) = true;
        if (helpCall(owner, requestFor(viewer, topic))) {
            return;
        }
    }
    ShowMessage(owner, MessageKind::Information,
                L"The help file " + fileNameOf(preferredFile) + L" could not be opened.");
}

void CloseHelp(HWND owner) {
    if (std::exchange(winHelpAsked, false)) {
        helpCall(owner,
                 {HelpViewer::WinHlp32, HelpFilePathFor(HelpViewer::WinHlp32), HELP_QUIT, 0});
    }
    if (std::exchange(htmlHelpAsked, false)) {
        helpCall(owner, {HelpViewer::HhCtrl, L"", HH_CLOSE_ALL, 0});
    }
}

} // namespace app
