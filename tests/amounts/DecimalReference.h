// An independent reference for the conversions: school arithmetic on decimal digit
// strings, sharing no code and no integer width with the library.
#pragma once

#include <cstdint>
#include <string>

namespace reference {

// The decimal digits of |value| ("0" for zero).
std::string MagnitudeDigits(std::int64_t value);

// digits × factor, digits / divisor (truncated), both on non-negative digit strings.
std::string Multiply(const std::string& digits, unsigned factor);
std::string Divide(const std::string& digits, unsigned divisor);

// The expected texts of the two conversions, following their rounding rules on strings.
std::string EurosToPesetas(std::int64_t euros);
std::string PesetasToEuros(std::int64_t pesetas);

// The value of a text of digits with "." groups and at most one "," ("1.234,56" at four
// implied decimals = 12345600), or false when it does not fit in 64 bits.
bool TextToTenThousandths(const std::string& text, std::int64_t& value);

} // namespace reference
