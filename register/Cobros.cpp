#include "register/Cobros.h"

#include "register/Dialecto.h"
#include <QSqlQuery>
#include <QVariant>

namespace registro {

namespace {

QString DiaIso(const QDate& fecha) {
    return fecha.toString(Qt::ISODate);
}

QVariant TextoONuloCobro(const QString& texto) {
    return texto.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : QVariant(texto);
}

QString AhoraUtc() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

// The changes in force, in the order recorded: an undone payment and its undoing left out.
const char kCambios[] =
    "SELECT c.recibo, c.estado, c.fecha, c.motivo, rr.cobro FROM cambios_cobro c "
    "LEFT JOIN remesas_recibo rr ON c.estado = 'en remesa' AND rr.recibo = c.recibo AND "
    "rr.remesa = c.remesa WHERE c.estado <> 'deshecho' AND NOT EXISTS (SELECT 1 FROM "
    "cambios_cobro d WHERE d.deshace = c.id)";

CambioCobro CambioDe(const QSqlQuery& q) {
    CambioCobro c;
    const QString estado = q.value(1).toString();
    c.tipo = estado == QLatin1String(kDevuelto)  ? CambioCobro::Tipo::Devuelto
             : estado == QLatin1String(kCobrado) ? CambioCobro::Tipo::Cobrado
                                                 : CambioCobro::Tipo::EnRemesa;
    c.fecha = QDate::fromString(q.value(2).toString(), Qt::ISODate);
    c.motivo = q.value(3).toString();
    c.cobro = QDate::fromString(q.value(4).toString(), Qt::ISODate);
    return c;
}

} // namespace

bool EnUnaTransaccion(Registro& registro, const std::function<bool(QSqlError&)>& cambios,
                      QString& error) {
    if (!registro.Abrir()) {
        error = registro.Error();
        return false;
    }
    QSqlDatabase db = registro.Base();
    QSqlQuery q(db);
    QSqlError e;
    if (!dialecto::EmpezarEscritura(db, e)) {
        error = Registro::MotivoDe(e);
        return false;
    }
    if (!cambios(e) || !q.exec(QStringLiteral("COMMIT"))) {
        if (!e.isValid())
            e = q.lastError();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        if (error.isEmpty())
            error = Registro::MotivoDe(e);
        return false;
    }
    return true;
}

bool AnotarEnRemesa(QSqlDatabase db, qint64 recibo, const QString& msgId,
                    const Registro::EnRemesa& adeudo, const QDate& creada, QSqlError& error) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO remesas_recibo (recibo, remesa, creada, cobro, "
                             "mandato, referencia, centimos, acreedor, iban, bic, titular, "
                             "fecha_mandato, poblacion, pais, direccion) VALUES (?, ?, ?, ?, ?, "
                             "?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(recibo);
    q.addBindValue(msgId);
    q.addBindValue(DiaIso(creada));
    q.addBindValue(adeudo.cobro.isValid() ? QVariant(DiaIso(adeudo.cobro))
                                          : QVariant(QMetaType::fromType<QString>()));
    q.addBindValue(TextoONuloCobro(adeudo.mandato));
    q.addBindValue(adeudo.referencia);
    q.addBindValue(adeudo.centimos);
    q.addBindValue(TextoONuloCobro(adeudo.acreedor));
    q.addBindValue(TextoONuloCobro(adeudo.iban));
    q.addBindValue(TextoONuloCobro(adeudo.bic));
    q.addBindValue(TextoONuloCobro(adeudo.titular));
    q.addBindValue(TextoONuloCobro(DiaIso(adeudo.fechaMandato)));
    q.addBindValue(TextoONuloCobro(adeudo.poblacion));
    q.addBindValue(TextoONuloCobro(adeudo.pais));
    q.addBindValue(TextoONuloCobro(adeudo.lineas.join(QLatin1Char('\n'))));
    if (!q.exec()) {
        error = q.lastError();
        return false;
    }
    q.prepare(QStringLiteral("INSERT INTO cambios_cobro (recibo, estado, fecha, origen, remesa, "
                             "anotado) VALUES (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(recibo);
    q.addBindValue(QLatin1String(kEnRemesa));
    q.addBindValue(DiaIso(creada));
    q.addBindValue(QLatin1String(kOrigenRemesa));
    q.addBindValue(msgId);
    q.addBindValue(AhoraUtc());
    if (!q.exec()) {
        error = q.lastError();
        return false;
    }
    return true;
}

bool GuardaCobros(QSqlDatabase db) {
    int version = 0;
    QSqlError e;
    return dialecto::LeerVersion(db, version, e) && version >= 6;
}

const char kRemesasAnteriores[] =
    "SELECT r.id, r.remesa, substr(coalesce(l.creado, r.emitido), 1, 10), r.numero, "
    "CASE WHEN r.total >= 0 THEN (r.total + 50) / 100 ELSE -((50 - r.total) / 100) END "
    "FROM recibos r LEFT JOIN lotes l ON l.id = r.lote WHERE r.remesa IS NOT NULL "
    "ORDER BY r.id";

namespace {

// An older register's remittances, as version 6 records them: made on their day, collection
// date not kept, so collected from that day on.
bool LeerRemesasAnteriores(QSqlDatabase db, QHash<qint64, HechosCobro>& hechos, QString& error) {
    QSqlQuery q(db);
    q.setForwardOnly(true);
    bool conRemesa = false;
    if (QSqlError e; !dialecto::ExisteColumna(db, QStringLiteral("recibos"),
                                              QStringLiteral("remesa"), conRemesa, e)) {
        error = Registro::MotivoDe(e);
        return false;
    }
    if (!conRemesa)
        return true; // older still: no remittances
    if (!q.exec(QLatin1String(kRemesasAnteriores))) {
        error = Registro::MotivoDe(q.lastError());
        return false;
    }
    while (q.next())
        hechos[q.value(0).toLongLong()].cambios.push_back(
            {CambioCobro::Tipo::EnRemesa,
             QDate::fromString(q.value(2).toString(), Qt::ISODate),
             {},
             {}});
    return true;
}

} // namespace

bool LeerCambiosCobro(QSqlDatabase db, QHash<qint64, HechosCobro>& hechos, QString& error) {
    if (!GuardaCobros(db))
        return LeerRemesasAnteriores(db, hechos, error);
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.exec(QLatin1String(kCambios) + QStringLiteral(" ORDER BY c.id"))) {
        error = Registro::MotivoDe(q.lastError());
        return false;
    }
    while (q.next())
        hechos[q.value(0).toLongLong()].cambios.push_back(CambioDe(q));
    return true;
}

std::optional<HechosCobro> HechosDe(QSqlDatabase db, qint64 recibo) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT seguimiento, anulado IS NOT NULL FROM recibos WHERE id = ?"));
    q.addBindValue(recibo);
    if (!q.exec() || !q.next())
        return std::nullopt;
    HechosCobro h;
    h.seguimiento = q.value(0).toInt() != 0;
    h.anulado = q.value(1).toInt() != 0;
    q.prepare(QLatin1String(kCambios) + QStringLiteral(" AND c.recibo = ? ORDER BY c.id"));
    q.addBindValue(recibo);
    if (!q.exec())
        return std::nullopt;
    while (q.next())
        h.cambios.push_back(CambioDe(q));
    return h;
}

bool MarcarCobrado(Registro& registro, const QList<qint64>& recibos, const QDate& fecha,
                   QString& error) {
    const bool ok = EnUnaTransaccion(
        registro,
        [&](QSqlError& e) {
            QSqlQuery q(registro.Base());
            q.prepare(QStringLiteral("INSERT INTO cambios_cobro (recibo, estado, fecha, origen, "
                                     "anotado) VALUES (?, ?, ?, ?, ?)"));
            for (qint64 id : recibos) {
                q.addBindValue(id);
                q.addBindValue(QLatin1String(kCobrado));
                q.addBindValue(DiaIso(fecha));
                q.addBindValue(QLatin1String(kOrigenMano));
                q.addBindValue(AhoraUtc());
                if (!q.exec()) {
                    e = q.lastError();
                    return false;
                }
            }
            return true;
        },
        error);
    return ok;
}

qint64 DeshacerCobro(Registro& registro, const QList<qint64>& recibos, QString& error) {
    qint64 deshechos = 0;
    const bool ok = EnUnaTransaccion(
        registro,
        [&](QSqlError& e) {
            QSqlQuery marca(registro.Base());
            marca.prepare(QStringLiteral(
                "SELECT max(c.id) FROM cambios_cobro c WHERE c.recibo = ? AND c.origen = 'mano' "
                "AND c.estado = 'cobrado' AND NOT EXISTS (SELECT 1 FROM cambios_cobro d WHERE "
                "d.deshace = c.id)"));
            QSqlQuery ins(registro.Base());
            ins.prepare(QStringLiteral("INSERT INTO cambios_cobro (recibo, estado, fecha, origen, "
                                       "deshace, anotado) VALUES (?, ?, ?, ?, ?, ?)"));
            for (qint64 id : recibos) {
                marca.addBindValue(id);
                if (!marca.exec() || !marca.next()) {
                    e = marca.lastError();
                    return false;
                }
                if (marca.value(0).isNull())
                    continue;
                ins.addBindValue(id);
                ins.addBindValue(QLatin1String(kDeshecho));
                ins.addBindValue(DiaIso(QDate::currentDate()));
                ins.addBindValue(QLatin1String(kOrigenMano));
                ins.addBindValue(marca.value(0));
                ins.addBindValue(AhoraUtc());
                if (!ins.exec()) {
                    e = ins.lastError();
                    return false;
                }
                ++deshechos;
            }
            return true;
        },
        error);
    return ok ? deshechos : -1;
}

} // namespace registro
