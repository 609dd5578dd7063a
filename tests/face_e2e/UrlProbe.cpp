// Stands in for the web browser: registered as the prefix's http handler, it writes the
// address it was given to C:\t\work\opened-url.txt (one line per call, UTF-16).
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
    // The handler is registered as `probe "%1"`: the address comes in quotes, after the
    // probe's own (quoted) name.
    std::wstring line = GetCommandLineW();
    const auto open = line.find(L"\" \"");
    if (open == std::wstring::npos || line.back() != L'"')
        return 1;
    line = line.substr(open + 3, line.size() - open - 4) + L'\n';
    std::FILE* out = _wfopen(L"C:\\t\\work\\opened-url.txt", L"ab");
    if (!out)
        return 1;
    std::fwrite(line.data(), sizeof(wchar_t), line.size(), out);
    std::fclose(out);
    return 0;
}
