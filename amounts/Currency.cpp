#include "amounts/Currency.h"

#include <limits>

namespace moneda {

namespace {

constexpr std::int64_t kMin = std::numeric_limits<std::int64_t>::min();

// Sums and differences share their status rule. A non-valid result carries no amount, so
// its value is zero; only an overflowing sum keeps the (wrapped) value it computed.
bool EitherNull(const Currency& a, const Currency& b)
{
    return a.status() == Currency::Status::Null || b.status() == Currency::Status::Null;
}

bool EitherInvalid(const Currency& a, const Currency& b)
{
    return a.status() == Currency::Status::Invalid || b.status() == Currency::Status::Invalid;
}

} // namespace

Currency Currency::Null()
{
    Currency c;
    c.status_ = Status::Null;
    return c;
}

Currency Currency::Invalid(std::int64_t value)
{
    Currency c(value);
    c.status_ = Status::Invalid;
    return c;
}

Currency operator+(Currency a, Currency b)
{
    if (EitherNull(a, b))
        return Currency::Null();
    if (EitherInvalid(a, b))
        return Currency::Invalid(0);
    std::int64_t sum = 0;
    // The builtin stores the wrapped two's-complement sum when it overflows.
    if (__builtin_add_overflow(a.value(), b.value(), &sum))
        return Currency::Invalid(sum);
    return Currency(sum);
}

Currency operator-(Currency a, Currency b)
{
    if (EitherNull(a, b))
        return Currency::Null();
    if (EitherInvalid(a, b))
        return Currency::Invalid(0);
    std::int64_t difference = 0;
    if (__builtin_sub_overflow(a.value(), b.value(), &difference))
        return Currency::Invalid(difference);
    return Currency(difference);
}

Currency operator*(Currency a, std::int32_t factor)
{
    if (!a.isValid())
        return a;
    if (factor == 0)
        return Currency(0);
    std::int64_t product = 0;
    if (__builtin_mul_overflow(a.value(), std::int64_t{factor}, &product))
        return Currency::Invalid(kMin);
    return Currency(product);
}

Currency operator/(Currency a, std::int32_t divisor)
{
    if (!a.isValid())
        return a;
    // INT64_MIN / -1 is the one quotient that does not fit; it counts as out of range.
    if (divisor == 0 || (divisor == -1 && a.value() == kMin))
        return Currency::Invalid(kMin);
    // C++ integer division truncates toward zero for both signs.
    return Currency(a.value() / divisor);
}

} // namespace moneda
