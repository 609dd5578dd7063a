#include "app/HelpFile.h"

#include "app/Application.h"

#include <vector>

namespace app {

namespace {
// The folder part of an exe path, with its closing backslash, followed by `fileName`;
// "" when the path has no folder part.
std::string besideExe(const std::string& exePath, const std::string& fileName) {
    const auto slash = exePath.find_last_of("\\/:");
    return slash == std::string::npos ? std::string() : exePath.substr(0, slash + 1) + fileName;
}
} // namespace

std::string HelpFilePath() {
    const std::string& fileName = TApplication::HelpFile();
    if (fileName.empty()) {
        return {};
    }
    // GetModuleFileNameA truncates silently when the buffer is short: grow until it fits.
    // No path means no help, never a bare name that WinHelp would search for.
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD n =
            GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) {
            return {};
        }
        if (n < buffer.size()) {
            return besideExe(std::string(buffer.data(), n), fileName);
        }
        if (buffer.size() >= 32768) {
            return {};
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool showHelp(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data) {
    if (helpFile.empty()) {
        return false;
    }
    if (WinHelpA(owner, helpFile.c_str(), command, data)) {
        return true;
    }
    // Wine starts its viewer and looks for the viewer's window before the viewer has made
    // it, so the first request can fail. Wait for the window briefly and ask once more.
    for (int i = 0; i < 30 && FindWindowA("MS_WINHELP", nullptr) == nullptr; ++i) {
        Sleep(100);
    }
    return WinHelpA(owner, helpFile.c_str(), command, data) != FALSE;
}

} // namespace app
