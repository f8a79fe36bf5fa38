// "--copiar-registro postgresql://...": a desk's SQLite register copied into an empty register
// on a PostgreSQL server, so that the office starts sharing it with every receipt, list,
// remittance, collection change and invoicing record the desk had (their chain unchanged).
#pragma once

#include <QString>

namespace registro {

// Copies every row of the register file `origen` into the server's register at `uri`, in one
// transaction: all or nothing. The server's register must hold no receipt and no list (an
// empty database, or one Talvero prepared); the file is only read, and must be of this
// program's version. False with `error` (Spanish) set when it cannot; `recibos` counts the
// receipts copied.
bool CopiarRegistro(const QString& origen, const QString& uri, QString& error,
                    qint64* recibos = nullptr);

// The command line's job: messages on standard output and error; the exit status (0 copied,
// 1 not copied, 2 a wrong argument).
int CopiarDesdeLineaDeOrdenes(const QString& origen, const QString& uri);

} // namespace registro
