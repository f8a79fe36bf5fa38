#include "register/Filtro.h"

#include "register/Normalizar.h"

#include <QStringList>

namespace registro {

Condicion CondicionDe(const Filtro& filtro) {
    Condicion c;
    QStringList partes;
    // Every word must appear somewhere: "jose zaragoza" finds José's receipts of Zaragoza.
    const QStringList palabras =
        NormalizarBusqueda(filtro.texto).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& palabra : palabras) {
        // instr, not LIKE: no wildcards to escape, and no ASCII-only case folding.
        partes << QStringLiteral("instr(busqueda, ?) > 0");
        c.valores << palabra;
    }
    if (filtro.desde.isValid()) {
        partes << QStringLiteral("fecha >= ?");
        c.valores << filtro.desde.toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (filtro.hasta.isValid()) {
        partes << QStringLiteral("fecha <= ?");
        c.valores << filtro.hasta.toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (!partes.isEmpty())
        c.where = QStringLiteral(" WHERE ") + partes.join(QStringLiteral(" AND "));
    return c;
}

} // namespace registro
