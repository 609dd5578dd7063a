#pragma once

#include <cstdint>
#include <string>

namespace hlpc {

// Reads the help source at sourcePath and writes the help file to outPath. On any fault
// it throws (SourceError for faults of the source) and leaves no file at outPath, not
// even one from an earlier run, so a build can never ship stale help.
void compileHelp(const std::string& sourcePath, const std::string& outPath, std::uint32_t genDate);

} // namespace hlpc
