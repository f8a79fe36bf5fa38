// The rules that read a list's cells into a receipt: the form's own limits and readers
// (field lengths, the date, amounts as the euro edit reads them, the percentage lists,
// colour and fill), never a guess. Each rule says what is wrong in Spanish; the caller
// puts the row and the column in front.
#pragma once

#include "lista/FilaRevisada.h"

#include "amounts/moneda.h"

#include <QString>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace platform {
class SettingsStore;
}

namespace lista {

// The items of the three percentage lists, as the settings hold them.
struct TiposPermitidos {
    std::vector<std::string> iva, re, irpf;
};
TiposPermitidos TiposDeAjustes(const platform::SettingsStore& ajustes);

// A computed column the list states ("IVA", "RE", "IRPF", "Total"), checked once the
// row's amounts are known.
struct Declarado {
    QString columna; // as the file titles it
    moneda::Currency importe;
};

struct ContextoFila {
    FilaRevisada& fila;
    const TiposPermitidos& tipos;
    QString columna; // the header of the cell being read
    std::optional<Declarado> iva, re, irpf, total;
};

// Every rule of the column table.
namespace reglas {
QString Numero(const QString& celda, ContextoFila& ctx);
QString Fecha(const QString& celda, ContextoFila& ctx);
QString Localidad(const QString& celda, ContextoFila& ctx);
QString Vencimiento(const QString& celda, ContextoFila& ctx);
QString Pagador1(const QString& celda, ContextoFila& ctx);
QString Pagador2(const QString& celda, ContextoFila& ctx);
QString Direccion(const QString& celda, ContextoFila& ctx);
QString NifPagador(const QString& celda, ContextoFila& ctx);
QString Cobrador1(const QString& celda, ContextoFila& ctx);
QString Cobrador2(const QString& celda, ContextoFila& ctx);
template <int N> QString Concepto(const QString& celda, ContextoFila& ctx);
template <int N> QString Importe(const QString& celda, ContextoFila& ctx);
QString PorcentajeIva(const QString& celda, ContextoFila& ctx);
QString PorcentajeRe(const QString& celda, ContextoFila& ctx);
QString PorcentajeIrpf(const QString& celda, ContextoFila& ctx);
QString ImporteIva(const QString& celda, ContextoFila& ctx);
QString ImporteRe(const QString& celda, ContextoFila& ctx);
QString ImporteIrpf(const QString& celda, ContextoFila& ctx);
QString Total(const QString& celda, ContextoFila& ctx);
QString Color(const QString& celda, ContextoFila& ctx);
QString Relleno(const QString& celda, ContextoFila& ctx);
} // namespace reglas

// After every cell: the taxes and the total computed as the form does, each tax rounded to
// the cent as the form's record holds it, and the stated computed columns compared to the
// cent. Errors go to the row.
void CompletarFila(ContextoFila& ctx);

// A date cell as a Spanish spreadsheet saves it, in every date column of a list: dd/mm/aaaa,
// or d/m/aa for this century's dates (20aa), with blanks around; a day its month does not
// have is refused rather than taken for another date. Empty when `fecha` was read, else what
// is wrong with the cell; a year outside `anioMinimo`..`anioMaximo` is said to be so.
QString LeerFecha(const QString& celda, std::chrono::year_month_day& fecha, int anioMinimo = 0,
                  int anioMaximo = 9999);

// An amount cell as the euro edit reads it, with "€" and blanks allowed around it, and to the
// cent. Empty when `importe` was read, else what is wrong with the cell.
QString LeerImporte(const QString& celda, moneda::Currency& importe);

// "1.234,56 €".
QString TextoEuros(moneda::Currency importe);

} // namespace lista
