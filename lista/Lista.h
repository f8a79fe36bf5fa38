// A list of receipts from a spreadsheet, checked: the file read, its header matched with
// the column table, every row read by the form's rules on top of the template (the form's
// receipt: every field whose column the list lacks keeps its value), numbered, and every
// fault named with the row as the spreadsheet numbers it. Nothing is emitted from a list
// while any row has an error.
#pragma once

#include "lista/FilaRevisada.h"
#include "lista/LectorCsv.h"
#include "lista/ReglasFila.h"
#include "register/Facturar.h"

#include <QSet>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace lista {

// What the register says about numbers.
struct NumerosDelRegistro {
    QSet<QString> enUso;
    QString siguiente; // the next free number, as "Recibos emitidos" gives it; may be empty
    // With VERI*FACTU: the numbers the issuer may not use again (Registro::NumerosUsadosPor);
    // a row that repeats one is then an error, not a warning.
    std::optional<QSet<QString>> usadosPorElEmisor;
};

struct ListaRevisada {
    QString archivo; // the list's file, as the user named it, for messages
    DialectoCsv dialecto;
    std::vector<FilaRevisada> filas;
    QStringList avisos; // about the whole file: unknown columns
    QString error;      // the file refused as a whole; no rows then
    // With VERI*FACTU, as the rows were checked: each receipt leaves with its alta.
    std::optional<registro::Facturacion> facturacion;

    qsizetype FilasConErrores() const;
    qsizetype Avisos() const;
    // Whether the list can be emitted: no refusal, at least one row, no row with an error.
    bool Emitible() const;
    // The sum of the totals of the rows without errors.
    moneda::Currency Total() const;
    // "40 recibos, total 24.350,00 €; 2 filas con errores".
    QString Resumen() const;
};

// Checks the rows of `tabla`. `plantilla` is the receipt the form would print now.
// With `facturacion`, each row must also be able to leave as an invoice (see
// lista/FacturasLista.h), and its receipt gets its QR code.
ListaRevisada RevisarLista(const TablaCsv& tabla, const CRecibo& plantilla,
                           const TiposPermitidos& tipos, const NumerosDelRegistro& registro,
                           std::optional<registro::Facturacion> facturacion = std::nullopt);

// Gives the rows without a number the next free numbers, one after another with the width
// of the number they follow, and marks repeated numbers. False with `error` when rows need
// a number and none can be made.
bool Numerar(std::vector<FilaRevisada>& filas, const std::string& numeroDelFormulario,
             const NumerosDelRegistro& registro, QString& error);

} // namespace lista
