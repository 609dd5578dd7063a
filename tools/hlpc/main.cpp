// hlpc: compiles a plain-text help source into a WinHelp file.
//   hlpc [--date UNIXTIME] SOURCE OUTPUT
// The date defaults to SOURCE_DATE_EPOCH when set (reproducible builds), else now.
#include "Compile.h"
#include "HelpSource.h"

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>

int main(int argc, char** argv) {
    std::uint32_t date = static_cast<std::uint32_t>(std::time(nullptr));
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        date = static_cast<std::uint32_t>(std::strtoul(epoch, nullptr, 10));
    }
    int arg = 1;
    if (argc == 5 && std::string(argv[1]) == "--date") {
        date = static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10));
        arg = 3;
    }
    if (argc - arg != 2) {
        std::cerr << "usage: hlpc [--date UNIXTIME] SOURCE OUTPUT\n";
        return 2;
    }
    const std::string source = argv[arg], output = argv[arg + 1];
    try {
        hlpc::compileHelp(source, output, date);
    } catch (const hlpc::SourceError& e) {
        // The compiler's usual "file:line: error:" form, so editors jump to the line.
        std::cerr << source << ':' << (e.line() > 0 ? std::to_string(e.line()) + ":" : "")
                  << " error: " << e.what() << '\n';
        return 1;
    } catch (const std::exception& e) {
        std::cerr << "hlpc: error: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
