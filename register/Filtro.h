// What the window's search field and date range ask for, as the WHERE clause of a query
// over `recibos` with its bound values. The window, its export and the command line share
// it, so the CSV holds exactly the rows shown.
#pragma once

#include <QDate>
#include <QString>
#include <QVariantList>

namespace registro {

struct Filtro {
    QString texto; // searched, accent- and case-insensitively, in the search text
    QDate desde;   // inclusive; null: no lower bound
    QDate hasta;   // inclusive; null: no upper bound
};

struct Condicion {
    QString where;        // " WHERE ..." or empty
    QVariantList valores; // for the positional "?" of `where`, in order
};

Condicion CondicionDe(const Filtro& filtro);

} // namespace registro
