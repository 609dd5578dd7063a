// The program's message dialog, answered by keys and clicks posted from a timer while it
// runs its modal loop on this thread.
#include "app/MessageDialog.h"
#include "tests/app/AnswerFromTimer.h"
#include "tests/e2e/Driver.h"
#include "tests/face/GuiTestHelpers.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

namespace {

using app::MessageKind;

// Shows the dialog and runs `act` on it once it is up, on this thread inside its loop.
int answerWith(MessageKind kind, const std::wstring& text, std::function<void(HWND)> act,
               HWND owner = nullptr) {
    apptest::answerFromTimer([act = std::move(act)](HWND dialog) {
        act(dialog);
        return true;
    });
    return app::ShowMessage(owner, kind, text);
}

using e2e::pressKey;
using e2e::windowText;
HWND buttonCaptioned(HWND dialog, const wchar_t* caption) {
    return e2e::findControlByText(dialog, L"BUTTON", caption);
}

TEST(MessageDialog, ConfirmationAsksYesOrNoAndEscapeMeansNo) {
    std::wstring caption, yes, no;
    bool yesIsDefault = false;
    int answer = answerWith(MessageKind::Confirmation, L"Sure?", [&](HWND dialog) {
        caption = windowText(dialog);
        HWND y = buttonCaptioned(dialog, L"&Yes");
        yes = y ? L"&Yes" : L"";
        no = buttonCaptioned(dialog, L"&No") ? L"&No" : L"";
        yesIsDefault =
            y && (GetWindowLongW(y, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON && GetFocus() == y;
        pressKey(GetFocus(), VK_ESCAPE);
    });
    EXPECT_EQ(caption, L"Confirm");
    EXPECT_EQ(yes, L"&Yes");
    EXPECT_EQ(no, L"&No");
    EXPECT_TRUE(yesIsDefault);
    EXPECT_EQ(answer, IDNO);

    EXPECT_EQ(answerWith(MessageKind::Confirmation, L"Sure?",
                         [](HWND) { pressKey(GetFocus(), VK_RETURN); }),
              IDYES);
    EXPECT_EQ(answerWith(MessageKind::Confirmation, L"Sure?",
                         [](HWND d) { PostMessageW(buttonCaptioned(d, L"&No"), BM_CLICK, 0, 0); }),
              IDNO);
    EXPECT_EQ(answerWith(MessageKind::Confirmation, L"Sure?",
                         [](HWND d) { PostMessageW(d, WM_CLOSE, 0, 0); }),
              IDNO);
    // Enter presses the button that has the focus.
    EXPECT_EQ(answerWith(MessageKind::Confirmation, L"Sure?",
                         [](HWND d) {
                             HWND no = buttonCaptioned(d, L"&No");
                             SetFocus(no);
                             pressKey(no, VK_RETURN);
                         }),
              IDNO);
}

TEST(MessageDialog, InformationHasOnlyOkForEnterAndEscape) {
    std::wstring caption;
    HWND yes = reinterpret_cast<HWND>(1);
    EXPECT_EQ(answerWith(MessageKind::Information, L"Done.",
                         [&](HWND d) {
                             caption = windowText(d);
                             yes = buttonCaptioned(d, L"&Yes");
                             pressKey(GetFocus(), VK_ESCAPE);
                         }),
              IDOK);
    EXPECT_EQ(caption, L"Information");
    EXPECT_EQ(yes, nullptr);
    EXPECT_EQ(answerWith(MessageKind::Information, L"Done.",
                         [](HWND) { pressKey(GetFocus(), VK_RETURN); }),
              IDOK);
}

TEST(MessageDialog, CentredWrappedAndModalToItsOwner) {
    facetest::Host owner(CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                         50, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    const std::wstring longText(40, L'x');
    std::wstring words;
    for (int i = 0; i < 60; ++i)
        words += L"word ";
    RECT frame{}, text{};
    std::wstring shown;
    bool ownerEnabled = true;
    answerWith(
        MessageKind::Information, words + L"\r\n" + longText,
        [&](HWND d) {
            GetWindowRect(d, &frame);
            HWND label = FindWindowExW(d, nullptr, L"STATIC", (words + L"\r\n" + longText).c_str());
            if (label) {
                GetClientRect(label, &text);
                shown = windowText(label);
            }
            ownerEnabled = IsWindowEnabled(owner) != FALSE;
            pressKey(GetFocus(), VK_RETURN);
        },
        owner);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(shown, words + L"\r\n" + longText);
    EXPECT_NEAR((frame.left + frame.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2, 1);
    EXPECT_NEAR((frame.top + frame.bottom) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 1);
    // 300 characters do not fit one line: the text wraps onto at least three lines.
    EXPECT_LE(text.right, GetSystemMetrics(SM_CXSCREEN) / 2);
    EXPECT_GE(text.bottom, 3 * 12);
    owner.destroy();
}

} // namespace
