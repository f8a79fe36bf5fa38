// Prints the stored form of a link, ready to paste into a C++ string literal.
// Usage: scramble_link LINK
#include "amounts/moneda.h"
#include "tools/LinkScrambler.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s LINK\n", argc > 0 ? argv[0] : "scramble_link");
        return 2;
    }
    const std::string link = argv[1];
    const auto stored = talvero_tools::ScrambleLink(link);
    if (!stored) {
        std::fprintf(stderr, "scramble_link: the link has a character that cannot be stored\n");
        return 1;
    }
    // The reader in the program must give the link back; anything else is a bug here.
    if (moneda::ObtenerEnlace(*stored) != link) {
        std::fprintf(stderr, "scramble_link: the stored form does not read back\n");
        return 1;
    }
    std::printf("%s\n", stored->c_str());
    return 0;
}
