// Euro/peseta conversion at the fixed rate. Products go through 128 bits so that every
// 64-bit amount converts: v × 166386 needs up to 82 bits. Magnitudes are rounded and the
// sign is written in front, so a negative amount converts to the negative of its opposite.
#include "amounts/Digits.h"
#include "amounts/Int128.h"
#include "amounts/moneda.h"

namespace moneda {

using detail::Int128;
using detail::UInt128;

namespace {

UInt128 Magnitude128(Int128 value)
{
    return value < 0 ? UInt128{0} - static_cast<UInt128>(value) : static_cast<UInt128>(value);
}

} // namespace

std::string EurosToPesetasText(Currency euros)
{
    // Ten-thousandths of a peseta, truncated toward zero, then rounded in two steps: to the
    // hundredth, and that to the whole peseta (so x,4950 and up rounds up).
    const Int128 pesetas = Int128{euros.value()} * EURO_PESETAS / 1000;
    detail::Hundredths split = detail::SplitHundredths(Magnitude128(pesetas));
    if (split.hundredths >= 50)
        ++split.whole;
    std::string text = euros.value() < 0 ? "-" : "";
    text += detail::GroupedDigits(split.whole);
    return text;
}

std::string PesetasToEurosText(Currency pesetas)
{
    // The quotient is smaller than the amount, so it always fits back into 64 bits.
    const Int128 euros = Int128{pesetas.value()} * 1000 / EURO_PESETAS;
    std::string text = pesetas.value() < 0 ? "-" : "";
    text += detail::EuroDigits(Magnitude128(euros));
    return text;
}

} // namespace moneda
