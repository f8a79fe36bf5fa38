// 128-bit integers for the intermediates of the amount arithmetic: a product of two 64-bit
// amounts, or of an amount and a conversion rate, always fits, so no step can overflow.
#pragma once

namespace moneda::detail {

// __extension__ keeps -Wpedantic quiet about the non-standard type on GCC and Clang.
__extension__ typedef __int128 Int128;
__extension__ typedef unsigned __int128 UInt128;

} // namespace moneda::detail
