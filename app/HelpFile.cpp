#include "app/HelpFile.h"

#include "app/Application.h"

#include <vector>

namespace app {

namespace {
// The folder part of an exe path, with its closing backslash, followed by `fileName`;
// "" when the path has no folder part.
std::wstring besideExe(const std::wstring& exePath, const std::wstring& fileName) {
    const auto slash = exePath.find_last_of(L"\\/:");
    return slash == std::wstring::npos ? std::wstring() : exePath.substr(0, slash + 1) + fileName;
}
} // namespace

std::wstring HelpFilePath() {
    const std::wstring& fileName = TApplication::HelpFile();
    if (fileName.empty()) {
        return {};
    }
    // GetModuleFileNameA truncates silently when the buffer is short: grow until it fits.
    // No path means no help, never a bare name that WinHelp would search for.
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

bool showHelp(HWND owner, const std::wstring& helpFile, UINT command, ULONG_PTR data) {
    if (helpFile.empty()) {
        return false;
    }
    if (WinHelpW(owner, helpFile.c_str(), command, data)) {
        return true;
    }
    // Wine starts its viewer and looks for the viewer's window before the viewer has made
    // it, so the first request can fail. Wait for the window briefly and ask once more.
    for (int i = 0; i < 30 && FindWindowW(L"MS_WINHELP", nullptr) == nullptr; ++i) {
        Sleep(100);
    }
    return WinHelpW(owner, helpFile.c_str(), command, data) != FALSE;
}

} // namespace app
