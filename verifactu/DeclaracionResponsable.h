// "Declaración responsable": the statement that the producer of an invoicing system must
// make and hand to its users, in the order the Orden HAC/1177/2024 gives, filled with this
// build's data (verifactu/Productor.h). Data the build lacks is shown as missing, never made
// up; the place, date and signature are left for whoever distributes the program.
#pragma once

#include "verifactu/Productor.h"

#include <QString>

class QWidget;

namespace verifactu {

// What a missing datum reads as.
inline constexpr char kSinIndicar[] = "(sin indicar: lo completa quien distribuye el programa)";

// The statement as plain text, one datum a line.
QString TextoDeclaracionResponsable(const Productor& productor);

// Shows the statement of this build in a window of its own over `parent`.
void MostrarDeclaracionResponsable(QWidget* parent);

} // namespace verifactu
