// The command line's work on who has paid, without a window (read in orden/): the bank's
// report of returns applied to the register, the list of what is owed, and the returned
// receipts collected again. Messages go to standard error, summaries to standard output.
#pragma once

#include <QDate>
#include <QString>

namespace registro {

// "--importar-devoluciones FICHERO.xml": 0 when every entry was applied or already was, 1 when
// any was not (each named on standard error with its reason) or the register cannot be
// written, 2 for a file that is not such a report (nothing applied).
int ImportarDevolucionesDesdeLineaDeOrdenes(const QString& archivo);

// "--pendientes ARCHIVO.csv [--hasta AAAA-MM-DD]": the receipts owed on that day (today when
// not given) in the export's format, with its exit statuses.
int PendientesDesdeLineaDeOrdenes(const QString& archivo, const QString& hasta);

// "--remesa-devueltos REMESA.xml --fecha-cobro AAAA-MM-DD [--desde …] [--hasta …]
// [--version-remesa …] [--gastos-devolucion IMPORTE]": 0 when the remittance was written (each
// receipt left out named on standard error), 2 when no receipt can be collected again (no file) or
// an argument or the creditor's data is wrong, 1 when the register or the file cannot be written.
struct OrdenDevueltos {
    QString remesa;
    QDate cobro;
    QString desde, hasta, version; // as typed; empty when not given
    QString gastos;                // the return's fee charged to each payer, "3,50"; empty: none
};
int RemesaDevueltosDesdeLineaDeOrdenes(const OrdenDevueltos& orden);

} // namespace registro
