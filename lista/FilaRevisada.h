// One row of a list of receipts after its rules: the receipt it gives, its direct debit and
// what is wrong with it.
#pragma once

#include "receipt/Recibo.h"
#include "sepa/Adeudo.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <string>

namespace lista {

// The bank's data of a row collected by direct debit, as its columns were read (each cell
// checked and normalised once, lista/ColumnasAdeudo.h).
struct DatosDeAdeudo {
    std::string iban; // without spaces, upper-cased; empty: the row is not debited
    std::string bic;  // the same; empty when not given
    std::string mandato;
    std::optional<sepa::Fecha> fechaMandato; // given; not ok() for one that cannot be signed
    std::string titular;                     // empty: the payer's first line
    sepa::Direccion direccion;               // the holder's, for an account outside the EEA
    sepa::Secuencia secuencia = sepa::Secuencia::RCUR;
};

struct FilaRevisada {
    qsizetype fila = 0;     // as the spreadsheet numbers it (the header is row 1)
    CRecibo recibo;         // as the form would fill it, before drawing
    bool conNumero = false; // the list gave the number; otherwise it is given one
    QStringList errores;    // "Fila 7, Importe 1: ..."; the row cannot be emitted
    QStringList avisos;     // emitted all the same
    DatosDeAdeudo adeudo;
    QString nifPagador; // the column "NIF del pagador", as written; read only for invoices

    bool Valida() const { return errores.isEmpty(); }
};

} // namespace lista
