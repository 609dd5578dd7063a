#include "engine/Error.h"

namespace engine {

Error::Error(std::wstring message) : message_(std::move(message)), ascii_(AsciiOf(message_)) {}

std::string AsciiOf(std::wstring_view text) {
    std::string ascii;
    ascii.reserve(text.size());
    for (const wchar_t c : text)
        ascii.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return ascii;
}

std::wstring Error::WidenAscii(std::string_view text) {
    std::wstring wide;
    wide.reserve(text.size());
    for (const char c : text)
        wide.push_back(static_cast<unsigned char>(c) < 0x80 ? static_cast<wchar_t>(c) : L'?');
    return wide;
}

std::wstring MessageOf(const std::exception& error) {
    if (const auto* own = dynamic_cast<const Error*>(&error))
        return own->message();
    return Error::WidenAscii(error.what());
}

} // namespace engine
