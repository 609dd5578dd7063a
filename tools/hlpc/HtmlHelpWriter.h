// Writes an HTML Help project from a parsed help source, for an HTML Help compiler
// (Debian's chmcmd, or Microsoft's hhc) to turn into a .chm: one page per topic with the
// same text and links as the WinHelp file, a contents file, an index and a context map
// that gives each numbered topic its number.
#pragma once

#include "HelpSource.h"

#include <string>
#include <vector>

namespace hlpc {

struct ProjectFile {
    std::string name; // a plain file name: the project is one folder
    std::string text;
};

// The page a topic is written to: its context name in lower case ("contents.htm",
// "idh_2.htm").
std::string pageName(const Topic& topic);

// The project named `baseName`: BASE.hhp first (it names BASE.chm, BASE.hhc and BASE.hhk),
// then BASE.hhc, BASE.hhk and the pages in topic order.
std::vector<ProjectFile> writeHtmlHelpProject(const HelpSource& source,
                                              const std::string& baseName);

} // namespace hlpc
