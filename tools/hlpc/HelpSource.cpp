#include "HelpSource.h"

#include <optional>
#include <set>

namespace hlpc {

std::string Topic::contextName() const {
    return isContents() ? std::string("CONTENTS") : "IDH_" + std::to_string(number);
}

namespace {

// Help text is single-byte Windows-1252; keeping the source to printable ASCII means an
// editor's UTF-8 can never slip through as mojibake.
void checkCharacters(const std::string& line, int lineNo) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if (c < 0x20 || c > 0x7E) {
            throw SourceError(lineNo, "column " + std::to_string(i + 1) +
                                          ": only printable ASCII characters are allowed");
        }
    }
}

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

class Parser {
public:
    HelpSource run(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            ++lineNo_;
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            if (!line.empty() && line[0] == '#') {
                continue; // comments are for the source's editors, in any characters
            }
            checkCharacters(line, lineNo_);
            handle(line);
        }
        endParagraph();
        endTopic();
        if (source_.title.empty()) {
            throw SourceError(0, "no @title line");
        }
        if (source_.topics.empty()) {
            throw SourceError(0, "no @topic contents section");
        }
        bool hasOthers = false;
        for (const auto& t : source_.topics) {
            hasOthers = hasOthers || !t.isContents();
        }
        if (!hasOthers) {
            throw SourceError(0, "no numbered topic");
        }
        expandList();
        return std::move(source_);
    }

private:
    void handle(const std::string& line) {
        if (trim(line).empty()) {
            endParagraph();
            return;
        }
        if (line[0] == '@') {
            endParagraph();
            directive(line);
            return;
        }
        if (topic_ == nullptr) {
            throw SourceError(lineNo_, "text before the first @topic");
        }
        if (line[0] == '*' && (line.size() == 1 || line[1] == ' ')) {
            endParagraph();
            startParagraph(Paragraph::Kind::Bullet, trim(line.substr(1)));
            return;
        }
        if (open_ == nullptr) {
            startParagraph(Paragraph::Kind::Text, trim(line));
        } else {
            open_->text += ' ' + trim(line);
            checkLength(*open_);
        }
    }

    void directive(const std::string& line) {
        const auto space = line.find(' ');
        const std::string name = line.substr(0, space);
        const std::string rest = space == std::string::npos ? "" : trim(line.substr(space));
        if (name == "@title") {
            if (!source_.title.empty()) {
                throw SourceError(lineNo_, "@title given twice");
            }
            source_.title = requireTitle(rest, "@title");
            if (source_.title.size() > kMaxFileTitle) {
                throw SourceError(lineNo_, "@title is longer than " +
                                               std::to_string(kMaxFileTitle) + " characters");
            }
        } else if (name == "@topic") {
            topicDirective(rest);
        } else if (name == "@heading") {
            if (topic_ == nullptr) {
                throw SourceError(lineNo_, "@heading before the first @topic");
            }
            startParagraph(Paragraph::Kind::Subheading, requireTitle(rest, "@heading"));
            endParagraph();
        } else if (name == "@list") {
            if (topic_ == nullptr || !topic_->isContents()) {
                throw SourceError(lineNo_, "@list belongs in the contents topic");
            }
            if (!rest.empty()) {
                throw SourceError(lineNo_, "@list takes nothing after it");
            }
            if (listAt_) {
                throw SourceError(lineNo_, "@list given twice");
            }
            listAt_ = topic_->paragraphs.size();
        } else {
            throw SourceError(lineNo_, "unknown directive " + name);
        }
    }

    void topicDirective(const std::string& rest) {
        endTopic();
        if (source_.title.empty()) {
            throw SourceError(lineNo_, "@topic before @title");
        }
        const auto space = rest.find(' ');
        const std::string id = rest.substr(0, space);
        const std::string title = space == std::string::npos ? "" : trim(rest.substr(space));
        if (id.empty()) {
            throw SourceError(lineNo_, "@topic needs a number (or \"contents\") and a title");
        }
        Topic t;
        t.line = lineNo_;
        if (id == "contents") {
            if (!source_.topics.empty()) {
                throw SourceError(lineNo_, "the contents topic must come first, and only once");
            }
            t.number = 0;
        } else {
            if (source_.topics.empty()) {
                throw SourceError(lineNo_, "the first topic must be \"@topic contents\"");
            }
            t.number = parseNumber(id);
            if (!numbers_.insert(t.number).second) {
                throw SourceError(lineNo_, "topic number " + id + " is used twice");
            }
        }
        t.title = requireTitle(title, "@topic");
        source_.topics.push_back(std::move(t));
        topic_ = &source_.topics.back();
    }

    int parseNumber(const std::string& id) const {
        bool digits = !id.empty() && id.size() <= 5;
        for (char c : id) {
            digits = digits && c >= '0' && c <= '9';
        }
        const int n = digits ? std::stoi(id) : 0;
        if (n < 1 || n > kMaxTopicNumber) {
            throw SourceError(lineNo_, "topic number \"" + id +
                                           "\" is not a whole number from 1 to " +
                                           std::to_string(kMaxTopicNumber));
        }
        return n;
    }

    std::string requireTitle(const std::string& text, const char* what) const {
        if (text.empty()) {
            throw SourceError(lineNo_, std::string(what) + " needs a title");
        }
        if (text.size() > kMaxTitle) {
            throw SourceError(lineNo_, std::string(what) + " title is longer than " +
                                           std::to_string(kMaxTitle) + " characters");
        }
        return text;
    }

    void startParagraph(Paragraph::Kind kind, const std::string& text) {
        if (kind == Paragraph::Kind::Bullet && text.empty()) {
            throw SourceError(lineNo_, "empty bullet");
        }
        topic_->paragraphs.push_back({kind, text, {}});
        open_ = &topic_->paragraphs.back();
        checkLength(*open_);
    }

    void checkLength(const Paragraph& p) const {
        if (p.text.size() > kMaxParagraph) {
            throw SourceError(lineNo_, "paragraph is longer than " + std::to_string(kMaxParagraph) +
                                           " characters; split it");
        }
    }

    void endParagraph() { open_ = nullptr; }

    // Closes the current topic and checks it says something. A contents topic that holds
    // only @list is fine: the list is filled in once every topic is known.
    void endTopic() {
        if (topic_ == nullptr) {
            return;
        }
        if (topic_->paragraphs.empty() && !(topic_->isContents() && listAt_)) {
            throw SourceError(topic_->line, "topic \"" + topic_->title + "\" has no text");
        }
        topic_ = nullptr;
    }

    // @list becomes one bullet per numbered topic, in source order, each a link to it.
    void expandList() {
        if (!listAt_) {
            return;
        }
        std::vector<Paragraph> items;
        for (const auto& t : source_.topics) {
            if (!t.isContents()) {
                items.push_back({Paragraph::Kind::Bullet, t.title, t.contextName()});
            }
        }
        auto& contents = source_.topics.front().paragraphs;
        contents.insert(contents.begin() + static_cast<std::ptrdiff_t>(*listAt_), items.begin(),
                        items.end());
    }

    HelpSource source_;
    Topic* topic_ = nullptr;
    Paragraph* open_ = nullptr;
    std::set<int> numbers_;
    std::optional<std::size_t> listAt_; // where @list stood in the contents
    int lineNo_ = 0;
};

} // namespace

HelpSource parseHelpSource(std::istream& in) {
    return Parser().run(in);
}

} // namespace hlpc
