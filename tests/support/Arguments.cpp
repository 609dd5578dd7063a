#include "tests/support/TestSupport.h"

#include <stdlib.h>

namespace testsupport {

std::string argumentEndingWith(const std::string& tail) {
    for (int i = 1; i < __argc; ++i) {
        const std::string arg = __argv[i];
        if (arg.size() >= tail.size() &&
            arg.compare(arg.size() - tail.size(), tail.size(), tail) == 0)
            return arg;
    }
    return {};
}

} // namespace testsupport
