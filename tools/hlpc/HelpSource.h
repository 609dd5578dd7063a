// The plain-text help source: a title and topics of paragraphs. The syntax is described
// at the top of help/Tidyvane.hlp.txt.
#pragma once

#include <istream>
#include <stdexcept>
#include <string>
#include <vector>

namespace hlpc {

struct Paragraph {
    enum class Kind { Text, Subheading, Bullet };
    Kind kind = Kind::Text;
    std::string text;
    std::string jumpTo; // a context name: the whole text is a link to that topic
};

struct Topic {
    int number = 0; // 0 for the contents topic, which has no map number
    std::string title;
    std::vector<Paragraph> paragraphs;
    int line = 0; // where the topic starts in the source

    bool isContents() const { return number == 0; }
    // The context name jumps by name use: CONTENTS or IDH_<number>.
    std::string contextName() const;
};

struct HelpSource {
    std::string title;
    std::vector<Topic> topics; // the contents topic first
};

// A fault in the source, with the 1-based line it was found on (0: the file as a whole).
class SourceError : public std::runtime_error {
public:
    SourceError(int line, const std::string& message) : std::runtime_error(message), line_(line) {}
    int line() const { return line_; }

private:
    int line_;
};

// Longest paragraph, in characters: every paragraph must fit one topic block.
constexpr std::size_t kMaxParagraph = 2000;
// Longest topic title.
constexpr std::size_t kMaxTitle = 80;
// Longest help-file title: it is also the window caption, which has room for 50.
constexpr std::size_t kMaxFileTitle = 50;
// Highest topic number; the program's controls use small numbers.
constexpr int kMaxTopicNumber = 32767;

HelpSource parseHelpSource(std::istream& in);

} // namespace hlpc
