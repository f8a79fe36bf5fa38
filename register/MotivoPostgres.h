// A PostgreSQL server's failure told in Spanish for the user, with the server's own words
// after it for whoever helps.
#pragma once

#include <QSqlError>
#include <QString>

namespace registro {

// Whether the error's code is a PostgreSQL SQLSTATE (five characters) rather than SQLite's.
bool EsErrorPostgres(const QSqlError& error);
QString MotivoPostgres(const QSqlError& error);
// Why a connection could not be made, from libpq's message.
QString MotivoDeConexion(const QString& mensaje);
// Whether libpq's message says that the server wants a password it did not get, or refused
// the one it got.
bool EsFalloDeClave(const QString& mensaje);

} // namespace registro
