// How much each field of a receipt may hold: the form's edits stop there, and a list of
// receipts read from a spreadsheet is refused beyond. Lengths count UTF-16 code units, as
// the form's edits do.
#pragma once

namespace limites {

inline constexpr int kNumero = 6;
inline constexpr int kLocalidad = 20;
inline constexpr int kVencimiento = 20;
inline constexpr int kPagador = 29;  // each of the two lines
inline constexpr int kCobrador = 19; // each of the two lines
inline constexpr int kConcepto = 40;
inline constexpr int kDireccion = 50;
inline constexpr int kIva = 2;
inline constexpr int kRe = 5;
inline constexpr int kIrpf = 2;

// The issue date: the day as typed (its month's length is not checked by the form) and
// the year.
inline constexpr int kDiaMinimo = 1;
inline constexpr int kDiaMaximo = 31;
inline constexpr int kAnioMinimo = 1970;
inline constexpr int kAnioMaximo = 3000;

} // namespace limites
