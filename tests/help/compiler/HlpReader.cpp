#include "HlpReader.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace hlpread {

namespace {

[[noreturn]] void fail(const std::string& what) {
    throw std::runtime_error(what);
}

void require(bool ok, const std::string& what) {
    if (!ok) {
        fail(what);
    }
}

// Bounds-checked little-endian reading over a byte range.
class Cursor {
public:
    Cursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::size_t at() const { return at_; }
    std::size_t left() const { return size_ - at_; }
    void seek(std::size_t at) {
        require(at <= size_, "seek past the end");
        at_ = at;
    }
    std::uint32_t u8() { return take(1)[0]; }
    std::uint32_t u16() {
        const auto* p = take(2);
        return p[0] | (p[1] << 8);
    }
    std::uint32_t u32() {
        const auto* p = take(4);
        return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    }
    std::string stringz() {
        std::string s;
        for (char c; (c = static_cast<char>(u8())) != 0;) {
            s += c;
        }
        return s;
    }
    std::string bytes(std::size_t n) {
        const auto* p = take(n);
        return std::string(reinterpret_cast<const char*>(p), n);
    }
    // Compressed integers: the low bit of the first byte selects the short or long form.
    std::uint32_t cushort() { return peekOdd() ? (u16() - 1) / 2 : u8() / 2; }
    int csshort() {
        return peekOdd() ? static_cast<int>((u16() - 1) / 2) - 0x4000
                         : static_cast<int>(u8() / 2) - 0x40;
    }
    long cslong() {
        return peekOdd() ? static_cast<long>((u32() - 1) / 2) - 0x40000000L
                         : static_cast<long>(u16() / 2) - 0x4000;
    }

private:
    bool peekOdd() {
        require(at_ < size_, "compressed number past the end");
        return (data_[at_] & 1) != 0;
    }
    const std::uint8_t* take(std::size_t n) {
        require(n <= left(), "read past the end of a structure");
        const auto* p = data_ + at_;
        at_ += n;
        return p;
    }
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

struct Internal {
    const std::uint8_t* data;
    std::size_t size;
};

// The leaf entries of a B+ tree laid out in one page, the layout a small file uses.
struct Tree {
    std::size_t entries;
    Cursor leaf;
};

Tree readTree(Internal f, const char* structure) {
    Cursor c(f.data, f.size);
    require(c.u16() == 0x293B, "B+ tree magic");
    c.u16();
    const std::uint32_t pageSize = c.u16();
    const std::string format = c.bytes(16);
    require(std::strcmp(format.c_str(), structure) == 0, "B+ tree structure " + format);
    c.u16();
    c.u16();
    require(c.u16() == 0, "root page");
    c.u16();
    require(c.u16() == 1, "one page");
    require(c.u16() == 1, "one level");
    const std::uint32_t total = c.u32();
    require(f.size == 38 + pageSize, "tree size is header plus one page");
    Cursor leaf(f.data + 38, pageSize);
    const std::uint32_t freeBytes = leaf.u16();
    const std::uint32_t n = leaf.u16();
    require(n == total, "leaf entry count");
    require(leaf.u16() == 0xFFFF && leaf.u16() == 0xFFFF, "single leaf has no neighbours");
    (void)freeBytes;
    return {n, leaf};
}

class Reader {
public:
    explicit Reader(const std::vector<std::uint8_t>& b) : b_(b) {}

    File run() {
        Cursor h(b_.data(), b_.size());
        require(b_.size() >= 16 && h.u32() == 0x00035F3F, "file magic");
        const std::uint32_t dir = h.u32();
        require(h.u32() == 0xFFFFFFFF, "no free list");
        require(h.u32() == b_.size(), "EntireFileSize is the file's length");

        Tree t = readTree(internalAt(dir), "z4");
        std::string previous;
        for (std::size_t i = 0; i < t.entries; ++i) {
            const std::string name = t.leaf.stringz();
            require(i == 0 || previous < name, "directory sorted by byte value");
            file_.directory[name] = t.leaf.u32();
            previous = name;
        }
        readSystem();
        readFont();
        readTopics();
        readContext();
        readContextMap();
        readTitles();
        return std::move(file_);
    }

private:
    Internal internalAt(std::uint32_t at) {
        require(at + 9 <= b_.size(), "internal file header inside the file");
        Cursor c(b_.data() + at, 9);
        const std::uint32_t reserved = c.u32(), used = c.u32();
        require(reserved == used + 9, "no slack after an internal file");
        require(at + reserved <= b_.size(), "internal file inside the file");
        return {b_.data() + at + 9, used};
    }

    Internal internal(const std::string& name) {
        const auto it = file_.directory.find(name);
        require(it != file_.directory.end(), "missing internal file " + name);
        return internalAt(it->second);
    }

    void readSystem() {
        const Internal f = internal("|SYSTEM");
        Cursor c(f.data, f.size);
        require(c.u16() == 0x036C, "|SYSTEM magic");
        file_.minor = static_cast<std::uint16_t>(c.u16());
        require(c.u16() == 1, "|SYSTEM major");
        c.u32();
        file_.flags = static_cast<std::uint16_t>(c.u16());
        while (c.left() > 0) {
            const std::uint32_t type = c.u16(), size = c.u16();
            Cursor rec(f.data + c.at(), size);
            c.seek(c.at() + size);
            if (type == 1 && file_.title.empty()) {
                file_.title = rec.stringz();
                require(rec.left() == 0, "title record size");
            } else if (type == 6) {
                require(size == 90, "window definition holds 90 bytes");
                const std::uint32_t valid = rec.u16();
                rec.bytes(10);
                const std::string name = rec.bytes(9), caption = rec.bytes(51);
                require((valid & 0x0006) == 0x0006, "window name and caption marked valid");
                require(name.find('\0') != std::string::npos &&
                            caption.find('\0') != std::string::npos,
                        "window name and caption end in a NUL");
                file_.windowCaptions[name.c_str()] = caption.c_str();
            } else if (type == 3) {
                require(size == 4, "contents record holds 4 bytes");
                file_.contentsOffset = rec.u32();
            }
        }
    }

    void readFont() {
        const Internal f = internal("|FONT");
        Cursor c(f.data, f.size);
        const std::uint32_t faces = c.u16(), descriptors = c.u16();
        require(faces >= 1, "at least one face name");
        require(c.u16() == 8, "old-style font table");
        const std::uint32_t descAt = c.u16();
        require(descAt + descriptors * 11 == f.size, "font table size");
        file_.fonts = descriptors;
    }

    // Walks |TOPIC as a viewer does: the data areas of all blocks side by side, records
    // followed from the first one through their NextBlock links.
    void readTopics() {
        const Internal f = internal("|TOPIC");
        require(f.size > 0 && f.size % 4096 == 0, "|TOPIC is whole 4096-byte blocks");
        file_.topicBlocks = f.size / 4096;
        std::uint32_t pos = 0x0C, previous = 0xFFFFFFFF, lastBlock = 0;
        std::uint32_t chars = 0, lastHeader = 0xFFFFFFFF;
        std::size_t records = 0;
        Topic* topic = nullptr;
        std::uint32_t lastLink = 0xFFFFFFFF;
        bool closed = false;
        while (pos != 0xFFFFFFFF) {
            require(!closed, "records after the closing empty topic");
            const std::uint32_t block = (pos - 12) / 0x4000, inBlock = (pos - 12) % 0x4000;
            require(block < file_.topicBlocks && inBlock < 4084, "TOPICPOS inside |TOPIC");
            const std::uint8_t* base = f.data + block * 4096;
            if (block != lastBlock || records == 0) {
                require(records == 0 || block == lastBlock + 1, "records fill blocks in order");
                Cursor bh(base, 12);
                require(bh.u32() == lastLink, "block header LastTopicLink");
                require(bh.u32() == pos, "block header FirstTopicLink");
                require(bh.u32() == lastHeader, "block header LastTopicHeader");
                if (block != lastBlock) {
                    chars = 0;
                }
                lastBlock = block;
            }
            Cursor c(base + 12 + inBlock, 4084 - inBlock);
            const std::uint32_t size = c.u32(), len2 = c.u32();
            require(c.u32() == previous, "PrevBlock links back");
            const std::uint32_t next = c.u32(), len1 = c.u32(), type = c.u8();
            require(len1 >= 21 && size == len1 + len2, "record sizes agree");
            require(size <= 4084 - inBlock, "record stays inside its block");
            Cursor d1(base + 12 + inBlock + 21, len1 - 21);
            Cursor d2(base + 12 + inBlock + len1, len2);
            const std::uint32_t offset = block * 0x8000 + chars;
            if (type == 0x02) {
                require(d1.left() == 28, "topic header LinkData1 is 28 bytes");
                if (topic != nullptr) {
                    require(topicNext_ == pos, "NextTopic of the previous header");
                }
                d1.u32();
                d1.u32();
                d1.u32();
                require(d1.u32() == file_.topics.size(), "TopicNum counts topics");
                d1.u32();
                const std::uint32_t scroll = d1.u32();
                topicNext_ = d1.u32();
                std::string title = d2.bytes(len2);
                if (title.empty()) {
                    require(next == 0xFFFFFFFF, "the empty topic closes the chain");
                    closed = true;
                    topic = nullptr;
                } else {
                    file_.topics.push_back({title, pos, offset, {}});
                    topic = &file_.topics.back();
                    require(scroll == next, "Scroll names the first text record");
                }
                lastHeader = pos;
            } else if (type == 0x20) {
                require(topic != nullptr, "text record outside a topic");
                readText(d1, d2, *topic);
                chars += len2;
            } else {
                fail("unexpected record type " + std::to_string(type));
            }
            lastLink = pos;
            previous = pos;
            pos = next;
            ++records;
        }
        require(closed, "chain ends with an empty topic");
    }

    void readText(Cursor& d1, Cursor& d2, Topic& topic) {
        const long topicSize = d1.cslong();
        require(d1.cushort() == d2.left(), "TopicLength counts LinkData2");
        const std::size_t infoStart = d1.at();
        require(topicSize == static_cast<long>(d1.left()), "TopicSize");
        d1.bytes(4);
        const std::uint32_t bits = d1.u16();
        require((bits & 0x0101) == 0, "no unknown or border values");
        for (std::uint32_t bit = 0x02; bit <= 0x40; bit <<= 1) {
            if (bits & bit) {
                d1.csshort();
            }
        }
        if (bits & 0x0200) {
            for (int n = d1.csshort(); n > 0; --n) {
                if (d1.cushort() & 0x4000) {
                    d1.cushort();
                }
            }
        }
        (void)infoStart;
        Paragraph p;
        bool open = false;
        std::size_t hotspotStart = std::string::npos;
        std::uint32_t hotspotHash = 0;
        for (;;) {
            const std::string s = d2.stringz();
            p.text += s;
            open = open || !s.empty();
            const std::uint32_t command = d1.u8();
            if (command == 0xFF) {
                break;
            }
            switch (command) {
            case 0x80:
                p.font = d1.u16();
                require(p.font < file_.fonts, "font index within |FONT");
                break;
            case 0x82:
                require(hotspotStart == std::string::npos, "hotspot left open");
                topic.paragraphs.push_back(p);
                p = Paragraph{};
                open = false;
                break;
            case 0x83:
                p.text += '\t';
                open = true;
                break;
            case 0xE3: // topic jump by context hash
                require(hotspotStart == std::string::npos, "hotspot inside a hotspot");
                hotspotHash = d1.u32();
                hotspotStart = p.text.size();
                break;
            case 0x89:
                require(hotspotStart != std::string::npos, "hotspot end without a start");
                p.jumps.emplace_back(p.text.substr(hotspotStart), hotspotHash);
                hotspotStart = std::string::npos;
                break;
            default:
                fail("unexpected command byte " + std::to_string(command));
            }
        }
        require(!open, "text after the last paragraph end");
        require(d1.left() == 0 && d2.left() == 0, "record fully used");
    }

    void readContext() {
        Tree t = readTree(internal("|CONTEXT"), "L4");
        for (std::size_t i = 0; i < t.entries; ++i) {
            const std::uint32_t hash = t.leaf.u32();
            require(file_.context.empty() || static_cast<std::int32_t>(file_.context.back().first) <
                                                 static_cast<std::int32_t>(hash),
                    "|CONTEXT sorted by signed hash");
            file_.context.emplace_back(hash, t.leaf.u32());
        }
    }

    void readContextMap() {
        const Internal f = internal("|CTXOMAP");
        Cursor c(f.data, f.size);
        const std::uint32_t n = c.u16();
        require(f.size == 2 + n * 8, "|CTXOMAP size");
        for (std::uint32_t i = 0; i < n; ++i) {
            const std::uint32_t number = c.u32();
            file_.contextMap.emplace_back(number, c.u32());
        }
    }

    void readTitles() {
        Tree t = readTree(internal("|TTLBTREE"), "Lz");
        for (std::size_t i = 0; i < t.entries; ++i) {
            const std::uint32_t offset = t.leaf.u32();
            file_.titles.emplace_back(offset, t.leaf.stringz());
        }
    }

    const std::vector<std::uint8_t>& b_;
    File file_;
    std::uint32_t topicNext_ = 0;
};

} // namespace

const Topic* File::topicAt(std::uint32_t offset) const {
    const Topic* found = nullptr;
    for (const auto& t : topics) {
        if (t.offset <= offset && (found == nullptr || t.offset >= found->offset)) {
            found = &t;
        }
    }
    return found;
}

File readHlp(const std::vector<std::uint8_t>& bytes) {
    return Reader(bytes).run();
}

std::vector<std::uint8_t> readBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    require(static_cast<bool>(in), "cannot open " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t hashContextName(const std::string& name) {
    static const std::string order = "1234567890?._???ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::uint32_t h = 0;
    for (char c : name) {
        const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        const auto at = order.find(upper);
        require(at != std::string::npos && upper != '?', "illegal context character");
        h = h * 43 + static_cast<std::uint32_t>(at + 1);
    }
    return h;
}

} // namespace hlpread
