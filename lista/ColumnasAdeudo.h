// The columns of a list that make a receipt a direct debit: "IBAN", "BIC", "Mandato",
// "Fecha del mandato", "Titular" and "Secuencia". Each cell is checked with the bank's own
// checks and kept, normalised, in the row's debit; the rules that tie the columns together
// (a debited row needs a mandate, its date and a total above zero, and the BIC of an account
// outside the European Economic Area) are checked once the row is complete, with the row's
// other errors, before anything is emitted; those that need the collection date, once it is
// known.
#pragma once

#include "lista/ReglasFila.h"

#include "sepa/Adeudo.h"
#include "sepa/EscribirRemesa.h"

#include <QString>

#include <optional>

namespace lista {

struct ListaRevisada;

namespace reglas {
QString Iban(const QString& celda, ContextoFila& ctx);
QString Bic(const QString& celda, ContextoFila& ctx);
QString Mandato(const QString& celda, ContextoFila& ctx);
QString FechaMandato(const QString& celda, ContextoFila& ctx);
QString Titular(const QString& celda, ContextoFila& ctx);
QString PoblacionTitular(const QString& celda, ContextoFila& ctx);
QString PaisTitular(const QString& celda, ContextoFila& ctx);
QString DireccionTitular(const QString& celda, ContextoFila& ctx);
QString Secuencia(const QString& celda, ContextoFila& ctx);
} // namespace reglas

// Whether the row is collected by direct debit: it has an IBAN.
bool ConAdeudo(const FilaRevisada& fila);

// The rules across the debit's columns, for a row whose cells were read without error.
void CompletarAdeudo(FilaRevisada& fila);

// The debit of a valid row with an IBAN: its receipt as printed and the row's debit; the
// account holder is the payer's first line when the list does not name one.
sepa::Adeudo AdeudoDeFila(const FilaRevisada& fila);

// Mandates signed after the collection date or after `hoy`, and a mandate reference given
// with two IBANs (a mandate is for one account), as errors of their rows.
void ComprobarMandatosHasta(ListaRevisada& lista, sepa::Fecha cobro, sepa::Fecha hoy = sepa::Hoy());

// The rows of the list without an IBAN: left out of a remittance.
qsizetype FilasSinAdeudo(const ListaRevisada& lista);

} // namespace lista
