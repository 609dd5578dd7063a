#pragma once
// The real-world shortcut corpus inside the prefix, and damaged copies of its files.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace linkcorpus {

using Bytes = std::vector<std::uint8_t>;

struct Shortcut {
    std::string name; // the path below the corpus, e.g. "Win7\Notepad.lnk"
    Bytes bytes;
};

// The corpus as the build packed it, passed to the test as an argument ending with
// "lnk-corpus.pack". Throws std::runtime_error when it is missing or damaged.
std::vector<Shortcut> load();

// A size, count or offset field of a well-formed shell link: where it is and how wide.
struct SizeField {
    std::string name; // as the format names it: "IDListSize", "ItemIDSize"...
    std::size_t offset;
    std::size_t width; // 2 or 4
};
// Every such field of `link` (the header's size, the ID list's and each item's size, the
// link information's sizes and offsets, the strings' counts, the extra blocks' sizes).
std::vector<SizeField> sizeFields(const Bytes& link);
// The first field of that name; throws when there is none.
SizeField findField(const Bytes& link, const std::string& name);
std::uint32_t getField(const Bytes& link, const SizeField& field);
void setField(Bytes& link, const SizeField& field, std::uint32_t value);

// `count` damaged copies of the corpus's shell links, the same for the same seed: bits
// flipped, files cut short, and size fields set to 0, 1, 0xFFFF and other wrong values.
std::vector<Bytes> mutants(const std::vector<Shortcut>& corpus, std::size_t count,
                           std::uint32_t seed);

} // namespace linkcorpus
