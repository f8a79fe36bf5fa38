// The bank's report of returned and rejected debits (sepa/InformeBanco.h) applied to the
// register: each entry matched to its receipt and, when it matches exactly, recorded as a
// return with its date and reason. Nothing is guessed: an entry matches when its remittance
// (MsgId; where a notification does not give it, the remittance of this register that debited
// that reference) is in the register, its end-to-end reference names one receipt of it, and
// the amount, the creditor and, where the register kept it, the mandate agree. All the
// entries that match are recorded in one transaction; an entry recorded before (same receipt,
// remittance, reason and date) is counted as already applied, so importing a report twice
// changes nothing the second time.
#pragma once

#include "register/Registro.h"
#include "sepa/InformeBanco.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace registro {

struct EntradaImportada {
    enum class Resultado { Aplicada, YaAplicada, NoAplicada };
    sepa::Devolucion devolucion;
    Resultado resultado = Resultado::NoAplicada;
    QString motivo;      // NoAplicada: why, a Spanish phrase
    QStringList numeros; // the receipts it applies to
};

struct Importacion {
    // Why nothing was read or applied, a Spanish sentence; empty when the report was applied.
    QString error;
    bool noEsInforme = false; // the error is the file's: not such a report, or unreadable
    std::vector<EntradaImportada> entradas;
    qint64 Cuantas(EntradaImportada::Resultado r) const;
};

// Reads `archivo` and applies it to `registro`. `acreedor` is the creditor identifier in the
// settings (may be empty): an entry that names another creditor, where the register did not
// keep the remittance's, is not applied.
Importacion ImportarDevoluciones(Registro& registro, const QString& archivo,
                                 const QString& acreedor);

// "12 aplicadas, 1 ya aplicada, 2 no aplicadas".
QString ResumenImportacion(const Importacion& importacion);
// One entry not applied: "referencia «7» de la remesa «REM-…» (12,00 €, AM04): motivo".
QString DescribirNoAplicada(const EntradaImportada& entrada);

} // namespace registro
