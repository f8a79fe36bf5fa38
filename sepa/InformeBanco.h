// The bank's reports of the debits of a remittance that come back, read: the payment status
// report (pain.002.001.03), for debits rejected before they are collected, and the debit
// notification (camt.054.001.02), for debits returned after. Both give the same plain list,
// which is all the program needs to find each receipt by the remittance's identifier and the
// debit's end-to-end reference.
//
// The reports are read by element name along known paths, not validated against a schema:
// banks add elements and statuses of their own, and what is not needed is left unread.
#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <vector>

namespace sepa {

struct Devolucion {
    QString msgId;      // the remittance's identifier; a notification may not give it
    QString endToEndId; // the debit's reference, the receipt's number; empty when the whole
                        // remittance was rejected
    std::int64_t centimos = 0;
    bool conImporte = false; // whether the report gave the amount at all
    QString importeNoValido; // why the amount it gave cannot be taken (another currency, more
                             // than two decimals, zero), a Spanish phrase; such an entry is
                             // kept, to be listed as not applied, while the others are read
    QString motivo;          // reason code, "AM04"; see sepa/MotivosDevolucion.h
    QDate fecha;             // the entry's date (booking), else the report's
    QString acreedor;        // the creditor identifier, when given
    QString mandato;         // the mandate reference, when given
    QString bloque; // a block the bank rejected whole without naming its debits (PmtInfId):
                    // its debits cannot be told from the register's, so it is never applied
};

enum class TipoInforme { Ninguno, EstadoDePagos, NotificacionDeAdeudos };

struct InformeBanco {
    TipoInforme tipo = TipoInforme::Ninguno;
    std::vector<Devolucion> devoluciones;
    QString error; // why the file was not read, a Spanish sentence; empty when it was
};

// From pain.002.001.03, every debit whose status (its own, else its block's) is RJCT; if the
// whole remittance is rejected and no debit is named, one entry for all of it with the
// remittance's control sum; a block rejected whole without its debits named, one entry for the
// block, so that the import says it was not applied rather than pass over it. From camt.054.001.02,
// every transaction with return information in an entry that debits the creditor's account,
// informative entries aside. Any other document is refused with its root element and namespace
// named; an amount that is not one in euros refuses only its own entry (importeNoValido).
InformeBanco LeerInformeBanco(const QByteArray& xml);

} // namespace sepa
