// A PostgreSQL register's location, as the settings key "Registro" holds it: a libpq
// connection URI (postgresql://usuario@servidor:5432/talvero?sslmode=prefer), taken apart
// for Qt's QPSQL driver. The password, when the URI carries none, is libpq's to find
// (~/.pgpass, PGPASSFILE, PGPASSWORD): it is never kept in the settings.
#pragma once

#include <QString>

namespace registro {

struct ConexionPostgres {
    QString servidor, base, usuario, clave;
    int puerto = -1;
    // The URI's parameters as libpq's key=value options, with connect_timeout at most
    // kEsperaMaxima seconds.
    QString opciones;
    QString error; // why the URI cannot be used, in Spanish; empty when it can
};

// The longest wait, in seconds, for a server that does not answer.
inline constexpr int kEsperaMaxima = 10;

ConexionPostgres LeerUriPostgres(const QString& uri);

// A password the user typed during this run for the register at `uri`: kept in memory only,
// never written, and used by LeerUriPostgres when the URI carries none. Safe from any thread.
void RecordarClaveDeSesion(const QString& uri, const QString& clave);
QString ClaveDeSesion(const QString& uri);

// The URI as it may be shown: without a password. A file's path is given back as it is.
QString UriSinClave(const QString& uri);

} // namespace registro
