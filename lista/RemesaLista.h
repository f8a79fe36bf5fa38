// The remittance of a list: the SEPA direct debit file of its rows with an IBAN, for the
// creditor in the settings and one collection date. The rows without an IBAN are left out
// and counted, so the summary can say how many the bank will not collect.
#pragma once

#include "lista/Lista.h"

#include "sepa/EscribirRemesa.h"

#include <QDate>
#include <QString>

namespace lista {

struct PedidoRemesa {
    QString ruta; // the XML file; it must not exist yet
    sepa::Acreedor acreedor;
    sepa::Fecha cobro;
};

// A date as the bank's calendar counts it; an invalid date gives one that is not ok().
sepa::Fecha FechaDe(const QDate& fecha);
QDate FechaDe(const sepa::Fecha& fecha);

// The remittance of the rows of `lista` with an IBAN.
sepa::Remesa RemesaDeLista(const ListaRevisada& lista, const PedidoRemesa& pedido);

// What a refused remittance needs no list for: the collection date against `hoy` and a file
// already at the path. Empty when the remittance may be written.
QString ComprobarPedidoRemesa(const PedidoRemesa& pedido, sepa::Fecha hoy);

// "Remesa REM-…: 38 adeudos, 24.100,00 €; 2 recibos sin IBAN quedan fuera".
QString ResumenRemesa(const sepa::ResultadoRemesa& escrita, qsizetype sinAdeudo);

} // namespace lista
