#pragma once

#include <cstdint>
#include <string>

namespace hlpc {

// Reads the help source at sourcePath and writes the help file to outPath. On any fault
// it throws (SourceError for faults of the source) and leaves no file at outPath, not
// even one from an earlier run, so a build can never ship stale help.
void compileHelp(const std::string& sourcePath, const std::string& outPath, std::uint32_t genDate);

// Reads the help source and writes the HTML Help project projectPath (BASE.hhp) with its
// contents, index and pages beside it, in the project's folder, which must exist. On a
// fault of the source it throws SourceError and leaves no project file.
void compileHtmlHelpProject(const std::string& sourcePath, const std::string& projectPath);

} // namespace hlpc
