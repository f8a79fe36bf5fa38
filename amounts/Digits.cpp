#include "amounts/Digits.h"

#include <algorithm>

namespace moneda::detail {

std::uint64_t Magnitude(std::int64_t value)
{
    // Unsigned negation is modular, so 0 - (uint64)INT64_MIN is exactly 2^63.
    const auto bits = static_cast<std::uint64_t>(value);
    return value < 0 ? std::uint64_t{0} - bits : bits;
}

std::string PlainDigits(UInt128 magnitude)
{
    std::string digits;
    do {
        digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string GroupedDigits(UInt128 magnitude)
{
    std::string digits;
    int inGroup = 0;
    do {
        if (inGroup == 3) {
            digits.push_back('.');
            inGroup = 0;
        }
        digits.push_back(static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        ++inGroup;
        magnitude /= 10;
    } while (magnitude != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

Hundredths SplitHundredths(UInt128 tenThousandths)
{
    const auto frac = static_cast<unsigned>(tenThousandths % 10000);
    unsigned hundredths = frac / 100;
    if (frac % 100 >= 50)
        ++hundredths;
    return {tenThousandths / 10000, hundredths};
}

std::string EuroDigits(UInt128 tenThousandths)
{
    Hundredths split = SplitHundredths(tenThousandths);
    if (split.hundredths == 100) {
        split.hundredths = 0;
        ++split.whole;
    }
    std::string text = GroupedDigits(split.whole);
    text.push_back(',');
    text.push_back(static_cast<char>('0' + split.hundredths / 10));
    text.push_back(static_cast<char>('0' + split.hundredths % 10));
    return text;
}

} // namespace moneda::detail
