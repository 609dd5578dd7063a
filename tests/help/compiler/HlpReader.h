// An independent reader of WinHelp files, written the way a viewer reads them, so the
// tests can check what the compiler wrote. It throws std::runtime_error, naming the
// fault, on any structure a viewer would reject or misread.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace hlpread {

struct Paragraph {
    unsigned font = 0;
    std::string text;                                         // a tab command reads as '\t'
    std::vector<std::pair<std::string, std::uint32_t>> jumps; // hotspot text, target hash
};

struct Topic {
    std::string title;
    std::uint32_t pos = 0;    // where its header record is
    std::uint32_t offset = 0; // its reading position, as viewers count it
    std::vector<Paragraph> paragraphs;
};

struct File {
    std::map<std::string, std::uint32_t> directory; // internal file name -> header offset
    std::uint16_t minor = 0;
    std::uint16_t flags = 0;
    std::string title;
    std::uint32_t contentsOffset = 0xFFFFFFFF;
    std::map<std::string, std::string> windowCaptions; // window definitions: name -> caption
    unsigned fonts = 0;
    std::size_t topicBlocks = 0;
    std::vector<Topic> topics; // the closing empty header is not one
    std::vector<std::pair<std::uint32_t, std::uint32_t>> context;    // hash, offset
    std::vector<std::pair<std::uint32_t, std::uint32_t>> contextMap; // number, offset
    std::vector<std::pair<std::uint32_t, std::string>> titles;       // offset, title

    // The topic a viewer shows for a reading position: the last one starting at or before it.
    const Topic* topicAt(std::uint32_t offset) const;
};

File readHlp(const std::vector<std::uint8_t>& bytes);
std::vector<std::uint8_t> readBinaryFile(const std::string& path);
std::uint32_t hashContextName(const std::string& name);

} // namespace hlpread
