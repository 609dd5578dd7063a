#include "Compile.h"

#include "HelpSource.h"
#include "HlpWriter.h"
#include "HtmlHelpWriter.h"

#include <cstdio>
#include <fstream>

namespace hlpc {

namespace {

HelpSource readSource(const std::string& sourcePath) {
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + sourcePath);
    }
    return parseHelpSource(in);
}

// Written beside the target and renamed into place: an interrupted build leaves no
// half-written file.
void writeFile(const std::string& path, const char* data, std::size_t size) {
    const std::string temp = path + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(data, static_cast<std::streamsize>(size));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            throw std::runtime_error("cannot write " + temp);
        }
    }
    std::remove(path.c_str()); // rename does not replace a file everywhere
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        throw std::runtime_error("cannot rename " + temp + " to " + path);
    }
}

} // namespace

void compileHelp(const std::string& sourcePath, const std::string& outPath, std::uint32_t genDate) {
    std::remove(outPath.c_str());
    const auto bytes = writeHlp(readSource(sourcePath), genDate);
    writeFile(outPath, reinterpret_cast<const char*>(bytes.data()), bytes.size());
}

void compileHtmlHelpProject(const std::string& sourcePath, const std::string& projectPath) {
    std::remove(projectPath.c_str());
    const auto slash = projectPath.find_last_of("/\\");
    const std::string folder = slash == std::string::npos ? "" : projectPath.substr(0, slash + 1);
    std::string base = projectPath.substr(folder.size());
    base = base.substr(0, base.rfind('.'));
    const auto files = writeHtmlHelpProject(readSource(sourcePath), base);
    // The project file last: it is there only when everything it names is.
    for (auto f = files.rbegin(); f != files.rend(); ++f) {
        writeFile(folder + f->name, f->text.data(), f->text.size());
    }
}

} // namespace hlpc
