// The amount reader, fixed to the Spanish conventions instead of the machine's locale.
//
// Accepted: blanks (space, tab) around the number; one leading "+" or "-" directly before
// the number; whole-part digits, in which a "." separates groups: it may stand only after
// a digit and where groups of exactly three digits follow it up to the "," or the end
// ("1.000", "1.234.567,89"); then optionally "," and decimals. Either part may be empty but
// not both: ",5" reads 0,5 and "5," reads 5 (as the text stands while a user types "5,25").
// Refused as not a number: any other "." ("12.50", "0.99", "1.5", ".5", "5.", "1..0",
// "1.0000"), because a "." typed for a decimal point must never be read as a thousands
// point; a "." among the decimals, blanks between the sign and the digits, and anything else.
//
// Up to four decimals are kept. The fifth decides the rounding, half away from zero; with
// that rule the digits after the fifth can never change the result, so they are only
// checked to be digits.
#include "amounts/Int128.h"
#include "amounts/moneda.h"

#include <cstdint>
#include <limits>

namespace moneda {

namespace {

using detail::UInt128;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Whether the "." at `dot` is a group separator: after a digit, followed by exactly three
// digits and then another ".", the "," or the end. Checked at every ".", this makes the
// whole run after the first one a sequence of three-digit groups.
bool IsGroupSeparator(std::string_view number, std::size_t dot, std::size_t wholeDigits) {
    if (wholeDigits == 0 || number.size() - dot < 4)
        return false;
    for (std::size_t k = dot + 1; k <= dot + 3; ++k) {
        if (!IsDigit(number[k]))
            return false;
    }
    const std::size_t after = dot + 4;
    return after == number.size() || number[after] == '.' || number[after] == ',';
}
unsigned DigitValue(char c) {
    return static_cast<unsigned>(c - '0');
}

// Beyond this the whole part can only be out of range; further digits just keep the flag.
constexpr std::uint64_t kWholeCap = std::numeric_limits<std::uint64_t>::max() / 10 - 1;

} // namespace

Currency ParseCurrency(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    const std::string_view number = text.substr(begin, end - begin);

    std::size_t i = 0;
    bool negative = false;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
        negative = number[i] == '-';
        ++i;
    }

    std::uint64_t whole = 0;
    bool tooLarge = false;
    std::size_t wholeDigits = 0;
    while (i < number.size()) {
        const char c = number[i];
        if (IsDigit(c)) {
            if (whole > kWholeCap)
                tooLarge = true;
            else
                whole = whole * 10 + DigitValue(c);
            ++wholeDigits;
            ++i;
        } else if (c == '.') {
            if (!IsGroupSeparator(number, i, wholeDigits))
                return Currency::Invalid(0);
            ++i;
        } else {
            break;
        }
    }

    std::uint64_t decimals = 0; // the first four decimals, as ten-thousandths
    std::size_t decimalDigits = 0;
    bool roundUp = false;
    if (i < number.size() && number[i] == ',') {
        ++i;
        for (; i < number.size() && IsDigit(number[i]); ++i) {
            if (decimalDigits < 4)
                decimals = decimals * 10 + DigitValue(number[i]);
            else if (decimalDigits == 4)
                roundUp = DigitValue(number[i]) >= 5;
            ++decimalDigits;
        }
    }
    if (i != number.size() || (wholeDigits == 0 && decimalDigits == 0))
        return Currency::Invalid(0);

    for (std::size_t d = decimalDigits; d < 4; ++d)
        decimals *= 10;

    constexpr auto kMaxMagnitude =
        static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    const UInt128 limit = UInt128{kMaxMagnitude} + (negative ? 1 : 0);
    const UInt128 magnitude = UInt128{whole} * 10000 + decimals + (roundUp ? 1 : 0);
    if (tooLarge || magnitude > limit)
        return Currency::Invalid(std::numeric_limits<std::int64_t>::min());

    // Two's-complement negation in unsigned arithmetic, so 2^63 becomes INT64_MIN exactly.
    const auto bits = static_cast<std::uint64_t>(magnitude);
    const std::uint64_t signedBits = negative ? std::uint64_t{0} - bits : bits;
    return Currency(static_cast<std::int64_t>(signedBits));
}

Currency ParseAmount(std::string_view text) {
    if (text.empty())
        return Currency(0);
    const Currency read = ParseCurrency(text);
    return read.isValid() ? read : Currency(0);
}

} // namespace moneda
