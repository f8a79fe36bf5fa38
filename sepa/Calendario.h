// The days on which a SEPA direct debit can be collected: the business days of the TARGET2
// settlement system, all year round except Saturdays, Sundays, 1 January, Good Friday,
// Easter Monday, 1 May, 25 and 26 December. Standard C++ only.
#pragma once

#include <chrono>
#include <string>

namespace sepa {

using Fecha = std::chrono::year_month_day;

// Easter Sunday of a Gregorian year.
Fecha DomingoDePascua(std::chrono::year anio);

// Why `dia` is not a TARGET2 business day ("es sábado", "es Viernes Santo"...), or "" when
// it is one. A date that does not exist is not a business day either.
std::string MotivoInhabil(Fecha dia);

// The first TARGET2 business day after both `despuesDe` and `hoy`.
Fecha PrimerDiaValido(Fecha despuesDe, Fecha hoy);

// The last business day on or before the same day a year after `hoy` (the last day of
// February after a 29 February): a later collection date is a typing mistake.
Fecha UltimoDiaValido(Fecha hoy);

// Whether `cobro` can be asked of the bank today: a TARGET2 business day after `hoy` and not
// after UltimoDiaValido(hoy). The reason otherwise, with the first valid date after it (and
// after today) proposed, or the last one when it is too far:
// "la fecha de cobro 06/04/2024 es sábado, …; el primer día válido es el 08/04/2024."
// "la fecha de cobro 05/03/2099 es demasiado lejana (se admite hasta un año después de hoy);
// la última fecha válida es el 05/03/2025."
std::string ComprobarFechaCobro(Fecha cobro, Fecha hoy);

// dd/mm/yyyy, as the program shows dates to the user.
std::string TextoFecha(Fecha dia);
// yyyy-mm-dd, as the bank's file writes them.
std::string TextoIso(Fecha dia);

} // namespace sepa
