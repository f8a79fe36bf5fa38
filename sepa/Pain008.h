// The remittance file's text, one function for each version of the bank's format, all of
// one shape: a pure function of the remittance (checked first, sepa/EscribirRemesa.h), its
// identifier (MsgId) and the moment it is made (CreDtTm), so that the same arguments always
// give the same bytes. A newer version of the format is one more function beside these.
#pragma once

#include "sepa/Adeudo.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <string_view>

namespace sepa {

// A document and what it adds up to, counted from the very amounts it writes.
struct DocumentoRemesaSepa {
    QByteArray xml;
    std::int64_t adeudos = 0;  // debits written
    std::int64_t centimos = 0; // their sum
};

using FormatoRemesa = DocumentoRemesaSepa (*)(const Remesa& remesa, const QString& msgId,
                                              const QDateTime& creado);

// ISO 20022 pain.008.001.02, SEPA Core direct debit, as the Spanish banks' guide has it: UTF-8,
// indented by two spaces, one group of debits for each sequence (FRST, RCUR, OOFF, FNAL, in
// that order) and, within a group, the remittance's order; `creado` written to the second, as
// its own clock time. Amounts are the receipts' totals as printed, in cents, written with "."
// and two decimals.
DocumentoRemesaSepa Pain00800102(const Remesa& remesa, const QString& msgId,
                                 const QDateTime& creado);

// ISO 20022 pain.008.001.08, the version the EPC's guidelines follow since November 2023: the
// same debits, groups, sums and identifiers as Pain00800102, with the banks' BIC as "BICFI".
// The debtor of an account outside the European Economic Area carries an address in both,
// town and country as their own elements and at most two lines, as from November 2026.
DocumentoRemesaSepa Pain00800108(const Remesa& remesa, const QString& msgId,
                                 const QDateTime& creado);

// The debit's end-to-end reference as every version writes it: the receipt's number in the
// banks' character set, at most 35 characters, or "NOTPROVIDED" for a receipt without one.
// The bank's report of a return names the debit by it.
QString ReferenciaDeAdeudo(std::string_view numero);
// The mandate reference as every version writes it.
QString MandatoDeAdeudo(std::string_view mandato);

// The function of a version by the name of its message ("pain.008.001.08"), as a setting
// gives it; nothing for a name this program does not write.
FormatoRemesa FormatoDeRemesa(QStringView nombre);

} // namespace sepa
