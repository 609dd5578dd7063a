#pragma once
// Exception messages are narrow; the names some of them carry are UTF-8 in them, so that any
// name survives the trip to the error report. Never used for a name handed to the system.
#include <string>
#include <string_view>

namespace engine {

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

} // namespace engine
