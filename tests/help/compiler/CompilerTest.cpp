// The help compiler, checked by reading its output back with an independent reader.
// HLPC_SOURCE and HLPC_OUTPUT name the shipped help source and the help file the build
// made from it.
#include "Compile.h"
#include "HelpSource.h"
#include "HlpReader.h"
#include "HlpWriter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v == nullptr ? std::string() : std::string(v);
}

// What the reader should find for a source paragraph.
std::string expectedText(const hlpc::Paragraph& p) {
    return p.kind == hlpc::Paragraph::Kind::Bullet ? "\x95\t" + p.text : p.text;
}
unsigned expectedFont(const hlpc::Paragraph& p) {
    return p.kind == hlpc::Paragraph::Kind::Subheading ? 2 : 0;
}

// Checks a help file against the source it was made from: every topic in order with its
// title and text, the contents topic, the number map and the name hashes.
void expectMatches(const hlpread::File& f, const hlpc::HelpSource& s) {
    EXPECT_EQ(f.title, s.title);
    // The viewer captions its window from the main window's definition.
    EXPECT_EQ(f.windowCaptions, (std::map<std::string, std::string>{{"main", s.title}}));
    EXPECT_EQ(f.minor, 21);
    EXPECT_EQ(f.flags, 0);
    ASSERT_EQ(f.topics.size(), s.topics.size());
    ASSERT_EQ(f.titles.size(), s.topics.size());
    EXPECT_EQ(f.contentsOffset, f.topics.front().offset);
    EXPECT_EQ(f.context.size(), s.topics.size());
    for (std::size_t i = 0; i < s.topics.size(); ++i) {
        const auto& src = s.topics[i];
        const auto& got = f.topics[i];
        SCOPED_TRACE("topic " + src.title);
        EXPECT_EQ(got.title, src.title);
        EXPECT_EQ(f.titles[i], std::make_pair(got.offset, src.title));
        // Two topics at one reading position would make the second unreachable.
        EXPECT_EQ(f.topicAt(got.offset), &got);
        ASSERT_EQ(got.paragraphs.size(), src.paragraphs.size() + 1);
        EXPECT_EQ(got.paragraphs[0].text, src.title); // drawn as the topic's heading
        EXPECT_EQ(got.paragraphs[0].font, 1u);
        for (std::size_t p = 0; p < src.paragraphs.size(); ++p) {
            EXPECT_EQ(got.paragraphs[p + 1].text, expectedText(src.paragraphs[p]));
            EXPECT_EQ(got.paragraphs[p + 1].font, expectedFont(src.paragraphs[p]));
            using Jumps = std::vector<std::pair<std::string, std::uint32_t>>;
            Jumps expectedJumps;
            if (!src.paragraphs[p].jumpTo.empty()) {
                expectedJumps.emplace_back(src.paragraphs[p].text,
                                           hlpread::hashContextName(src.paragraphs[p].jumpTo));
            }
            EXPECT_EQ(got.paragraphs[p + 1].jumps, expectedJumps);
        }
        const std::uint32_t hash = hlpread::hashContextName(src.contextName());
        EXPECT_NE(std::find(f.context.begin(), f.context.end(), std::make_pair(hash, got.offset)),
                  f.context.end());
        if (!src.isContents()) {
            const auto n = static_cast<std::uint32_t>(src.number);
            EXPECT_NE(
                std::find(f.contextMap.begin(), f.contextMap.end(), std::make_pair(n, got.offset)),
                f.contextMap.end());
        }
    }
    EXPECT_EQ(f.contextMap.size(), s.topics.size() - 1);
    EXPECT_TRUE(std::is_sorted(f.contextMap.begin(), f.contextMap.end()));
}

hlpc::HelpSource parse(const std::string& text) {
    std::istringstream in(text);
    return hlpc::parseHelpSource(in);
}

TEST(ShippedHelp, FileMatchesSourceAndOpensEveryProgramTopic) {
    const std::string sourcePath = env("HLPC_SOURCE"), outputPath = env("HLPC_OUTPUT");
    ASSERT_FALSE(sourcePath.empty() || outputPath.empty()) << "HLPC_SOURCE and HLPC_OUTPUT";
    std::ifstream in(sourcePath, std::ios::binary);
    const hlpc::HelpSource source = hlpc::parseHelpSource(in);
    const hlpread::File f = hlpread::readHlp(hlpread::readBinaryFile(outputPath));
    expectMatches(f, source);

    EXPECT_EQ(f.title, "Brightsweep Help");
    EXPECT_EQ(f.directory.size(), 6u);
    // The controls of the main window carry 2 to 7; each must land on its own topic,
    // found the way the viewer finds it.
    const char* expected[] = {"Desktop", "Start Menu", "temporary", "Recycle", "Recent", "User"};
    for (std::uint32_t n = 2; n <= 7; ++n) {
        const auto m = std::find_if(f.contextMap.begin(), f.contextMap.end(),
                                    [n](const auto& e) { return e.first == n; });
        ASSERT_NE(m, f.contextMap.end()) << n;
        const hlpread::Topic* t = f.topicAt(m->second);
        ASSERT_NE(t, nullptr);
        EXPECT_NE(t->title.find(expected[n - 2]), std::string::npos) << n << ": " << t->title;
    }
    // The viewer's own checked values for two context names.
    EXPECT_EQ(f.context.back(), std::make_pair(0x25F4558Au, 0u)); // CONTENTS, largest hash
    EXPECT_NE(std::find_if(f.context.begin(), f.context.end(),
                           [](const auto& e) { return e.first == 0x05311E4Eu; }),
              f.context.end()); // IDH_2

    // The contents topic links to every other topic, through the context hashes.
    std::map<std::string, std::uint32_t> links;
    for (const auto& p : f.topics.front().paragraphs) {
        for (const auto& [text, hash] : p.jumps) {
            const auto target = std::find_if(f.context.begin(), f.context.end(),
                                             [hash](const auto& e) { return e.first == hash; });
            ASSERT_NE(target, f.context.end()) << text;
            links[text] = target->second;
        }
    }
    for (std::size_t i = 1; i < f.topics.size(); ++i) {
        EXPECT_EQ(links[f.topics[i].title], f.topics[i].offset) << f.topics[i].title;
    }
    // What a user must be told somewhere.
    std::string all;
    for (const auto& t : f.topics) {
        for (const auto& p : t.paragraphs) {
            all += p.text + "\n";
        }
    }
    for (const char* fact : {"desktop.ini", "read-only", "/S", "Startup",
                             "HKEY_CURRENT_USER\\Software\\Quellmoor Software\\Brightsweep",
                             "linked folder", "never removed"}) {
        EXPECT_NE(all.find(fact), std::string::npos) << fact;
    }
}

TEST(Writer, SpreadsLongTopicsOverBlocksAndStillFindsThem) {
    std::string text = "@title Long Help\n@topic contents Contents\n@list\n";
    const std::string para(1900, 'x');
    for (int n = 1; n <= 12; ++n) {
        text += "@topic " + std::to_string(n * 10) + " Topic " + std::to_string(n) + "\n";
        text += "@heading Part\n* a bullet\n\n" + para + "\n\n" + para + "\n\n";
    }
    const auto source = parse(text);
    const auto f = hlpread::readHlp(hlpc::writeHlp(source, 0));
    expectMatches(f, source);
    EXPECT_GE(f.topicBlocks, 10u);
    EXPECT_GE(f.topics.back().offset, 0x8000u * 9);
}

TEST(Writer, RefusesTitlesThatOverflowTheTitleIndex) {
    std::string text = "@title T\n@topic contents C\nx\n";
    for (int n = 1; n <= 40; ++n) {
        text += "@topic " + std::to_string(n) + " " + std::string(70, 't') + "\nx\n";
    }
    EXPECT_THROW(hlpc::writeHlp(parse(text), 0), hlpc::SourceError);
}

TEST(Writer, SourceWithWindowsLineEndingsGivesTheSameFile) {
    // A Windows checkout may turn the source's line ends into CR LF.
    const std::string lf = "@title T\n@topic contents C\n@list\nline one\nline two\n\n"
                           "@topic 2 X\n* b\n  more\n\n@heading H\ntext\n";
    std::string crlf;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    }
    EXPECT_EQ(hlpc::writeHlp(parse(crlf), 0), hlpc::writeHlp(parse(lf), 0));
}

using hlpctest::TempDir;
using hlpctest::writeText;

TEST(Compiler, MalformedSourcesNameTheLineAndLeaveNoHelpFile) {
    struct Case {
        std::string source;
        int line;
        const char* says;
    };
    const Case cases[] = {
        {"@title T\nstray text\n", 2, "before the first @topic"},
        {"@title T\n@topic contents C\nx\n@topc 2 X\n", 4, "unknown directive @topc"},
        {"@topic contents C\n", 1, "before @title"},
        {"@title T\n@title U\n", 2, "twice"},
        {"@title T\n@topic 2 X\nx\n", 2, "must be \"@topic contents\""},
        {"@title T\n@topic contents C\nx\n@topic 2 X\nx\n@topic 2 Y\nx\n", 6, "used twice"},
        {"@title T\n@topic contents C\nx\n@topic two X\nx\n", 4, "not a whole number"},
        {"@title T\n@topic contents C\nx\n@topic 0 X\nx\n", 4, "not a whole number"},
        {"@title T\n@topic contents C\nx\n@topic 99999 X\nx\n", 4, "not a whole number"},
        {"@title T\n@topic contents C\nx\n@topic 2\nx\n", 4, "needs a title"},
        {"@title T\n@topic contents C\nx\n@topic 2 X\n\n# only a comment\n@topic 3 Y\ny\n", 4,
         "has no text"},
        {"@title T\n@topic contents C\nx\n@topic 2 X\n*\n", 5, "empty bullet"},
        {"@title T\n@topic contents C\nx\n@topic 2 X\ncaf\xc3\xa9\n", 5, "column 4"},
        {"@title T\n@topic contents C\nx\n@topic 2 X\na\tb\n", 5, "printable ASCII"},
        {"@title T\n@topic contents C\nx\n@topic 2 X\n@list\n", 5, "contents topic"},
        {"@title T\n@topic contents C\nx\n", 0, "no numbered topic"},
        {"@topic\n", 1, "before @title"},
        {"@title " + std::string(51, 't') + "\n", 1, "longer than 50"},
        {"", 0, "no @title"},
    };
    TempDir dir;
    const std::string src = dir.file("help.txt"), out = dir.file("help.hlp"),
                      project = dir.file("help.hhp");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        writeText(src, c.source);
        writeText(out, "stale help from an earlier build");
        try {
            hlpc::compileHelp(src, out, 0);
            ADD_FAILURE() << "accepted";
        } catch (const hlpc::SourceError& e) {
            EXPECT_EQ(e.line(), c.line);
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(out + ".tmp"));
        // Nor an HTML Help project that chmcmd would compile instead.
        writeText(project, "stale project from an earlier build");
        EXPECT_THROW(hlpc::compileHtmlHelpProject(src, project), hlpc::SourceError);
        EXPECT_FALSE(fs::exists(project));
    }

    // A paragraph too long for one topic block, reported where it grew too long.
    writeText(src, "@title T\n@topic contents C\n" + std::string(1500, 'a') + "\n" +
                       std::string(600, 'b') + "\n");
    try {
        hlpc::compileHelp(src, out, 0);
        ADD_FAILURE() << "accepted a long paragraph";
    } catch (const hlpc::SourceError& e) {
        EXPECT_EQ(e.line(), 4);
    }
}

TEST(Compiler, CommandLineReportsFileAndLineAndFails) {
    TempDir dir;
    const std::string src = dir.file("help.txt"), out = dir.file("help.hlp"),
                      log = dir.file("log.txt");
    writeText(src, "@title T\n@topic contents C\nx\n@bogus\n");
    const std::string cmd = std::string(HLPC_EXE) + " " + src + " " + out + " 2>" + log;
    const int status = std::system(cmd.c_str());
    EXPECT_NE(status, 0);
    std::ifstream in(log);
    std::string message;
    std::getline(in, message);
    EXPECT_EQ(message, src + ":4: error: unknown directive @bogus");
    EXPECT_FALSE(fs::exists(out));

    writeText(src, "@title T\n@topic contents C\nx\n@topic 2 Two\ny\n");
    EXPECT_EQ(std::system((std::string(HLPC_EXE) + " --date 0 " + src + " " + out).c_str()), 0);
    expectMatches(hlpread::readHlp(hlpread::readBinaryFile(out)),
                  parse("@title T\n@topic contents C\nx\n@topic 2 Two\ny\n"));

    // The HTML Help project lands beside the project file it names.
    EXPECT_EQ(
        std::system((std::string(HLPC_EXE) + " --html " + src + " " + dir.file("h.hhp")).c_str()),
        0);
    for (const char* name : {"h.hhp", "h.hhc", "h.hhk", "contents.htm", "idh_2.htm"}) {
        EXPECT_TRUE(fs::exists(dir.file(name))) << name;
    }
}

} // namespace
