// "--emitir-lista" without a window: the list checked, its errors and warnings on standard
// error, then emitted to a PDF, a folder of PDFs or a print queue and recorded.
//
// Exit status: 0 when every receipt was emitted (or, with --comprobar, when no row has an
// error); 2 for a wrong argument, a missing list, an unknown print queue, an output file
// that exists already (named, nothing written) or a list with errors (nothing emitted);
// 1 when the output, the printer or the register failed.
#pragma once

#include "register/LineaDeOrdenes.h"

class CRecibo;

namespace lista {

// `plantilla` is the receipt the form would open with.
int EmitirDesdeLineaDeOrdenes(const registro::OpcionesLista& opciones, const CRecibo& plantilla);

} // namespace lista
