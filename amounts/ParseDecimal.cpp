// The right-to-left calculator. Each operator character applies its left-hand number to the
// value of the whole rest of the text, so the rest is evaluated first. Written as a loop
// that records the pending operations and then folds them from the right, which gives the
// same results as reading the rest by recursion without using stack for every character.
//
// Doubles follow IEEE 754 throughout: a "/" whose right-hand side is zero gives an infinity
// (or NaN for 0/0), and digit runs too long for a double become infinities; nothing traps.
#include "amounts/moneda.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace moneda {

namespace {

enum class Op { Add, Subtract, Multiply, Divide };

struct Pending {
    Op op;
    double left;
};

// acc / 10^(dec - 1) when dec > 0, acc otherwise; the power is built by repeated
// multiplication. Once the power is infinite, further factors cannot change it.
double Scaled(double acc, std::int64_t dec)
{
    if (dec <= 0)
        return acc;
    double power = 1.0;
    for (std::int64_t k = 1; k < dec && !std::isinf(power); ++k)
        power *= 10.0;
    return acc / power;
}

double Apply(const Pending& p, double rest)
{
    switch (p.op) {
    case Op::Add:
        return p.left + rest;
    case Op::Subtract:
        return p.left - rest;
    case Op::Multiply:
        return rest * p.left;
    case Op::Divide:
        return p.left / rest;
    }
    return rest;
}

} // namespace

double ParseDecimal(std::string_view text, double acc, int dec)
{
    // 64 bits for the decimals count: the caller may start it anywhere in the int range and
    // each digit raises it by one, which must not overflow.
    std::int64_t decimals = dec;
    std::vector<Pending> pending;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            acc = acc * 10 + (c - '0');
            if (decimals != 0)
                ++decimals;
        } else if (c == ',') {
            // The whole part so far is added as read, unscaled.
            pending.push_back({Op::Add, acc});
            acc = 0.0;
            decimals = 1;
        } else if (c == '.') {
            decimals = 0;
        } else if (c == '+' || c == '-' || c == '*' || c == '/') {
            const Op op = c == '+' ? Op::Add : c == '-' ? Op::Subtract : c == '*' ? Op::Multiply : Op::Divide;
            pending.push_back({op, Scaled(acc, decimals)});
            acc = 0.0;
            decimals = 0;
        }
    }
    double result = Scaled(acc, decimals);
    for (auto it = pending.rbegin(); it != pending.rend(); ++it)
        result = Apply(*it, result);
    return result;
}

} // namespace moneda
