#include "Compile.h"

#include "HelpSource.h"
#include "HlpWriter.h"

#include <cstdio>
#include <fstream>

namespace hlpc {

void compileHelp(const std::string& sourcePath, const std::string& outPath, std::uint32_t genDate) {
    std::remove(outPath.c_str());
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot open " + sourcePath);
    }
    const auto bytes = writeHlp(parseHelpSource(in), genDate);

    // Written beside the target and renamed into place: an interrupted build leaves no
    // half-written help file.
    const std::string temp = outPath + ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) {
            std::remove(temp.c_str());
            throw std::runtime_error("cannot write " + temp);
        }
    }
    if (std::rename(temp.c_str(), outPath.c_str()) != 0) {
        std::remove(temp.c_str());
        throw std::runtime_error("cannot rename " + temp + " to " + outPath);
    }
}

} // namespace hlpc
