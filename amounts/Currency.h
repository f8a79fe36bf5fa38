#pragma once

#include <cstdint>

namespace moneda {

// An amount of money as a signed 64-bit count of ten-thousandths of its unit (the euro,
// or the peseta for a value just read out of a peseta edit), with a status.
//
// Policy:
//  - Addition, subtraction and multiplication by an integer are exact. A result that does
//    not fit in 64 bits is reported, never wrapped: sums and differences become Invalid
//    (keeping the wrapped value, as the platform type did), products Invalid(min).
//  - Division by an integer truncates toward zero, for both signs; division by zero, and
//    the one quotient that does not fit (min / -1), give Invalid(min).
//  - Null beats Invalid beats Valid in sums and differences, and a result made Null or
//    Invalid by its operands carries the value 0; products and quotients return a
//    non-valid operand unchanged.
//  - Nothing here rounds. Rounding to the cent (half away from zero) happens only in the
//    text writers.
class Currency {
public:
    enum class Status { Valid, Invalid, Null };

    Currency() = default; // a valid zero
    explicit Currency(std::int64_t tenThousandths) : value_(tenThousandths) {}

    static Currency Null();
    static Currency Invalid(std::int64_t value);

    std::int64_t value() const { return value_; }
    Status status() const { return status_; }
    bool isValid() const { return status_ == Status::Valid; }

    friend bool operator==(const Currency&, const Currency&) = default;

private:
    std::int64_t value_ = 0;
    Status status_ = Status::Valid;
};

Currency operator+(Currency a, Currency b);
Currency operator-(Currency a, Currency b);
Currency operator*(Currency a, std::int32_t factor);
Currency operator/(Currency a, std::int32_t divisor);

} // namespace moneda
