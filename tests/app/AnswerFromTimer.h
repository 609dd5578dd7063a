#pragma once
// Answers the program's message dialog from inside its modal loop: a timer on this thread
// hands the dialog, once it shows, to `answer`, again on each tick until `answer` says it
// is done.
#include "app/MessageDialog.h"

#include <windows.h>

#include <functional>
#include <utility>

namespace apptest {

inline std::function<bool(HWND)>& pendingAnswer() {
    static std::function<bool(HWND)> answer;
    return answer;
}

inline void CALLBACK answerOnTick(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dialog = FindWindowW(app::MessageDialog::kClassName, nullptr);
    if (!dialog || !IsWindowVisible(dialog))
        return;
    if (pendingAnswer()(dialog))
        KillTimer(nullptr, id);
}

// `answer` returns true when it has given its last answer.
inline void answerFromTimer(std::function<bool(HWND)> answer) {
    pendingAnswer() = std::move(answer);
    SetTimer(nullptr, 0, 20, &answerOnTick);
}

} // namespace apptest
