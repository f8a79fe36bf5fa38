// "--emitir-lista" without a window: the list checked, its errors and warnings on standard
// error, then emitted to a PDF, a folder of PDFs or a print queue and recorded.
//
// Exit status: 0 when every receipt was emitted (or, with --comprobar, when no row has an
// error); 2 for a wrong argument, a missing list, an unknown print queue, an output file
// that exists already (named, nothing written) or a list with errors (nothing emitted);
// 1 when the output, the printer or the register failed.
#pragma once

#include <QDate>
#include <QString>

class CRecibo;

namespace lista {

// What the command line (orden/) asks of a list of receipts.
struct OrdenDeLista {
    QString lista; // --emitir-lista
    bool comprobar = false;
    QString pdf;        // --pdf
    QString carpetaPdf; // --carpeta-pdf
    QString impresora;  // --impresora
    QString remesa;     // --remesa: the SEPA direct debit file of the rows with an IBAN
    QDate cobro;        // --fecha-cobro, valid whenever `remesa` is set
    QString version;    // --version-remesa; empty: the creditor's settings
};

// `plantilla` is the receipt the form would open with.
int EmitirDesdeLineaDeOrdenes(const OrdenDeLista& orden, const CRecibo& plantilla);

} // namespace lista
