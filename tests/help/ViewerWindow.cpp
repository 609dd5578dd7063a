#include "tests/help/ViewerWindow.h"

#include <windows.h>

#include <vector>

namespace bstest {

namespace {

struct Search {
    std::string caption;
    HWND found = nullptr;
    std::string seen; // the viewer windows there are, for the report
};

BOOL CALLBACK findViewer(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    char cls[64] = {}, text[256] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, text, sizeof text);
    if (std::string(cls) == "MS_WINHELP") {
        s->seen += std::string(" [") + text + (IsWindowVisible(hwnd) ? "" : ", hidden") + "]";
    }
    if (std::string(cls) == "MS_WINHELP" && s->caption == text && IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findRichEdit(HWND hwnd, LPARAM param) {
    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    if (CharUpperA(cls), std::string(cls).find("RICHEDIT") != std::string::npos) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The viewer lives in another process. The wide form of WM_GETTEXT is marshalled the
// same way on Windows and Wine, so read that and narrow it here.
std::string textOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return {};
    }
    std::vector<wchar_t> wide(length + 1);
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()),
                        SMTO_ABORTIFHUNG, 2000, &got);
    const int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(got), nullptr, 0,
                                      nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(got), narrow.data(), n, nullptr,
                        nullptr);
    return narrow;
}

HWND textControlOf(HWND viewer) {
    HWND edit = nullptr;
    EnumChildWindows(viewer, findRichEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

HWND viewerText(const std::string& caption) {
    Search s;
    s.caption = caption;
    EnumWindows(findViewer, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr ? textControlOf(s.found) : nullptr;
}

} // namespace

bool clickViewerText(const std::string& caption, const std::string& text) {
    HWND edit = viewerText(caption);
    if (edit == nullptr) {
        return false;
    }
    const std::string shown = textOf(edit);
    // A link in a list is a whole bullet line: bullet, tab, text, paragraph end.
    auto at = shown.find("\t" + text + "\r");
    if (at == std::string::npos) {
        return false;
    }
    ++at;
    // WM_GETTEXT ends paragraphs with CR LF, the control's character positions with CR.
    LPARAM index = static_cast<LPARAM>(at);
    for (auto crlf = shown.find("\r\n"); crlf != std::string::npos && crlf < at;
         crlf = shown.find("\r\n", crlf + 2)) {
        --index;
    }
    // With a position in wParam (not a pointer) the answer is packed in the result, so it
    // crosses the process boundary.
    DWORD_PTR packed = 0;
    if (!SendMessageTimeoutW(edit, EM_POSFROMCHAR, static_cast<WPARAM>(index + 1), 0,
                             SMTO_ABORTIFHUNG, 2000, &packed)) {
        return false;
    }
    const LPARAM point = MAKELPARAM(LOWORD(packed) + 2, HIWORD(packed) + 4);
    PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageA(edit, WM_LBUTTONUP, 0, point);
    return true;
}

ViewerState waitForHelpTopic(const std::string& caption, const std::string& topicTitle,
                             unsigned timeoutMs) {
    ViewerState state;
    const DWORD start = GetTickCount();
    do {
        Search s;
        s.caption = caption;
        EnumWindows(findViewer, reinterpret_cast<LPARAM>(&s));
        state.text =
            "(no visible viewer window captioned \"" + caption + "\"; viewers:" + s.seen + ")";
        if (s.found != nullptr) {
            HWND edit = textControlOf(s.found);
            state.text = edit != nullptr ? textOf(edit) : "(viewer has no text control)";
            if (state.text.compare(0, topicTitle.size(), topicTitle) == 0) {
                state.ok = true;
                return state;
            }
        }
        Sleep(100);
    } while (GetTickCount() - start < timeoutMs);
    return state;
}

} // namespace bstest
