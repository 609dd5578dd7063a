#pragma once
// A structural check of a shell-link (".lnk") file's bytes, done before the shell's own
// loader ever sees them: that loader trusts the file's size fields, and a damaged one makes
// it read far past its buffers. The check reads nothing but the bytes given and interprets
// no content; it only tells whether every part adds up.
#include <cstddef>
#include <cstdint>
#include <span>

namespace shortcuts {

// The largest shortcut file read at all. A shell link's variable parts are an item ID
// list (at most 64 KiB), link information and five counted strings (at most 128 KiB each);
// real shortcuts are a few KiB. 1 MiB leaves room for every well-formed file anyone
// makes while keeping a huge or endless file from being read into memory.
inline constexpr std::size_t MaxLinkFileSize = 1024 * 1024;

// True when `bytes` hold a complete shell-link file: the header with its size and class,
// then each part its flags announce, every size and offset inside the file and inside
// the part that holds it, each part ending exactly where the next begins, and the extra
// data closed by its terminal block. Anything else, or more than MaxLinkFileSize bytes,
// is false.
bool IsWellFormedLink(std::span<const std::uint8_t> bytes);

} // namespace shortcuts
