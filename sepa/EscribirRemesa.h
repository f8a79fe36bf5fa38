// The remittance file the creditor's bank receives: one ISO 20022 pain.008 document (SEPA
// Core direct debit), UTF-8, in version pain.008.001.02 unless the caller asks for another.
//
// Every debit is checked before anything is written, and the file is written complete or
// not at all: a fault leaves whatever stood at the path untouched. The document is
// sepa/Pain008.h's, made at the moment it is asked for; the counts and control sums are
// computed from the very amounts written.
#pragma once

#include "sepa/Adeudo.h"
#include "sepa/Pain008.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <string>

namespace sepa {

struct ResultadoRemesa {
    QString msgId;             // the file's identifier; empty when nothing was written
    QString error;             // why nothing was written, a Spanish sentence; empty on success
    std::int64_t adeudos = 0;  // debits written
    std::int64_t centimos = 0; // their sum
    bool Escrita() const { return error.isEmpty(); }
};

// Today's date on this machine's clock.
Fecha Hoy();

// Checks the remittance (creditor, collection date against `hoy`, every debit, its mandate
// signed by `hoy`, and no mandate reference given with two IBANs) and writes it to `ruta`. A
// fault of one debit names its receipt: "Recibo «12», IBAN: ...".
// `formato` is the version of the bank's format; pain.008.001.02 unless the caller says.
ResultadoRemesa EscribirRemesa(const QString& ruta, const Remesa& remesa, Fecha hoy = Hoy(),
                               FormatoRemesa formato = Pain00800102);

// The same document, checked the same way, with the identifier given, into `documento`
// instead of a file: for a caller that records the identifier before the file exists.
ResultadoRemesa DocumentoRemesa(const Remesa& remesa, const QString& msgId, QByteArray& documento,
                                Fecha hoy = Hoy(), FormatoRemesa formato = Pain00800102);

} // namespace sepa
