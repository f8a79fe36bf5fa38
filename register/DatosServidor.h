// The fields of "Registro compartido" and the connection URI the settings key "Registro"
// holds, each made from the other. The URI's parameters other than sslmode go back into it as
// they were; a password written in it is kept apart and never goes back into the settings.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace registro {

struct DatosServidor {
    QString servidor;
    int puerto = 5432;
    QString base = QStringLiteral("talvero");
    QString usuario;
    QString cifrado = QStringLiteral("prefer"); // libpq's sslmode
    QList<QPair<QString, QString>> otros;       // the URI's other parameters, in order
    QString clave;                              // written in the URI read, if any
};

// The fields of a stored URI; the defaults when `uri` is not a PostgreSQL one.
DatosServidor LeerDatosServidor(const QString& uri);

// The URI of `datos`, without a password; empty with `error` (Spanish, naming the field) when
// it cannot be made.
QString UriDeDatos(const DatosServidor& datos, QString& error);

// The same URI with `clave` in it, for a connection made at once and never kept.
QString UriConClave(const QString& uri, const QString& clave);

} // namespace registro
