// A register on a PostgreSQL server: how it is connected to and opened. Its tables, its
// migrations and every statement are the file's (register/Dialecto.h holds what differs);
// what a file has of its own (setting it aside when damaged, its journal) has no place here.
#include "register/Registro.h"

#include "register/ConexionEnSegundoPlano.h"
#include "register/Dialecto.h"
#include "register/MotivoPostgres.h"
#include "register/PreguntaDeClave.h"
#include "register/UriPostgres.h"

#include <QFileInfo>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTimeZone>

namespace registro {

bool Registro::Existe(const QString& ruta) {
    if (!dialecto::EsUri(ruta))
        return QFileInfo::exists(ruta);
    Registro lector(ruta);
    return lector.AbrirParaLeer() || !lector.NoExiste();
}

namespace {

// Adds the connection `nombre` to the server and opens it with the session the register
// wants; on a failure nothing is left of it. Runs on the thread that connects
// (register/ConexionEnSegundoPlano.h), so it holds no query when it returns.
Apertura AbrirSesion(const ConexionPostgres& c, const QString& nombre, bool soloLectura) {
    Apertura a;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), nombre);
        if (!db.isValid()) {
            a.motivo = QStringLiteral("falta el controlador de PostgreSQL para Qt (QPSQL, "
                                      "paquete libqt6sql6-psql)");
        } else {
            db.setHostName(c.servidor);
            if (c.puerto > 0)
                db.setPort(c.puerto);
            db.setDatabaseName(c.base);
            db.setUserName(c.usuario);
            db.setPassword(c.clave);
            db.setConnectOptions(c.opciones);
            if (!db.open()) {
                const QSqlError e = db.lastError();
                a.libpq = e.databaseText().isEmpty() ? e.text() : e.databaseText();
                a.motivo = MotivoDeConexion(a.libpq);
            } else {
                QSqlQuery q(db);
                // Dates and times in the desk's own zone, as the file gives them; a zone the
                // server does not know leaves its own.
                q.prepare(QStringLiteral("SELECT set_config('TimeZone', ?, false)"));
                q.addBindValue(QString::fromUtf8(QTimeZone::systemTimeZoneId()));
                q.exec();
                // A writer waits for another as long as a file's does, then says so. The
                // server's notices (a ROLLBACK after a failure that already ended the
                // transaction) are not the user's business: errors come back as errors.
                a.ok =
                    q.exec(QStringLiteral("SET lock_timeout = '10s'")) &&
                    q.exec(QStringLiteral("SET client_min_messages = error")) &&
                    (!soloLectura || q.exec(QStringLiteral(
                                         "SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY")));
                if (!a.ok)
                    a.motivo = Registro::MotivoDe(q.lastError());
            }
            if (!a.ok)
                db.close();
        }
    }
    if (!a.ok)
        QSqlDatabase::removeDatabase(nombre);
    return a;
}

} // namespace

bool Registro::ConectarServidor(bool soloLectura) {
    // A timer that fires while the windows wait for this register's server must not start a
    // second connection of it inside the first.
    if (conectando_)
        return Fallo(QStringLiteral("ya se está esperando al servidor del registro; inténtelo "
                                    "de nuevo en un momento"));
    Cerrar();
    conectando_ = true;
    const auto fin = qScopeGuard([this] { conectando_ = false; });
    for (;;) {
        const ConexionPostgres c = LeerUriPostgres(ruta_);
        if (!c.error.isEmpty())
            return Fallo(c.error);
        const QString nombre = conexion_;
        const Apertura a = AbrirSinBloquear(
            nombre, [c, nombre, soloLectura] { return AbrirSesion(c, nombre, soloLectura); });
        if (a.ok)
            return true;
        // A connection given up on may still arrive under that name, and be removed then by
        // its own thread: this register goes on under another.
        if (a.abandonada)
            conexion_ += QStringLiteral("+");
        // The one place where the password is asked; the question says whether to try again.
        if (!PedirClave(ruta_, a.libpq))
            return Fallo(a.motivo);
    }
}

bool Registro::ConexionPerdida() {
    if (!EnServidor() || !abierto_)
        return false;
    QSqlDatabase db = Base();
    QSqlQuery q(db);
    // Whatever was half-done is gone with the failure; a connection that answers is kept.
    q.exec(QStringLiteral("ROLLBACK"));
    if (q.exec(QStringLiteral("SELECT 1")))
        return false;
    q = QSqlQuery();
    db = QSqlDatabase();
    Cerrar();
    return true;
}

void Registro::ComprobarConexion() {
    if (!EnServidor() || !abierto_)
        return;
    QSqlDatabase db = Base();
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT 1")))
        return;
    q = QSqlQuery();
    db = QSqlDatabase();
    Cerrar();
}

bool Registro::AbrirServidor(bool soloLectura) {
    danado_ = false;
    noExiste_ = false;
    int version = 0;
    if (!ConectarServidor(soloLectura))
        return false;
    if (!LeerVersion(version) || !VersionAdmitida(version)) {
        Cerrar();
        return false;
    }
    if (soloLectura && version == 0) {
        Cerrar();
        noExiste_ = true;
        return Fallo(QStringLiteral("la base de datos %1 del servidor no tiene todavía un "
                                    "registro de recibos")
                         .arg(LeerUriPostgres(ruta_).base));
    }
    if (!soloLectura && !Migrar()) {
        Cerrar();
        return false;
    }
    abierto_ = true;
    return true;
}

} // namespace registro
