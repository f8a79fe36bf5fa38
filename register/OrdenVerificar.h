// "--verificar-registro" without a window: the invoicing records read, never changed, and
// each issuer's chain recomputed from the stored fields (every huella and every link). The
// first record that does not match is named on standard error: issuer, number, date and why.
//
// Exit status: 0 when every record matches (or there are none); 1 when one does not, or the
// register cannot be read; 2 when there is no register.
#pragma once

#include <QString>

namespace registro {

int VerificarDesdeLineaDeOrdenes(const QString& ruta);

} // namespace registro
