#include "register/CopiarRegistro.h"

#include "register/Dialecto.h"
#include "register/Registro.h"
#include "register/UriPostgres.h"

#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>

#include <cstdio>

namespace registro {

namespace {

// Every table of the register, each after those it refers to; rows in the order they were
// written, with their ids, so that references between them hold unchanged.
constexpr const char* kTablas[] = {"lotes",
                                   "recibos",
                                   "busqueda",
                                   "salidas",
                                   "remesas_recibo",
                                   "cambios_cobro",
                                   "registros_facturacion"};
// The tables whose ids the server numbers from now on after the copied ones.
constexpr const char* kConIdentidad[] = {"lotes", "recibos", "remesas_recibo", "cambios_cobro",
                                         "registros_facturacion"};

bool CopiarTabla(QSqlDatabase de, QSqlDatabase a, const QString& tabla, QSqlError& error) {
    QSqlQuery leer(de);
    leer.setForwardOnly(true);
    // The table's name is one of the program's own.
    if (!leer.exec(QStringLiteral("SELECT * FROM %1 ORDER BY rowid").arg(tabla))) {
        error = leer.lastError();
        return false;
    }
    const QSqlRecord columnas = leer.record();
    QStringList nombres, marcas;
    for (int i = 0; i < columnas.count(); ++i) {
        nombres << columnas.fieldName(i);
        marcas << QStringLiteral("?");
    }
    QSqlQuery escribir(a);
    if (!escribir.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                              .arg(tabla, nombres.join(u','), marcas.join(u',')))) {
        error = escribir.lastError();
        return false;
    }
    while (leer.next()) {
        for (int i = 0; i < columnas.count(); ++i)
            escribir.bindValue(i, leer.value(i));
        if (!escribir.exec()) {
            error = escribir.lastError();
            return false;
        }
    }
    return true;
}

} // namespace

bool CopiarRegistro(const QString& origen, const QString& uri, QString& error, qint64* recibos) {
    if (!dialecto::EsUri(uri)) {
        error = QStringLiteral("«%1» no es la dirección de un registro en un servidor PostgreSQL "
                               "(postgresql://usuario@servidor:5432/base)")
                    .arg(uri);
        return false;
    }
    Registro de(origen);
    if (!de.AbrirParaLeer()) {
        error = QStringLiteral("no se puede leer el registro %1: %2").arg(origen, de.Error());
        return false;
    }
    int version = 0;
    QSqlError e;
    if (!dialecto::LeerVersion(de.Base(), version, e) || version != Registro::VERSION) {
        error = QStringLiteral("el registro %1 es de una versión anterior de Talvero: ábralo "
                               "antes con esta versión para ponerlo al día")
                    .arg(origen);
        return false;
    }
    Registro a(uri);
    if (!a.Abrir()) {
        error = QStringLiteral("no se puede abrir el registro del servidor %1: %2")
                    .arg(UriSinClave(uri), a.Error());
        return false;
    }
    QSqlDatabase db = a.Base();
    if (!dialecto::EmpezarEscritura(db, e)) {
        error = Registro::MotivoDe(e);
        return false;
    }
    const auto deshacer = [&](const QString& motivo) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        error = motivo;
        return false;
    };
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT (SELECT count(*) FROM recibos) + (SELECT count(*) FROM "
                               "lotes)")) ||
        !q.next())
        return deshacer(Registro::MotivoDe(q.lastError()));
    if (q.value(0).toLongLong() > 0)
        return deshacer(QStringLiteral("el registro del servidor %1 ya tiene recibos: solo se "
                                       "copia a un registro vacío")
                            .arg(UriSinClave(uri)));
    for (const char* tabla : kTablas)
        if (!CopiarTabla(de.Base(), db, QLatin1String(tabla), e))
            return deshacer(QStringLiteral("no se ha copiado nada: la tabla %1: %2")
                                .arg(QLatin1String(tabla), Registro::MotivoDe(e)));
    for (const char* tabla : kConIdentidad)
        if (!q.exec(QStringLiteral("SELECT setval(pg_get_serial_sequence('%1', 'id'), "
                                   "coalesce(max(id), 0) + 1, false) FROM %1")
                        .arg(QLatin1String(tabla))))
            return deshacer(Registro::MotivoDe(q.lastError()));
    if (!q.exec(QStringLiteral("SELECT count(*) FROM recibos")) || !q.next())
        return deshacer(Registro::MotivoDe(q.lastError()));
    const qint64 copiados = q.value(0).toLongLong();
    if (!q.exec(QStringLiteral("COMMIT")))
        return deshacer(Registro::MotivoDe(q.lastError()));
    if (recibos != nullptr)
        *recibos = copiados;
    return true;
}

int CopiarDesdeLineaDeOrdenes(const QString& origen, const QString& uri) {
    QString error;
    qint64 recibos = 0;
    if (!CopiarRegistro(origen, uri, error, &recibos)) {
        std::fprintf(stderr, "talvero: %s.\n", error.toLocal8Bit().constData());
        return dialecto::EsUri(uri) ? 1 : 2;
    }
    std::fprintf(stdout, "%s\n",
                 QStringLiteral("%1 recibos copiados de %2 a %3")
                     .arg(recibos)
                     .arg(origen, UriSinClave(uri))
                     .toLocal8Bit()
                     .constData());
    return 0;
}

} // namespace registro
