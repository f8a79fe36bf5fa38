// The texts the receipt computes for itself: the total, the issue date in words, the
// tax labels and the title of its PDF.
#pragma once

#include "amounts/moneda.h"

#include <string>
#include <string_view>

class CRecibo;

namespace recibo {

// True for a valid zero only: a null or invalid amount is never "nothing to print".
bool EsCeroValido(const moneda::Currency& importe);

// The sum of the five concept amounts and the three tax amounts. Zero when any of them is
// null or invalid, and zero when the exact sum does not fit in an amount.
moneda::Currency TotalRecibo(const CRecibo& recibo);

// Day " DE " month name " DEL " year, day and year with thousands points: 5 DE MARZO DEL 2.003.
// A date that is not valid reads -1 DE ERROR DEL -1.
std::string TextoFecha(const moneda::Fecha& fecha);

// "+", the percentage text, then "% " and the tax's name: +16% IVA.
std::string EtiquetaImpuesto(std::string_view porcentaje, std::string_view impuesto);

// The title a PDF of the receipt carries, alone or as a page of a list's folder: "Recibo"
// and the number, its blanks (Unicode's spaces and line separators too) trimmed and each run
// of them one space; "Recibo" for a receipt without a number.
std::string TituloPdf(const CRecibo& recibo);

} // namespace recibo
