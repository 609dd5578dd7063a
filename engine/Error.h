#pragma once
// The program's own failures. Their message is wide text, so a name in it (a key, a value,
// a control) is shown as it is and never converted between code pages; what() gives its
// ASCII letters only, for places that take nothing else.
#include <exception>
#include <string>
#include <string_view>

namespace engine {

class Error : public std::exception {
public:
    explicit Error(std::wstring message);
    // A fixed message written in ASCII.
    explicit Error(std::string_view message) : Error(WidenAscii(message)) {}

    const std::wstring& message() const noexcept { return message_; }
    const char* what() const noexcept override { return ascii_.c_str(); }

    // ASCII text as wide text; any other byte becomes '?'.
    static std::wstring WidenAscii(std::string_view text);

private:
    std::wstring message_;
    std::string ascii_;
};

// The ASCII letters of `text`, any other character as '?': for messages of the standard
// library's exceptions, which hold nothing else.
std::string AsciiOf(std::wstring_view text);

// The text to show for any failure: an Error's message, else what() read as ASCII.
std::wstring MessageOf(const std::exception& error);

} // namespace engine
