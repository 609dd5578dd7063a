#include "HlpWriter.h"

#include <algorithm>
#include <cstdint>
#include <map>

namespace hlpc {

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::size_t kBlockSize = 4096; // one |TOPIC block, header included
constexpr std::size_t kBlockHeader = 12;
constexpr std::size_t kBlockData = kBlockSize - kBlockHeader;
constexpr std::size_t kLinkHeader = 21;         // the fixed part of every topic record
constexpr std::uint32_t kPosStride = 0x4000;    // TOPICPOS: block * 0x4000 + 12 + offset
constexpr std::uint32_t kOffsetStride = 0x8000; // TOPICOFFSET: block * 0x8000 + characters

void put8(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
}
void put16(Bytes& b, unsigned v) {
    put8(b, v & 0xFF);
    put8(b, (v >> 8) & 0xFF);
}
void put32(Bytes& b, std::uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void putString(Bytes& b, const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    put8(b, 0);
}
void append(Bytes& b, const Bytes& more) {
    b.insert(b.end(), more.begin(), more.end());
}
void set32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

// The variable-length integers of topic records: the low bit of the first byte says
// whether the short or the long form follows.
void putCompressedUShort(Bytes& b, unsigned v) {
    if (v < 0x80) {
        put8(b, v * 2);
    } else {
        put16(b, v * 2 + 1);
    }
}
void putCompressedShort(Bytes& b, int v) {
    if (v >= -0x40 && v < 0x40) {
        put8(b, static_cast<unsigned>(v + 0x40) * 2);
    } else {
        put16(b, static_cast<unsigned>(v + 0x4000) * 2 + 1);
    }
}
void putCompressedLong(Bytes& b, long v) {
    if (v >= -0x4000 && v < 0x4000) {
        put16(b, static_cast<unsigned>(v + 0x4000) * 2);
    } else {
        put32(b, static_cast<std::uint32_t>(v + 0x40000000L) * 2 + 1);
    }
}

// Font descriptors in |FONT, used by the font-change command in topic text.
enum Font : unsigned { kBody = 0, kTitle = 1, kSubheading = 2 };

Bytes fontFile() {
    constexpr unsigned kFaceLen = 32;
    struct Descriptor {
        unsigned attributes, halfPoints;
    };
    const Descriptor fonts[] = {{0, 20}, {1, 24}, {1, 20}}; // regular 10 pt, bold 12, bold 10
    Bytes b;
    put16(b, 1);                // face names
    put16(b, std::size(fonts)); // descriptors
    put16(b, 8);                // face names offset: 8 selects the old layout
    put16(b, 8 + kFaceLen);     // descriptors offset
    Bytes face(kFaceLen, 0);
    const std::string arial = "Arial";
    std::copy(arial.begin(), arial.end(), face.begin());
    append(b, face);
    for (const auto& f : fonts) {
        put8(b, f.attributes);
        put8(b, f.halfPoints);
        put8(b, 3);              // swiss
        put16(b, 0);             // face 0
        b.insert(b.end(), 6, 0); // black on (unused) black
    }
    return b;
}

// Paragraph formatting of one text record.
struct Format {
    unsigned font;
    int spaceBelow; // in half-points
    bool bullet;
    int spaceAbove = 0;
};

Format formatOf(Paragraph::Kind kind) {
    switch (kind) {
    case Paragraph::Kind::Subheading:
        return {kSubheading, 6, false, 12}; // set off from a list above it
    case Paragraph::Kind::Bullet:
        return {kBody, 6, true};
    case Paragraph::Kind::Text:
        break;
    }
    return {kBody, 12, false};
}

struct Record {
    std::uint8_t type = 0; // 0x02 topic header, 0x20 text
    Bytes data1;           // LinkData1
    Bytes data2;           // LinkData2
    int topic = -1;        // index into the source topics; -1 for the trailing record
    std::uint32_t pos = 0;
    std::uint32_t offset = 0;
    std::size_t size() const { return kLinkHeader + data1.size() + data2.size(); }
};

// One paragraph as a text record. The text is a run of NUL-terminated strings, one in
// front of each command byte: print a string, run a command, until the closing 0xFF.
// With `jumpTo`, the text is a hotspot that jumps to the topic of that context name.
Record textRecord(const std::string& text, const Format& f, const std::string& jumpTo = {}) {
    Bytes commands, strings;
    const auto command = [&](std::initializer_list<std::uint8_t> bytes, const std::string& before) {
        putString(strings, before);
        commands.insert(commands.end(), bytes);
    };
    command({0x80, static_cast<std::uint8_t>(f.font), 0}, "");
    if (f.bullet) {
        command({0x83}, "\x95"); // a bullet, then a tab to the hanging indent
    }
    if (jumpTo.empty()) {
        command({0x82}, text);
    } else {
        // A topic jump (0xE3) names its target by the context-name hash.
        Bytes jump = {0xE3};
        put32(jump, contextHash(jumpTo));
        putString(strings, "");
        append(commands, jump);
        command({0x89}, text); // end of the hotspot
        command({0x82}, "");
    }
    command({0xFF}, "");

    Bytes info = {0x00, 0x80, 0x00, 0x00};
    unsigned bits = 0x0004; // space below
    if (f.spaceAbove != 0) {
        bits |= 0x0002;
    }
    if (f.bullet) {
        bits |= 0x0010 | 0x0040 | 0x0200; // left indent, first-line indent, tab stops
    }
    put16(info, bits);
    if (f.spaceAbove != 0) {
        putCompressedShort(info, f.spaceAbove);
    }
    putCompressedShort(info, f.spaceBelow);
    if (f.bullet) {
        putCompressedShort(info, 72);  // left indent, half an inch
        putCompressedShort(info, -36); // the bullet hangs back a quarter inch
        putCompressedShort(info, 1);   // one tab stop, at the indent
        putCompressedUShort(info, 72);
    }
    append(info, commands);

    Record r;
    r.type = 0x20;
    putCompressedLong(r.data1, static_cast<long>(info.size()));
    putCompressedUShort(r.data1, static_cast<unsigned>(strings.size()));
    append(r.data1, info);
    r.data2 = std::move(strings);
    return r;
}

Record headerRecord(int topic, const std::string& title) {
    Record r;
    r.type = 0x02;
    r.topic = topic;
    r.data1.assign(28, 0); // filled in once the layout is known
    r.data2.assign(title.begin(), title.end());
    return r;
}

std::vector<Record> buildRecords(const HelpSource& source) {
    std::vector<Record> records;
    for (std::size_t i = 0; i < source.topics.size(); ++i) {
        const Topic& t = source.topics[i];
        records.push_back(headerRecord(static_cast<int>(i), t.title));
        // The viewer doesn't draw the header's title, so every topic opens with its own.
        records.push_back(textRecord(t.title, {kTitle, 12, false}));
        for (std::size_t j = 0; j < t.paragraphs.size(); ++j) {
            const Paragraph& p = t.paragraphs[j];
            Format f = formatOf(p.kind);
            // Bullets sit close together; text after a list needs the usual gap above.
            if (p.kind == Paragraph::Kind::Text && j > 0 &&
                t.paragraphs[j - 1].kind == Paragraph::Kind::Bullet) {
                f.spaceAbove = 12;
            }
            records.push_back(textRecord(p.text, f, p.jumpTo));
        }
    }
    // An empty header closes the chain, as help compilers do.
    records.push_back(headerRecord(-1, ""));
    return records;
}

// Places the records in blocks (none straddles two) and fills in every position,
// link and topic header. Returns the |TOPIC file.
Bytes layOutTopics(std::vector<Record>& records) {
    std::size_t block = 0, used = 0;
    std::uint32_t chars = 0;
    for (auto& r : records) {
        if (used + r.size() > kBlockData) {
            ++block;
            used = 0;
            chars = 0;
        }
        r.pos = static_cast<std::uint32_t>(block * kPosStride + kBlockHeader + used);
        r.offset = static_cast<std::uint32_t>(block * kOffsetStride + chars);
        used += r.size();
        if (r.type == 0x20) {
            chars += static_cast<std::uint32_t>(r.data2.size());
        }
    }

    std::uint32_t topicNum = 0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        Record& r = records[i];
        if (r.type != 0x02) {
            continue;
        }
        std::uint32_t textSize = 0, nextHeader = kNone;
        std::size_t j = i + 1;
        for (; j < records.size() && records[j].type != 0x02; ++j) {
            textSize += static_cast<std::uint32_t>(records[j].size());
        }
        if (j < records.size()) {
            nextHeader = records[j].pos;
        }
        const bool trailing = r.topic < 0;
        set32(r.data1, 0, textSize);
        set32(r.data1, 4, kNone); // no browse sequence
        set32(r.data1, 8, kNone);
        set32(r.data1, 12, topicNum++);
        set32(r.data1, 16, kNone); // no non-scrolling region
        set32(r.data1, 20, trailing || i + 1 == j ? kNone : records[i + 1].pos);
        set32(r.data1, 24, trailing ? kNone : nextHeader);
    }

    const std::size_t blocks = block + 1;
    Bytes out(blocks * kBlockSize, 0);
    std::uint32_t lastLink = kNone, lastHeader = kNone;
    std::size_t currentBlock = SIZE_MAX;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Record& r = records[i];
        const std::size_t b = (r.pos - kBlockHeader) / kPosStride;
        if (b != currentBlock) {
            currentBlock = b;
            set32(out, b * kBlockSize, lastLink);
            set32(out, b * kBlockSize + 4, r.pos);
            set32(out, b * kBlockSize + 8, lastHeader);
        }
        Bytes rec;
        put32(rec, static_cast<std::uint32_t>(r.size()));
        put32(rec, static_cast<std::uint32_t>(r.data2.size()));
        put32(rec, i == 0 ? kNone : records[i - 1].pos);
        put32(rec, i + 1 == records.size() ? kNone : records[i + 1].pos);
        put32(rec, static_cast<std::uint32_t>(kLinkHeader + r.data1.size()));
        put8(rec, r.type);
        append(rec, r.data1);
        append(rec, r.data2);
        std::copy(rec.begin(), rec.end(),
                  out.begin() +
                      static_cast<std::ptrdiff_t>(b * kBlockSize + (r.pos - b * kPosStride)));
        lastLink = r.pos;
        if (r.type == 0x02) {
            lastHeader = r.pos;
        }
    }
    return out;
}

// A B+ tree that fits one leaf page, which is all a help file of a few topics needs.
Bytes oneLeafTree(unsigned flags, unsigned pageSize, const char* structure,
                  const std::vector<Bytes>& entries, const std::string& what) {
    Bytes b;
    put16(b, 0x293B);
    put16(b, flags);
    put16(b, pageSize);
    Bytes format(16, 0);
    std::copy(structure, structure + std::char_traits<char>::length(structure), format.begin());
    append(b, format);
    put16(b, 0);      // must be zero
    put16(b, 0);      // page splits
    put16(b, 0);      // root page
    put16(b, 0xFFFF); // must be -1
    put16(b, 1);      // total pages
    put16(b, 1);      // levels: the root is the leaf
    put32(b, static_cast<std::uint32_t>(entries.size()));
    std::size_t used = 8;
    for (const auto& e : entries) {
        used += e.size();
    }
    if (used > pageSize) {
        throw SourceError(0, what + " do not fit one " + std::to_string(pageSize) +
                                 "-byte page; shorten or merge topics");
    }
    put16(b, static_cast<unsigned>(pageSize - used));
    put16(b, static_cast<unsigned>(entries.size()));
    put16(b, 0xFFFF); // no previous leaf
    put16(b, 0xFFFF); // no next leaf
    for (const auto& e : entries) {
        append(b, e);
    }
    b.resize(38 + pageSize, 0);
    return b;
}

Bytes systemFile(const HelpSource& source, std::uint32_t genDate, std::uint32_t contentsOffset) {
    Bytes b;
    put16(b, 0x036C);
    put16(b, 21); // WinHelp 3.1
    put16(b, 1);
    put32(b, genDate);
    put16(b, 0); // no compression, 4 KB topic blocks
    put16(b, 1); // title
    put16(b, static_cast<unsigned>(source.title.size() + 1));
    putString(b, source.title);
    put16(b, 3); // contents topic
    put16(b, 4);
    put32(b, contentsOffset);
    // The main window's definition, so the viewer captions its window with the title
    // rather than a caption of its own. Only the name and caption fields are valid.
    Bytes window;
    put16(window, 0x0002 | 0x0004);
    Bytes fields(88, 0);
    const std::string name = "main";
    std::copy(name.begin(), name.end(), fields.begin() + 10);
    std::copy(source.title.begin(), source.title.end(), fields.begin() + 19);
    append(window, fields);
    put16(b, 6);
    put16(b, static_cast<unsigned>(window.size()));
    append(b, window);
    return b;
}

Bytes contextFile(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    std::map<std::int32_t, std::pair<std::uint32_t, std::string>> byHash; // signed order
    for (std::size_t i = 0; i < source.topics.size(); ++i) {
        const std::string name = source.topics[i].contextName();
        const std::uint32_t h = contextHash(name);
        const auto [it, fresh] =
            byHash.emplace(static_cast<std::int32_t>(h), std::pair{offsets[i], name});
        if (!fresh) {
            throw SourceError(source.topics[i].line,
                              "context names " + it->second.second + " and " + name + " collide");
        }
    }
    std::vector<Bytes> entries;
    for (const auto& [hash, target] : byHash) {
        Bytes e;
        put32(e, static_cast<std::uint32_t>(hash));
        put32(e, target.first);
        entries.push_back(e);
    }
    return oneLeafTree(0x0002, 0x0800, "L4", entries, "context names");
}

Bytes contextMapFile(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    std::map<int, std::uint32_t> byNumber;
    for (std::size_t i = 0; i < source.topics.size(); ++i) {
        if (!source.topics[i].isContents()) {
            byNumber[source.topics[i].number] = offsets[i];
        }
    }
    Bytes b;
    put16(b, static_cast<unsigned>(byNumber.size()));
    for (const auto& [number, offset] : byNumber) {
        put32(b, static_cast<std::uint32_t>(number));
        put32(b, offset);
    }
    return b;
}

Bytes titleFile(const HelpSource& source, const std::vector<std::uint32_t>& offsets) {
    std::vector<Bytes> entries; // topics are laid out in order, so offsets ascend
    for (std::size_t i = 0; i < source.topics.size(); ++i) {
        Bytes e;
        put32(e, offsets[i]);
        putString(e, source.topics[i].title);
        entries.push_back(e);
    }
    return oneLeafTree(0x0002, 0x0800, "Lz", entries, "topic titles");
}

void putFileHeader(Bytes& b, std::size_t used) {
    put32(b, static_cast<std::uint32_t>(used + 9)); // reserved: exactly what is used
    put32(b, static_cast<std::uint32_t>(used));
    put8(b, 4);
}

} // namespace

std::uint32_t contextHash(const std::string& name) {
    std::uint32_t h = 0;
    for (char ch : name) {
        const auto c = static_cast<unsigned char>(ch);
        std::uint32_t code;
        if (c >= '1' && c <= '9') {
            code = c - '0';
        } else if (c == '0') {
            code = 10;
        } else if (c == '.') {
            code = 12;
        } else if (c == '_') {
            code = 13;
        } else if (c >= 'A' && c <= 'Z') {
            code = 17 + (c - 'A');
        } else if (c >= 'a' && c <= 'z') {
            code = 17 + (c - 'a');
        } else {
            throw std::invalid_argument("context names allow letters, digits, '.' and '_' only");
        }
        h = h * 43 + code;
    }
    return h;
}

std::vector<std::uint8_t> writeHlp(const HelpSource& source, std::uint32_t genDate) {
    std::vector<Record> records = buildRecords(source);
    const Bytes topic = layOutTopics(records);
    std::vector<std::uint32_t> offsets(source.topics.size());
    for (const auto& r : records) {
        if (r.type == 0x02 && r.topic >= 0) {
            offsets[static_cast<std::size_t>(r.topic)] = r.offset;
        }
    }

    // Internal files in name order; the directory that follows them must be sorted too.
    const std::map<std::string, Bytes> files = {
        {"|CONTEXT", contextFile(source, offsets)},
        {"|CTXOMAP", contextMapFile(source, offsets)},
        {"|FONT", fontFile()},
        {"|SYSTEM", systemFile(source, genDate, offsets.front())},
        {"|TOPIC", topic},
        {"|TTLBTREE", titleFile(source, offsets)},
    };

    Bytes out(16, 0);
    std::vector<Bytes> entries;
    for (const auto& [name, data] : files) {
        Bytes e;
        putString(e, name);
        put32(e, static_cast<std::uint32_t>(out.size()));
        entries.push_back(e);
        putFileHeader(out, data.size());
        append(out, data);
    }
    const Bytes directory = oneLeafTree(0x0402, 0x0400, "z4", entries, "internal files");
    const auto directoryStart = static_cast<std::uint32_t>(out.size());
    putFileHeader(out, directory.size());
    append(out, directory);

    set32(out, 0, 0x00035F3F);
    set32(out, 4, directoryStart);
    set32(out, 8, kNone); // no free blocks
    set32(out, 12, static_cast<std::uint32_t>(out.size()));
    return out;
}

} // namespace hlpc
