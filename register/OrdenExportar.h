// "--exportar-registro" without a window: the register read, never changed, and written as
// the accountant's CSV. The program's command line (orden/) reads the arguments.
//
// Exit status: 0 when the CSV was written; 2 for a date that is not one, a range the wrong way
// round or a target that is not a regular file (or is the register); 1 when there is no
// register, it cannot be read, or the file cannot be written, and the old file is then left
// as it was. Messages go to standard error.
#pragma once

#include <QString>

namespace registro {

struct OrdenExportar {
    QString archivo;      // as typed
    QString desde, hasta; // AAAA-MM-DD as typed; empty when not given
};

int ExportarDesdeLineaDeOrdenes(const OrdenExportar& orden);

} // namespace registro
