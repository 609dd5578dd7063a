#pragma once
// The program's own message box: a modal window centred on the screen with an icon, the
// word-wrapped text and standard push buttons. Unlike MessageBox under Wine, a Yes/No
// question answers Escape with No instead of closing as if by the system.
#include "ui/Gdi.h"
#include "ui/Layout.h"
#include "ui/Window.h"

#include <string>
#include <vector>

namespace app {

enum class MessageKind {
    Confirmation, // "Confirm", question mark, "&Yes" (default) and "&No" (Escape)
    Information,  // "Information", information sign, "OK" (default and Escape)
};

// Shows the dialog owned by `owner` (may be null) and returns IDYES, IDNO or IDOK.
int ShowMessage(HWND owner, MessageKind kind, const std::wstring& text);

class MessageDialog : public ui::Window {
public:
    static constexpr const wchar_t* kClassName = L"TMessageDialog";

    MessageDialog(MessageKind kind, std::wstring text);
    int run(HWND owner);

protected:
    LRESULT handleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The controls, and the client area they need, at a DPI, in its pixels.
    struct Placement {
        std::vector<ui::ControlDef> controls;
        SIZE client;
    };
    Placement place(UINT dpi) const;
    void layOut();
    // Lays the dialog out again for `dpi` in the window rectangle `frame`.
    void applyDpi(UINT dpi, const RECT& frame);
    void showIcon(int size);
    void finish(int answer);
    int defaultButton() const;
    int escapeAnswer() const;

    MessageKind kind_;
    std::wstring text_;
    ui::Layout layout_;
    ui::Icon icon_;
    UINT dpi_ = ui::kBaseDpi;
    int answer_ = 0;
    bool done_ = false;
};

} // namespace app
