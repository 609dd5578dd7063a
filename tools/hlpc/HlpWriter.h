// Writes a WinHelp 3.1 file (uncompressed) from a parsed help source: |SYSTEM, |FONT,
// |TOPIC, |CONTEXT, |CTXOMAP and |TTLBTREE in an internal file system.
#pragma once

#include "HelpSource.h"

#include <cstdint>
#include <vector>

namespace hlpc {

// The hash WinHelp keys |CONTEXT with. Defined for A-Z, a-z, 0-9, '.' and '_' only.
std::uint32_t contextHash(const std::string& name);

// The whole .hlp file. genDate is the build time as a Unix time; viewers use it to notice
// that a cached index is out of date. Throws SourceError when the topics do not fit.
std::vector<std::uint8_t> writeHlp(const HelpSource& source, std::uint32_t genDate);

} // namespace hlpc
