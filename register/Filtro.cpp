#include "register/Filtro.h"

#include "register/EstadoCobroSql.h"
#include "register/Normalizar.h"

#include <QStringList>

namespace registro {

Condicion CondicionDe(const Filtro& filtro) {
    Condicion c;
    QStringList partes;
    // Every word must appear somewhere: "jose zaragoza" finds José's receipts of Zaragoza.
    const QStringList palabras =
        NormalizarBusqueda(filtro.texto).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString palabra : palabras) {
        // The text and the word are both folded already, so LIKE's own folding of ASCII
        // letters changes nothing; its wildcards in the word are escaped. LIKE is about twice
        // as fast as instr(), which counts characters.
        palabra.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
            .replace(QLatin1Char('%'), QStringLiteral("\\%"))
            .replace(QLatin1Char('_'), QStringLiteral("\\_"));
        partes << QStringLiteral("texto LIKE ? ESCAPE '\\'");
        c.valores << QLatin1Char('%') + palabra + QLatin1Char('%');
    }
    if (palabras.isEmpty()) {
        c.desde = QStringLiteral(" FROM recibos");
        c.reciente = QStringLiteral("id");
    } else {
        // CROSS JOIN keeps the narrow table outside, read newest first (SQLite keeps the
        // order it is given; PostgreSQL takes it as any join). The join's condition is in
        // WHERE, where both engines accept it.
        c.desde = QStringLiteral(" FROM busqueda CROSS JOIN recibos");
        c.reciente = QStringLiteral("recibo");
        partes.prepend(QStringLiteral("id = recibo"));
    }
    if (filtro.desde.isValid()) {
        partes << QStringLiteral("fecha >= ?");
        c.valores << filtro.desde.toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (filtro.hasta.isValid()) {
        partes << QStringLiteral("fecha <= ?");
        c.valores << filtro.hasta.toString(QStringLiteral("yyyy-MM-dd"));
    }
    if (filtro.lote > 0) {
        partes << QStringLiteral("lote = ?");
        c.valores << filtro.lote;
    }
    if (!filtro.estados.isEmpty()) {
        QStringList marcas;
        for (const QString& e : filtro.estados) {
            marcas << QStringLiteral("?");
            c.valores << e;
        }
        partes << EstadoSql(QDate::currentDate()) +
                      QStringLiteral(" IN (%1)").arg(marcas.join(u','));
    }
    if (!partes.isEmpty())
        c.where = QStringLiteral(" WHERE ") + partes.join(QStringLiteral(" AND "));
    return c;
}

} // namespace registro
