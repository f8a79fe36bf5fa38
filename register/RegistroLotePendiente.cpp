// A list recorded before its files are in place: the rows that say which files it still has
// to put at their names, and the few statements that move it from one state to the next.
#include "register/Registro.h"

#include "register/Dialecto.h"
#include <QSqlError>
#include <QSqlQuery>

#include <initializer_list>

namespace registro {

bool Registro::EnTransaccion(const std::function<bool(QSqlError&)>& cambios) {
    ComprobarConexion();
    if (!Abrir())
        return false;
    QSqlDatabase db = Base();
    QSqlQuery q(db);
    QSqlError e;
    if (!dialecto::EmpezarEscritura(db, e))
        return FalloSql(e);
    if (!cambios(e)) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        FalloSql(e);
        ConexionPerdida();
        return false;
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        e = q.lastError();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return FalloSql(e);
    }
    error_.clear();
    return true;
}

bool Registro::InsertarReserva(const Reserva& reserva, qint64 lote, QSqlError& error) {
    QSqlQuery ins(Base());
    ins.prepare(QStringLiteral("INSERT INTO salidas (lote, temporal, destino, reemplazar, remesa) "
                               "VALUES (?, ?, ?, ?, ?)"));
    for (const Salida& s : reserva.salidas) {
        ins.addBindValue(lote);
        ins.addBindValue(s.temporal);
        ins.addBindValue(s.destino);
        ins.addBindValue(s.reemplazar ? 1 : 0);
        ins.addBindValue(s.remesa.isEmpty() ? QVariant(QMetaType::fromType<QString>())
                                            : QVariant(s.remesa));
        if (!ins.exec()) {
            error = ins.lastError();
            return false;
        }
    }
    return true;
}

qint64 Registro::ReservarLote(const Reserva& reserva) {
    LoteNuevo lote{reserva.archivo,  reserva.destino,  reserva.creado,
                   reserva.remesaDe, reserva.adeudoDe, 0,
                   &reserva};
    return AnotarEnTransaccion(reserva.cuantos, reserva.emision, &lote, reserva.facturacion)
               ? lote.id
               : 0;
}

bool Registro::MarcarListo(qint64 lote, const QStringList& identidades) {
    return EnTransaccion([&](QSqlError& e) {
        QSqlQuery q(Base());
        q.prepare(QStringLiteral("SELECT rowid FROM salidas WHERE lote = ? ORDER BY rowid"));
        q.addBindValue(lote);
        if (!q.exec()) {
            e = q.lastError();
            return false;
        }
        QList<qint64> filas;
        while (q.next())
            filas << q.value(0).toLongLong();
        QSqlQuery upd(Base());
        upd.prepare(QStringLiteral("UPDATE salidas SET identidad = ? WHERE rowid = ?"));
        for (qsizetype i = 0; i < filas.size() && i < identidades.size(); ++i) {
            upd.addBindValue(identidades[i]);
            upd.addBindValue(filas[i]);
            if (!upd.exec()) {
                e = upd.lastError();
                return false;
            }
        }
        upd.prepare(QStringLiteral("UPDATE lotes SET listo = 1 WHERE id = ?"));
        upd.addBindValue(lote);
        if (!upd.exec()) {
            e = upd.lastError();
            return false;
        }
        return true;
    });
}

namespace {

// Runs each of `sentencias` with the list's id bound to every "?" it has.
bool ConLote(QSqlDatabase db, std::initializer_list<const char*> sentencias, qint64 lote,
             QSqlError& e) {
    QSqlQuery q(db);
    for (const char* sql : sentencias) {
        q.prepare(QLatin1String(sql));
        for (qsizetype i = QByteArray(sql).count('?'); i > 0; --i)
            q.addBindValue(lote);
        if (!q.exec()) {
            e = q.lastError();
            return false;
        }
    }
    return true;
}

// The MsgIds of the remittances of list `?`, while it is pending.
#define REMESAS_DEL_LOTE                                                                           \
    "(SELECT s.remesa FROM salidas s JOIN lotes l ON l.id = s.lote WHERE s.lote = ? AND "          \
    "l.pendiente IS NOT NULL AND s.remesa IS NOT NULL)"

} // namespace

bool Registro::CerrarLote(qint64 lote) {
    return EnTransaccion([&](QSqlError& e) {
        return ConLote(Base(),
                       {"DELETE FROM salidas WHERE lote = ?",
                        "UPDATE lotes SET pendiente = NULL, listo = 0 WHERE id = ?"},
                       lote, e);
    });
}

bool Registro::DeshacerLote(qint64 lote) {
    // Only a list still pending is ever taken back: a complete one is history. Receipts
    // recorded before that its remittance debits again get their earlier remittance back,
    // and lose the rows that put them in this one.
    return EnTransaccion([&](QSqlError& e) {
        // Its altas were never sent (nothing of a pending list is). They go with it, unless
        // another record was chained after them meanwhile (a receipt printed while the list
        // was pending): the chain then keeps them, each cancelled by an anulación, and the
        // list's receipts stay in the register marked cancelled.
        QSqlQuery q(Base());
        q.prepare(QStringLiteral(
            "SELECT EXISTS (SELECT 1 FROM registros_facturacion g WHERE g.emisor IN (SELECT "
            "emisor FROM registros_facturacion WHERE recibo IN (SELECT id FROM recibos WHERE lote "
            "= :lote)) AND g.id > (SELECT min(id) FROM registros_facturacion WHERE recibo IN "
            "(SELECT id FROM recibos WHERE lote = :lote)) AND (g.recibo IS NULL OR g.recibo NOT "
            "IN (SELECT id FROM recibos WHERE lote = :lote))) AND EXISTS (SELECT 1 FROM lotes "
            "WHERE id = :lote AND pendiente IS NOT NULL)"));
        q.bindValue(QStringLiteral(":lote"), lote);
        if (!q.exec() || !q.next()) {
            e = q.lastError();
            return false;
        }
        if (q.value(0).toBool())
            return AnularLote(lote, e);
        return ConLote(
            Base(),
            {"DELETE FROM registros_facturacion WHERE recibo IN (SELECT id FROM recibos WHERE "
             "lote = (SELECT id FROM lotes WHERE id = ? AND pendiente IS NOT NULL))",
             "UPDATE recibos SET remesa = (SELECT rr.remesa FROM remesas_recibo rr "
             "WHERE rr.recibo = recibos.id AND rr.remesa <> recibos.remesa ORDER BY "
             "rr.id DESC LIMIT 1) WHERE remesa IN " REMESAS_DEL_LOTE,
             "DELETE FROM cambios_cobro WHERE origen = 'remesa' AND remesa IN " REMESAS_DEL_LOTE,
             "DELETE FROM remesas_recibo WHERE remesa IN " REMESAS_DEL_LOTE,
             "DELETE FROM cambios_cobro WHERE recibo IN (SELECT id FROM recibos WHERE "
             "lote = (SELECT id FROM lotes WHERE id = ? AND pendiente IS NOT NULL))",
             "DELETE FROM remesas_recibo WHERE recibo IN (SELECT id FROM recibos WHERE "
             "lote = (SELECT id FROM lotes WHERE id = ? AND pendiente IS NOT NULL))",
             "DELETE FROM busqueda WHERE recibo IN (SELECT id FROM recibos WHERE lote = "
             "(SELECT id FROM lotes WHERE id = ? AND pendiente IS NOT NULL))",
             "DELETE FROM recibos WHERE lote = (SELECT id FROM lotes WHERE id = ? AND "
             "pendiente IS NOT NULL)",
             "DELETE FROM salidas WHERE lote = (SELECT id FROM lotes WHERE id = ? AND "
             "pendiente IS NOT NULL)",
             "DELETE FROM lotes WHERE id = ? AND pendiente IS NOT NULL"},
            lote, e);
    });
}

bool Registro::AnularLote(qint64 lote, QSqlError& e) {
    QSqlQuery q(Base());
    q.prepare(QStringLiteral("SELECT id FROM recibos WHERE lote = ? ORDER BY id"));
    q.addBindValue(lote);
    if (!q.exec()) {
        e = q.lastError();
        return false;
    }
    std::vector<qint64> recibos;
    while (q.next())
        recibos.push_back(q.value(0).toLongLong());
    for (qint64 recibo : recibos) {
        const std::vector<RegistroFacturacion> registros = LeerFacturacion(
            QStringLiteral("WHERE recibo = ? AND tipo = 'alta' ORDER BY id"), {recibo});
        for (const RegistroFacturacion& alta : registros)
            if (!InsertarAnulacion(alta, QDateTime::currentDateTime(), e))
                return false;
    }
    const QByteArray anular = QStringLiteral("UPDATE recibos SET anulado = %1 WHERE lote = ?")
                                  .arg(dialecto::Hoy(Base()))
                                  .toUtf8();
    return ConLote(Base(),
                   {anular.constData(), "DELETE FROM salidas WHERE lote = ?",
                    "UPDATE lotes SET pendiente = NULL, listo = 0 WHERE id = ?"},
                   lote, e);
}

std::vector<Registro::Pendiente> Registro::LotesPendientes() {
    std::vector<Pendiente> pendientes;
    if (!Abrir())
        return pendientes;
    QSqlQuery q(Base());
    if (!q.exec(QStringLiteral("SELECT id, pendiente, archivo, recibos, listo FROM lotes WHERE "
                               "pendiente IS NOT NULL ORDER BY id"))) {
        FalloSql(q.lastError());
        return pendientes;
    }
    while (q.next())
        pendientes.push_back({q.value(0).toLongLong(),
                              q.value(1).toString(),
                              q.value(2).toString(),
                              q.value(3).toLongLong(),
                              q.value(4).toInt() != 0,
                              {}});
    QSqlQuery s(Base());
    s.prepare(QStringLiteral("SELECT temporal, destino, reemplazar, remesa, identidad FROM "
                             "salidas WHERE lote = ? ORDER BY rowid"));
    for (Pendiente& p : pendientes) {
        s.addBindValue(p.lote);
        if (!s.exec()) {
            FalloSql(s.lastError());
            return {};
        }
        while (s.next())
            p.salidas.push_back({s.value(0).toString(), s.value(1).toString(),
                                 s.value(2).toInt() != 0, s.value(3).toString(),
                                 s.value(4).toString()});
    }
    return pendientes;
}

} // namespace registro
