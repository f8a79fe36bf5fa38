// The money and date core of Talvero: amounts, their Spanish text forms, euro/peseta
// conversion, month names, the date value and two small text helpers.
//
// Standard C++ only. Every function here is pure: no locale, no global state. The text
// conventions are fixed to Spain's: "," before decimals, "." between groups of three
// digits, "-" in front of a negative number. Texts are UTF-8.
#pragma once

#include "amounts/Currency.h"
#include "amounts/Fecha.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace moneda {

// --- Numeric text -------------------------------------------------------------------

// Reads an amount the way the form's edits do. Never fails: an empty text, a text that is
// not a number and a number out of range all read as a valid zero.
Currency ParseAmount(std::string_view text);

// The strict currency reader behind ParseAmount and the form's currency exchange: valid
// with the value read; Invalid(0) when the text is not a number (the empty text included);
// Invalid(min) when the number is out of range.
Currency ParseCurrency(std::string_view text);

// Digits only, "," ends the scan, everything else skipped; "-" as first character negates.
// Past the 32-bit range the result saturates at INT32_MAX or INT32_MIN.
std::int32_t ParseInteger(std::string_view text);

// The small right-to-left calculator used for the RE percentage ("1,75" gives 1.75).
// Plain IEEE doubles: a division by zero gives an infinity or NaN, never a trap.
double ParseDecimal(std::string_view text, double acc = 0.0, int dec = 0);

std::string FormatThousands(std::int64_t value); // 1234567 -> "1.234.567"
std::string FormatDigits(std::int32_t value);    // 42 -> "42"
std::string PadZeros(std::string_view text, int n);
std::string FormatEuros(Currency v);      // 12345600 -> "1.234,56" (rounded half away from zero)
std::string FormatPlainEuros(Currency v); // 125000 -> "12,5"; 60000 -> "6"; 5 -> "0,0005"

// --- Euro and peseta conversion ------------------------------------------------------

// Pesetas per euro, times 1000.
inline constexpr std::int64_t EURO_PESETAS = 166386;

// Both take any 64-bit amount: the products are formed in 128 bits. The sign of the amount
// is written in front of the rounded magnitude, so -0,0004 euros gives "-0".
std::string EurosToPesetasText(Currency euros);   // 10000 (1 euro) -> "166"
std::string PesetasToEurosText(Currency pesetas); // 10000000 (1000 pesetas) -> "6,01"

// --- Month names ---------------------------------------------------------------------

std::int32_t MesANumero(std::string_view name); // "ENERO" -> 1; anything else -> 0
std::string NumeroAMes(std::int32_t numero);    // 1 -> "ENERO"; out of 1..12 -> "ERROR"

// --- Text helpers --------------------------------------------------------------------

// Upper-cases a first letter "a" to "z"; everything else, accented letters included, stays.
std::string CapitalizeFirst(std::string_view text);

// Turns a stored, scrambled link text back into the link.
std::string ObtenerEnlace(std::string_view stored);

} // namespace moneda
