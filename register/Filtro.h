// What the window's search field and date range ask for, as the WHERE clause of a query
// over `recibos` with its bound values. The window, its export and the command line share
// it, so the CSV holds exactly the rows shown.
#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantList>

namespace registro {

struct Filtro {
    QString texto;   // searched, accent- and case-insensitively, in the search text
    QDate desde;     // inclusive; null: no lower bound
    QDate hasta;     // inclusive; null: no upper bound
    qint64 lote = 0; // only the receipts of that list from a spreadsheet; 0: any
    // Only the receipts in one of these collection states today (NombreEstado()); empty: any.
    QStringList estados{};
};

// The search text lives in a narrow table of its own, `busqueda` (recibo, texto), so that
// a search that finds little scans a few megabytes instead of the whole register. With
// words to find, `desde` walks that table newest first and fetches each matching receipt;
// without, it reads `recibos` alone. Either way the columns of `recibos` keep their names.
struct Condicion {
    QString desde;        // " FROM ..."
    QString where;        // " WHERE ..." or empty
    QVariantList valores; // for the positional "?" of `where`, in order
    QString reciente;     // the key that orders newest first without sorting: id or recibo
};

Condicion CondicionDe(const Filtro& filtro);

} // namespace registro
