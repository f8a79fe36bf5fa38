// The print command for a receipt record: one page, drawn by CRecibo::Dibujar, on the printer
// the user picks. Printing lives in the module, so the record itself names no print dialog.
#pragma once

#include "salida/Impresion.h"

#include <functional>
#include <string>

class CRecibo;

namespace salida {

// Lets the user choose a printer and prints `rec` as a one-page job named
// CRecibo::NOMBRE_TRABAJO. A cancel prints nothing and says nothing; a failure prints nothing
// and has been reported to the user. The record is copied for the job, so it is left as it
// was. A job reported as not answered in time that the server takes after all calls
// `impresaTarde` with the printer's name, later, on the same thread.
// `antesDelTrabajo`, when given, runs between the choice and the job (see
// platform::PrintOnePage).
ResultadoImpresion
ImprimirRecibo(const CRecibo& rec,
               std::function<void(const std::string& impresora)> impresaTarde = {},
               std::function<bool(const std::string& impresora)> antesDelTrabajo = {});

} // namespace salida
