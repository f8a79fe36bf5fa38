// The returned receipts collected again: one new remittance of the receipts whose state is
// devuelto (all of them, those returned within a range of dates, or those chosen in the
// window), each debited as it was before (same number, amount, mandate and account), in
// sequence RCUR. A receipt returned for a reason that forbids another attempt (no mandate,
// account wrong or closed, debtor deceased...: sepa/MotivosDevolucion.h), or whose account the
// register did not keep, is left out and named. The remittance is recorded and written as a
// list's files are (register/Pendientes.h): each receipt in the new remittance (en remesa
// again, its history kept) and the fee receipts, pending, then the file complete under a
// temporary name, put at its name without replacing anything; a run killed at any moment is
// finished or taken back by the next.
#pragma once

#include "register/Registro.h"
#include "sepa/Adeudo.h"
#include "sepa/EscribirRemesa.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace registro {

struct PedidoDevueltos {
    QString ruta; // the remittance file; it must not exist yet
    QDate cobro;
    QDate desde, hasta;    // on the return's date; invalid: no bound
    QList<qint64> recibos; // when not empty, only these
    sepa::Acreedor acreedor;
    sepa::FormatoRemesa formato = sepa::Pain00800108;
    // "Repercutir gastos de devolución": the return's fee, in cents, charged to each payer
    // collected again by a receipt of its own ("Gastos de devolución del recibo N"), numbered
    // after the register's highest number, recorded and debited in the same remittance under
    // the same mandate; 0: none.
    std::int64_t gastos = 0;
};

struct RemesaDeDevueltos {
    QString error;         // why nothing was written; empty when it was
    bool ninguno = false;  // no receipt could be collected again: no file
    QStringList excluidos; // "Recibo «7»: AC04 Cuenta cancelada: …"
    sepa::ResultadoRemesa escrita;
    QStringList gastos; // the numbers of the fee receipts written
    QStringList avisos; // a run that died half-way, finished or taken back first
    bool Escrita() const { return error.isEmpty(); }
};

RemesaDeDevueltos RemesaDevueltos(Registro& registro, const PedidoDevueltos& pedido,
                                  const QDate& hoy = QDate::currentDate());

} // namespace registro
