#include "tests/help/ViewerWindow.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace bstest {

namespace {

struct Search {
    std::wstring caption;
    HWND found = nullptr;
    std::wstring seen; // the viewer windows there are, for the report
};

BOOL CALLBACK findViewer(HWND hwnd, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    wchar_t cls[64] = {}, text[256] = {};
    GetClassNameW(hwnd, cls, sizeof cls);
    GetWindowTextW(hwnd, text, sizeof text);
    if (std::wstring(cls) == L"MS_WINHELP") {
        s->seen += std::wstring(L" [") + text + (IsWindowVisible(hwnd) ? L"" : L", hidden") + L"]";
    }
    if (std::wstring(cls) == L"MS_WINHELP" && s->caption == text && IsWindowVisible(hwnd)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK findRichEdit(HWND hwnd, LPARAM param) {
    wchar_t cls[64] = {};
    GetClassNameW(hwnd, cls, sizeof cls);
    if (CharUpperW(cls), std::wstring(cls).find(L"RICHEDIT") != std::wstring::npos) {
        *reinterpret_cast<HWND*>(param) = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The viewer lives in another process. The wide form of WM_GETTEXT is marshalled the
// same way on Windows and Wine.
std::wstring textOf(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) {
        return {};
    }
    std::vector<wchar_t> wide(length + 1);
    DWORD_PTR got = 0;
    SendMessageTimeoutW(hwnd, WM_GETTEXT, wide.size(), reinterpret_cast<LPARAM>(wide.data()),
                        SMTO_ABORTIFHUNG, 2000, &got);
    return std::wstring(wide.data(), std::min<std::size_t>(got, length));
}

HWND textControlOf(HWND viewer) {
    HWND edit = nullptr;
    EnumChildWindows(viewer, findRichEdit, reinterpret_cast<LPARAM>(&edit));
    return edit;
}

HWND viewerText(const std::wstring& caption) {
    Search s;
    s.caption = caption;
    EnumWindows(findViewer, reinterpret_cast<LPARAM>(&s));
    return s.found != nullptr ? textControlOf(s.found) : nullptr;
}

} // namespace

bool clickViewerText(const std::wstring& caption, const std::wstring& text) {
    HWND edit = viewerText(caption);
    if (edit == nullptr) {
        return false;
    }
    const std::wstring shown = textOf(edit);
    // A link in a list is a whole bullet line: bullet, tab, text, paragraph end.
    auto at = shown.find(L"\t" + text + L"\r");
    if (at == std::wstring::npos) {
        return false;
    }
    ++at;
    // WM_GETTEXT ends paragraphs with CR LF, the control's character positions with CR.
    LPARAM index = static_cast<LPARAM>(at);
    for (auto crlf = shown.find(L"\r\n"); crlf != std::wstring::npos && crlf < at;
         crlf = shown.find(L"\r\n", crlf + 2)) {
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
    PostMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, point);
    PostMessageW(edit, WM_LBUTTONUP, 0, point);
    return true;
}

ViewerState waitForHelpTopic(const std::wstring& caption, const std::wstring& topicTitle,
                             unsigned timeoutMs) {
    ViewerState state;
    const DWORD start = GetTickCount();
    do {
        Search s;
        s.caption = caption;
        EnumWindows(findViewer, reinterpret_cast<LPARAM>(&s));
        state.text =
            L"(no visible viewer window captioned \"" + caption + L"\"; viewers:" + s.seen + L")";
        if (s.found != nullptr) {
            HWND edit = textControlOf(s.found);
            state.text = edit != nullptr ? textOf(edit) : L"(viewer has no text control)";
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
