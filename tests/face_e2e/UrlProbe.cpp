// Stands in for the web browser: registered as the prefix's http handler, it writes the
// address it was given to C:\t\work\opened-url.txt (one line per call).
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    std::FILE* out = std::fopen("C:\\t\\work\\opened-url.txt", "ab");
    if (!out)
        return 1;
    // The handler is registered as `probe "%1"`: the address comes in quotes.
    const char* text = commandLine;
    std::size_t length = std::strlen(text);
    if (length >= 2 && text[0] == '"' && text[length - 1] == '"') {
        ++text;
        length -= 2;
    }
    std::fwrite(text, 1, length, out);
    std::fputs("\n", out);
    std::fclose(out);
    return 0;
}
