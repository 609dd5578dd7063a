// Finds the WinHelp viewer's window and reads the topic it shows, from another process.
#pragma once

#include <string>

namespace bstest {

struct ViewerState {
    bool ok = false;   // the caption and the topic were the ones asked for
    std::wstring text; // what the viewer showed last (or why it could not be read)
};

// Waits up to timeoutMs for a viewer window captioned `caption` whose text begins with
// `topicTitle`.
ViewerState waitForHelpTopic(const std::wstring& caption, const std::wstring& topicTitle,
                             unsigned timeoutMs);

// Clicks the first place where the viewer's text shows `text`, as a user follows a link.
bool clickViewerText(const std::wstring& caption, const std::wstring& text);

} // namespace bstest
