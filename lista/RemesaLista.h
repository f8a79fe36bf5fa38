// The remittance of a list: the SEPA direct debit file of its rows with an IBAN, for the
// creditor in the settings and one collection date. The rows without an IBAN are left out
// and counted, so the summary can say how many the bank will not collect.
#pragma once

#include "lista/Lista.h"

#include "sepa/AjustesAcreedor.h"
#include "sepa/EscribirRemesa.h"

#include <QDate>
#include <QString>

namespace lista {

struct PedidoRemesa {
    QString ruta; // the XML file; it must not exist yet
    sepa::Acreedor acreedor;
    sepa::Fecha cobro;
    sepa::FormatoRemesa formato = sepa::Pain00800108; // the file's version
};

// A date as the bank's calendar counts it; an invalid date gives one that is not ok().
sepa::Fecha FechaDe(const QDate& fecha);
QDate FechaDe(const sepa::Fecha& fecha);

// The remittance of the rows of `lista` with an IBAN.
sepa::Remesa RemesaDeLista(const ListaRevisada& lista, const PedidoRemesa& pedido);

// Why the remittance `pedido` cannot be written, as the user reads it; empty when it can. In
// the order a person mends them: the creditor's data in the settings (`acreedor`, as loaded
// with `pedido`'s), the collection date against `hoy`, a file already at the path; then, once
// the list is read (`lista` not null), its mandates signed after the collection date or
// after `hoy`, or given with two IBANs, which become errors of their rows to be told with
// the rows' other errors, and a list without a single row with an IBAN.
QString ComprobarRemesa(const sepa::AcreedorCargado& acreedor, const PedidoRemesa& pedido,
                        ListaRevisada* lista, sepa::Fecha hoy = sepa::Hoy());

// "Remesa REM-…: 38 adeudos, 24.100,00 €; 2 recibos sin IBAN quedan fuera".
QString ResumenRemesa(const sepa::ResultadoRemesa& escrita, qsizetype sinAdeudo);

} // namespace lista
