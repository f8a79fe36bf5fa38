// The columns a list of receipts may have, found by their header. One table: each column
// has the title the register's export writes, the other names it is known by, and the rule
// that reads its cells into a checked row. Columns added by other parts of the program
// (payment data, for instance) are further rows of the same table whose rules write into
// the row's own fields for them (its debit).
#pragma once

#include "lista/FilaRevisada.h"

#include <QString>
#include <QStringList>

#include <span>
#include <vector>

namespace lista {

struct ContextoFila;

// Reads one cell (already without the export's protective apostrophe) into `ctx`'s row;
// empty when the cell is good, else what is wrong with it, for "Fila N, Columna: ...".
using Regla = QString (*)(const QString& celda, ContextoFila& ctx);

struct Columna {
    const char* titulo;                 // as the register's export writes it
    std::span<const char* const> otros; // other names, plain forms among them
    Regla regla;                        // null: read and ignored (the export's own columns)
};

std::span<const Columna> TablaDeColumnas();

// The comparison key of a header: no case, accents, spaces or underscores ("Pagador
// (2ª línea)" and "pagador_(2a linea)" are the same column).
QString ClaveDeColumna(const QString& titulo);

// A header row matched against the table.
struct Cabecera {
    std::vector<const Columna*> columnas; // per field of the file; null for unknown ones
    QStringList titulos;                  // as the file writes them
    QStringList desconocidas;             // one warning naming the unknown columns, or none
    QString error;                        // a column named twice refuses the file

    // Whether the file has the column titled `titulo` in the table.
    bool Tiene(const char* titulo) const;
};

Cabecera LeerCabecera(const QStringList& titulos);

} // namespace lista
