// Saves a shortcut through the shell: MakeShortcut <link file> <target>. Used to lay out
// orphaned shortcuts for the screenshots.
#include "tests/shortcuts/LinkFixtures.h"

#include <exception>

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    try {
        linkfixtures::makeShortcut(argv[1], argv[2]);
        return 0;
    } catch (const std::exception&) {
        return 1;
    }
}
