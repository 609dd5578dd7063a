// The HTML Help project the compiler writes, and the .chm the build compiles from it, read
// back with libchm's extract_chmLib. HLPC_SOURCE names the shipped help source and
// HLPC_CHM the .chm the build made from it (empty where the build makes none).
#include "Compile.h"
#include "HelpSource.h"
#include "HtmlHelpWriter.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

using hlpctest::readText;
using hlpctest::TempDir;

std::string env(const char* name) {
    const char* v = std::getenv(name);
    return v == nullptr ? std::string() : std::string(v);
}

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        out += c == '&'   ? "&amp;"
               : c == '<' ? "&lt;"
               : c == '>' ? "&gt;"
               : c == '"' ? "&quot;"
                          : std::string(1, c);
    }
    return out;
}

std::map<std::string, std::string> projectOf(const std::string& source) {
    std::istringstream in(source);
    std::map<std::string, std::string> files;
    for (auto& f : hlpc::writeHtmlHelpProject(hlpc::parseHelpSource(in), "Help")) {
        files[f.name] = f.text;
    }
    return files;
}

TEST(HtmlHelpProject, PagesEscapeTheTextAndKeepListsLinksAndNumbers) {
    // Topic 10 before topic 3: the map must follow the numbers, not the order.
    auto files = projectOf("@title T\n@topic contents Start\nIntro <b> & \"more\"\n@list\n"
                           "@heading Notes\n* one\n* two\n\nafter\n"
                           "@topic 10 Ten & more\nten\n@topic 3 Three\nthree\n");
    ASSERT_EQ(files.size(), 6u);
    const std::string& start = files["contents.htm"];
    EXPECT_NE(start.find("<title>Start</title>"), std::string::npos);
    EXPECT_NE(start.find("<p>Intro &lt;b&gt; &amp; &quot;more&quot;</p>"), std::string::npos);
    // One list per run of bullets, closed before what follows it.
    EXPECT_NE(start.find("<ul>\n<li><a href=\"idh_10.htm\">Ten &amp; more</a></li>\n"
                         "<li><a href=\"idh_3.htm\">Three</a></li>\n</ul>\n<h2>Notes</h2>\n"
                         "<ul>\n<li>one</li>\n<li>two</li>\n</ul>\n<p>after</p>"),
              std::string::npos)
        << start;
    EXPECT_NE(files["idh_10.htm"].find("<h1>Ten &amp; more</h1>\n<p>ten</p>"), std::string::npos);

    const std::string& project = files["Help.hhp"];
    for (const char* line :
         {"Compiled file=Help.chm\n", "Contents file=Help.hhc\n", "Index file=Help.hhk\n",
          "Default topic=contents.htm\n", "\ncontents.htm\nidh_10.htm\nidh_3.htm\n",
          "IDH_10=idh_10.htm\n", "IDH_3=idh_3.htm\n", "#define IDH_10 10\n", "#define IDH_3 3\n"}) {
        EXPECT_NE(project.find(line), std::string::npos) << line;
    }
    // The index finds topics and sub-headings alike, in alphabetical order.
    const std::string& index = files["Help.hhk"];
    EXPECT_LT(index.find("value=\"Notes\""), index.find("value=\"Start\""));
    EXPECT_LT(index.find("value=\"Start\""), index.find("value=\"Ten &amp; more\""));
}

TEST(ShippedHtmlHelp, ChmHoldsEveryPageTheContentsTheIndexAndTheNumberMap) {
    const std::string chm = env("HLPC_CHM"), sourcePath = env("HLPC_SOURCE");
    if (chm.empty()) {
        GTEST_SKIP() << "this build makes no .chm";
    }
    std::ifstream in(sourcePath, std::ios::binary);
    const hlpc::HelpSource source = hlpc::parseHelpSource(in);
    TempDir dir;
    const std::string out = dir.file("chm");
    ASSERT_EQ(std::system(("extract_chmLib '" + chm + "' '" + out + "' >/dev/null").c_str()), 0);
    const auto read = [&](const std::string& name) {
        EXPECT_TRUE(std::filesystem::exists(out + "/" + name)) << name;
        return readText(out + "/" + name);
    };

    // Every topic's page, with the same text and links as the WinHelp file.
    const std::string hhc = read("Tidyvane.hhc"), hhk = read("Tidyvane.hhk");
    std::map<std::uint32_t, std::string> expectedMap;
    for (const hlpc::Topic& t : source.topics) {
        SCOPED_TRACE(t.title);
        const std::string page = read(hlpc::pageName(t));
        EXPECT_NE(page.find("<h1>" + escaped(t.title) + "</h1>"), std::string::npos);
        for (const hlpc::Paragraph& p : t.paragraphs) {
            EXPECT_NE(page.find(escaped(p.text)), std::string::npos) << p.text;
            if (!p.jumpTo.empty()) {
                const auto target =
                    std::find_if(source.topics.begin(), source.topics.end(),
                                 [&](const hlpc::Topic& x) { return x.contextName() == p.jumpTo; });
                ASSERT_NE(target, source.topics.end());
                EXPECT_NE(page.find("<a href=\"" + hlpc::pageName(*target) + "\">" +
                                    escaped(p.text) + "</a>"),
                          std::string::npos);
            }
        }
        EXPECT_NE(hhc.find("value=\"" + hlpc::pageName(t) + "\""), std::string::npos);
        EXPECT_NE(hhk.find("value=\"" + escaped(t.title) + "\""), std::string::npos);
        if (!t.isContents()) {
            expectedMap[static_cast<std::uint32_t>(t.number)] = hlpc::pageName(t);
        }
    }
    for (std::uint32_t n = 2; n <= 7; ++n) {
        EXPECT_EQ(expectedMap.count(n), 1u) << "the main window's controls open topic " << n;
    }

    // The number map HH_HELP_CONTEXT reads: #IVB holds its own size, then pairs of a number
    // and where the page's path starts in #STRINGS.
    const std::string ivb = read("#IVB"), strings = read("#STRINGS");
    const auto dword = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int i = 3; i >= 0; --i) {
            v = v << 8 | static_cast<unsigned char>(ivb.at(at + i));
        }
        return v;
    };
    ASSERT_GE(ivb.size(), 4u);
    ASSERT_EQ(dword(0), ivb.size() - 4);
    std::map<std::uint32_t, std::string> map;
    for (std::size_t at = 4; at + 8 <= ivb.size(); at += 8) {
        ASSERT_LT(dword(at + 4), strings.size());
        const std::string path = strings.c_str() + dword(at + 4);
        // A path inside the .chm; the leading slash is optional.
        map[dword(at)] = path.rfind('/', 0) == 0 ? path.substr(1) : path;
    }
    EXPECT_EQ(map, expectedMap);
}

} // namespace
