// A receipt as an invoice: whether the VERI*FACTU mode holds, the alta a receipt gives (or
// why it cannot leave, in Spanish, saying where to put it right), and the QR code its page
// carries. The alta is chained and stored by Registro in the transaction that records the
// receipt (see Registro::Anotar and Registro::Reserva).
#pragma once

#include "receipt/MarcaQr.h"
#include "verifactu/AltaRecibo.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class CRecibo;

namespace verifactu {
struct Ajustes;
}

namespace registro {

// Who issues the receipts as invoices, and how; what the records of one emission need.
struct Facturacion {
    std::string emisorNif, emisorNombre;
    std::string instalacion; // this installation's number
    verifactu::IvaCero ivaCero = verifactu::IvaCero::Exenta;
    bool produccion = true; // the QR names the agency's real host, else its test host
    QDate hoy;              // the day they leave
    // The payer's NIF given apart from the receipt (a list's column "NIF del pagador") for
    // the i-th receipt; empty or absent: a NIF written in "Pagador (2ª línea)".
    std::function<QString(qint64 i)> nifPagador;
    // When the records are generated; invalid: the moment each is, in local time.
    QDateTime momento;
};

// The mode as the settings say on `hoy`; nothing when receipts leave without records.
std::optional<Facturacion> FacturacionVigente(const verifactu::Ajustes& ajustes, const QDate& hoy);

// The payer's NIF: `nifDado` when there is one, else the first valid NIF, NIE or CIF
// written in the payer's second line (where users write it); normalised, or empty.
std::string NifDelPagador(const CRecibo& recibo, const QString& nifDado);

// The alta of a receipt as the form filled it (before drawing), not yet chained: the
// issuer's NIF, the receipt's number and date, the payer, the concepts as its description
// and its amounts; `motivo` says why it cannot leave and where to put it right.
verifactu::ResultadoAlta AltaDeRecibo(const CRecibo& comoSeRelleno, const Facturacion& f,
                                      const QString& nifDado = {});

// The QR code of an alta: the agency's checking address with its issuer, number, date and
// ImporteTotal.
MarcaQr QrDeAlta(const verifactu::RegistroAlta& alta, bool produccion);

} // namespace registro
