#include "tools/LinkScrambler.h"

#include "amounts/EnlaceClave.h"

namespace talvero_tools {

namespace {

// With the selector, units and tens digits s, u, t, the reader computes
// ('0' + u) + 10 × ('0' + t) − term − offset = 528 + u + 10t − term − offset, so the two
// digits must hold byte + term + offset − 528, which has to lie in 0..99.
constexpr int kDigitBase = '0' + 10 * '0';

std::optional<std::string> ScrambleByte(unsigned char byte, std::size_t group)
{
    // Vary the first selector tried so that equal bytes do not look alike; any selector
    // whose key keeps the two digits in range will do.
    const std::size_t first = (group * 7 + byte * 3u) % 10;
    for (std::size_t step = 0; step < 10; ++step) {
        const auto selector = static_cast<unsigned char>('0' + (first + step) % 10);
        const int term = moneda::enlace::SignoClave(group) * moneda::enlace::Clave(selector, group);
        const int digits = byte + term + moneda::enlace::kDesplazamiento - kDigitBase;
        if (digits >= 0 && digits <= 99) {
            std::string stored;
            stored.push_back(static_cast<char>(selector));
            stored.push_back(static_cast<char>('0' + digits % 10));
            stored.push_back(static_cast<char>('0' + digits / 10));
            return stored;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> ScrambleLink(std::string_view link)
{
    std::string stored;
    stored.reserve(link.size() * 3);
    for (std::size_t group = 0; group < link.size(); ++group) {
        const auto piece = ScrambleByte(static_cast<unsigned char>(link[group]), group);
        if (!piece)
            return std::nullopt;
        stored += *piece;
    }
    return stored;
}

} // namespace talvero_tools
