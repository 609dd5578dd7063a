#include "tests/support/TestSupport.h"

#include <shellapi.h>

namespace testsupport {

std::wstring argumentEndingWith(const std::wstring& tail) {
    int count = 0;
    LPWSTR* args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args)
        return {};
    std::wstring found;
    for (int i = 1; i < count && found.empty(); ++i) {
        const std::wstring arg = args[i];
        if (arg.size() >= tail.size() &&
            arg.compare(arg.size() - tail.size(), tail.size(), tail) == 0)
            found = arg;
    }
    LocalFree(args);
    return found;
}

} // namespace testsupport
