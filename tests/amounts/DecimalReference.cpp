#include "DecimalReference.h"

#include <algorithm>

namespace reference {

namespace {

std::string StripLeadingZeros(std::string digits)
{
    const auto first = digits.find_first_not_of('0');
    return first == std::string::npos ? "0" : digits.substr(first);
}

// Splits off the last n digits (left-padded with zeros as needed).
void SplitLast(const std::string& digits, std::size_t n, std::string& head, std::string& tail)
{
    std::string padded = std::string(n + 1 > digits.size() ? n + 1 - digits.size() : 0, '0') + digits;
    head = StripLeadingZeros(padded.substr(0, padded.size() - n));
    tail = padded.substr(padded.size() - n);
}

std::string AddOne(std::string digits)
{
    int i = static_cast<int>(digits.size()) - 1;
    while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9') {
        digits[static_cast<std::size_t>(i)] = '0';
        --i;
    }
    if (i < 0)
        return "1" + digits;
    ++digits[static_cast<std::size_t>(i)];
    return digits;
}

std::string Group(const std::string& digits)
{
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += '.';
        out += digits[i];
    }
    return out;
}

// Half away from zero on the last two of four fraction digits: "3860" -> 39.
int RoundedHundredths(const std::string& four)
{
    const int hundredths = (four[0] - '0') * 10 + (four[1] - '0');
    return four[2] >= '5' ? hundredths + 1 : hundredths;
}

} // namespace

std::string MagnitudeDigits(std::int64_t value)
{
    std::string digits;
    // Digit by digit on the signed value: each remainder is taken with its sign removed.
    do {
        const int r = static_cast<int>(value % 10);
        digits += static_cast<char>('0' + (r < 0 ? -r : r));
        value /= 10;
    } while (value != 0);
    std::reverse(digits.begin(), digits.end());
    return digits;
}

std::string Multiply(const std::string& digits, unsigned factor)
{
    std::string out;
    unsigned long long carry = 0;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        const unsigned long long t = static_cast<unsigned long long>(*it - '0') * factor + carry;
        out += static_cast<char>('0' + t % 10);
        carry = t / 10;
    }
    while (carry > 0) {
        out += static_cast<char>('0' + carry % 10);
        carry /= 10;
    }
    std::reverse(out.begin(), out.end());
    return StripLeadingZeros(out);
}

std::string Divide(const std::string& digits, unsigned divisor)
{
    std::string out;
    unsigned long long rest = 0;
    for (const char c : digits) {
        rest = rest * 10 + static_cast<unsigned long long>(c - '0');
        out += static_cast<char>('0' + rest / divisor);
        rest %= divisor;
    }
    return StripLeadingZeros(out);
}

std::string EurosToPesetas(std::int64_t euros)
{
    // ten-thousandths of a peseta = |euros| × 166386 / 1000, truncated
    const std::string p = Divide(Multiply(MagnitudeDigits(euros), 166386), 1000);
    std::string whole, frac;
    SplitLast(p, 4, whole, frac);
    if (RoundedHundredths(frac) >= 50)
        whole = AddOne(whole);
    return (euros < 0 ? "-" : "") + Group(whole);
}

std::string PesetasToEuros(std::int64_t pesetas)
{
    const std::string e = Divide(Multiply(MagnitudeDigits(pesetas), 1000), 166386);
    std::string whole, frac;
    SplitLast(e, 4, whole, frac);
    int cents = RoundedHundredths(frac);
    if (cents == 100) {
        cents = 0;
        whole = AddOne(whole);
    }
    const std::string centText{static_cast<char>('0' + cents / 10), static_cast<char>('0' + cents % 10)};
    return (pesetas < 0 ? "-" : "") + Group(whole) + "," + centText;
}

bool TextToTenThousandths(const std::string& text, std::int64_t& value)
{
    bool negative = false;
    std::string whole, frac;
    bool inFrac = false;
    for (const char c : text) {
        if (c == '-')
            negative = true;
        else if (c == ',')
            inFrac = true;
        else if (c >= '0' && c <= '9')
            (inFrac ? frac : whole) += c;
    }
    frac.resize(4, '0');
    const std::string digits = StripLeadingZeros(whole + frac);
    // Compare as strings against the 64-bit limits, then build the value negatively so
    // that the most negative value needs no special case.
    const std::string limit = negative ? "9223372036854775808" : "9223372036854775807";
    if (digits.size() > limit.size() || (digits.size() == limit.size() && digits > limit))
        return false;
    std::int64_t v = 0;
    for (const char c : digits)
        v = v * 10 - (c - '0');
    value = negative ? v : -v;
    return true;
}

} // namespace reference
