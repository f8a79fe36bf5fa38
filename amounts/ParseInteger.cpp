#include "amounts/moneda.h"

#include <cstdint>
#include <limits>

namespace moneda {

std::int32_t ParseInteger(std::string_view text)
{
    // The magnitude saturates instead of wrapping: once it passes 2^31 no 32-bit result can
    // show it, so a longer run of digits reads as INT32_MAX, or INT32_MIN with a leading "-".
    constexpr std::int64_t kCap = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    std::int64_t magnitude = 0;
    for (const char c : text) {
        if (c == ',')
            break;
        if (c >= '0' && c <= '9') {
            magnitude = magnitude * 10 + (c - '0');
            if (magnitude > kCap)
                magnitude = kCap;
        }
    }
    if (!text.empty() && text.front() == '-')
        return static_cast<std::int32_t>(-magnitude); // -2^31 at the cap, which fits
    if (magnitude > std::numeric_limits<std::int32_t>::max())
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(magnitude);
}

} // namespace moneda
