// The two dates of a record in the forms the tax agency reads: the invoice's issue date as
// dd-mm-yyyy, and the moment the record is generated with the offset of the clock that
// generated it, yyyy-mm-ddThh:mm:ss+hh:mm (never "Z" nor fractions of a second, which the
// huella would then have to reproduce).
#pragma once

#include "amounts/Fecha.h"

#include <string>

class QDateTime;

namespace verifactu {

// Empty when the date is not valid.
std::string TextoFechaExpedicion(const moneda::Fecha& fecha);

std::string TextoFechaHoraHuso(const QDateTime& momento);

} // namespace verifactu
