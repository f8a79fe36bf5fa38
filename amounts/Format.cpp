#include "amounts/Digits.h"
#include "amounts/moneda.h"

#include <cstddef>

namespace moneda {

using detail::Magnitude;

std::string FormatThousands(std::int64_t value)
{
    // Groups continue past the fifth, so every 64-bit value is grouped in threes.
    std::string text = value < 0 ? "-" : "";
    text += detail::GroupedDigits(Magnitude(value));
    return text;
}

std::string FormatDigits(std::int32_t value)
{
    // Callers pass non-negative numbers; a negative one is written with its "-".
    std::string text = value < 0 ? "-" : "";
    text += detail::PlainDigits(Magnitude(value));
    return text;
}

std::string PadZeros(std::string_view text, int n)
{
    // The last n characters of 46 zeros followed by the text; a count past that run gives
    // the whole run, a count below one gives nothing.
    std::string run(46, '0');
    run.append(text);
    if (n <= 0)
        return {};
    const auto count = static_cast<std::size_t>(n);
    if (count >= run.size())
        return run;
    return run.substr(run.size() - count);
}

std::string FormatEuros(Currency v)
{
    std::string text = v.value() < 0 ? "-" : "";
    text += detail::EuroDigits(Magnitude(v.value()));
    return text;
}

std::string FormatPlainEuros(Currency v)
{
    const std::uint64_t magnitude = Magnitude(v.value());
    std::string text = v.value() < 0 ? "-" : "";
    text += detail::PlainDigits(magnitude / 10000);
    auto decimals = static_cast<unsigned>(magnitude % 10000);
    if (decimals != 0) {
        int width = 4;
        while (decimals % 10 == 0) {
            decimals /= 10;
            --width;
        }
        const std::string digits = detail::PlainDigits(decimals);
        text.push_back(',');
        text.append(static_cast<std::size_t>(width) - digits.size(), '0');
        text += digits;
    }
    return text;
}

} // namespace moneda
