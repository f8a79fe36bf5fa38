// libpq's password file: PGPASSFILE when set, else ~/.pgpass. One line per server, database
// and user, "servidor:puerto:base:usuario:clave", with backslash and colon escaped by a
// backslash; libpq ignores the file unless only its owner may read it.
#pragma once

#include <QString>

namespace registro {

struct LineaPgpass {
    QString servidor, base, usuario, clave;
    int puerto = 5432;
};

// Where libpq looks for the file.
QString RutaPgpass();

// Writes `linea` into the file at `ruta`, replacing a line for the same server, port, database
// and user and keeping every other line as it was; the file is written whole or not at all,
// with mode 0600. False with `error` (Spanish) set when it cannot be.
bool GuardarEnPgpass(const QString& ruta, const LineaPgpass& linea, QString& error);

} // namespace registro
