// Stands in for the web browser: registered as the prefix's http handler, it writes the
// address it was given to C:\t\work\opened-url.txt (one line per call, UTF-8).
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // The handler is registered as `probe "%1"`: the address comes in quotes, after the
    // probe's own (quoted) name.
    std::wstring line = GetCommandLineW();
    const auto open = line.find(L"\" \"");
    if (open == std::wstring::npos || line.back() != L'"')
        return 1;
    line = line.substr(open + 3, line.size() - open - 4);
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), text.data(), size,
                        nullptr, nullptr);
    std::FILE* out = _wfopen(L"C:\\t\\work\\opened-url.txt", L"ab");
    if (!out)
        return 1;
    std::fwrite(text.data(), 1, text.size(), out);
    std::fputs("\n", out);
    std::fclose(out);
    return 0;
}
