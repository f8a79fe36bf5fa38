// Digit writing shared by the text writers. Everything works on unsigned magnitudes so that
// the most negative 64-bit value, whose magnitude has no signed counterpart, needs no care.
#pragma once

#include "amounts/Int128.h"

#include <cstdint>
#include <string>

namespace moneda::detail {

// |value| as an unsigned number, without the overflow of negating INT64_MIN.
std::uint64_t Magnitude(std::int64_t value);

// The decimal digits of a magnitude, "0" for zero.
std::string PlainDigits(UInt128 magnitude);

// The decimal digits with "." between groups of three, counted from the right.
std::string GroupedDigits(UInt128 magnitude);

// A magnitude in ten-thousandths split into whole units and hundredths, the hundredths
// rounded half away from zero on the two dropped digits. `hundredths` can come out as 100
// (from x,9950 up); callers decide how that carries into the whole part.
struct Hundredths {
    UInt128 whole;
    unsigned hundredths;
};
Hundredths SplitHundredths(UInt128 tenThousandths);

// Whole units and two-digit cents as the euro writers show them: 100 cents carry into the
// whole part.
std::string EuroDigits(UInt128 tenThousandths);

} // namespace moneda::detail
