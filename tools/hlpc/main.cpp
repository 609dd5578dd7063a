// hlpc: compiles a plain-text help source into a WinHelp file, or into an HTML Help
// project for an HTML Help compiler.
//   hlpc [--date UNIXTIME] SOURCE OUTPUT.hlp
//   hlpc --html SOURCE PROJECT.hhp
// The date defaults to SOURCE_DATE_EPOCH when set (reproducible builds), else now.
#include "Compile.h"
#include "HelpSource.h"

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::uint32_t date = static_cast<std::uint32_t>(std::time(nullptr));
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH")) {
        date = static_cast<std::uint32_t>(std::strtoul(epoch, nullptr, 10));
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    bool html = false;
    if (args.size() == 4 && args[0] == "--date") {
        date = static_cast<std::uint32_t>(std::strtoul(args[1].c_str(), nullptr, 10));
        args.erase(args.begin(), args.begin() + 2);
    } else if (args.size() == 3 && args[0] == "--html") {
        html = true;
        args.erase(args.begin());
    }
    if (args.size() != 2) {
        std::cerr << "usage: hlpc [--date UNIXTIME] SOURCE OUTPUT.hlp\n"
                     "       hlpc --html SOURCE PROJECT.hhp\n";
        return 2;
    }
    const std::string& source = args[0];
    try {
        if (html) {
            hlpc::compileHtmlHelpProject(source, args[1]);
        } else {
            hlpc::compileHelp(source, args[1], date);
        }
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
