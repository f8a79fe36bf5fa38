// The few places where the register's SQL differs between its two engines: the SQLite file
// on the desk and a PostgreSQL register shared by an office. Everything else is written once
// for both; what differs is chosen here, from the connection's driver.
#pragma once

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QString>

namespace registro::dialecto {

// Whether a register's location is a PostgreSQL connection URI rather than a file's path.
bool EsUri(const QString& ubicacion);
// Whether the connection is to a PostgreSQL server.
bool EsPostgres(const QSqlDatabase& db);

// Begins a transaction that writes: one writer at a time, as SQLite's file lock gives, so
// that what is read after it (the numbers in use, an issuer's last record) stays true until
// the commit. Readers are never kept waiting.
bool EmpezarEscritura(QSqlDatabase db, QSqlError& error);

// Begins the transaction of a migration, which another program may be running at the same
// time on a register that has no tables yet.
bool EmpezarMigracion(QSqlDatabase db, QSqlError& error);

// A table's definition in the engine's own types: SQLite's INTEGER holds 64 bits and its
// INTEGER PRIMARY KEY numbers the rows; PostgreSQL needs BIGINT and an identity for that.
QString Ddl(const QSqlDatabase& db, const QString& sql);

// An INSERT of one row ending so that IdInsertado() gives the new row's id.
QString DevolviendoId(const QSqlDatabase& db);
qint64 IdInsertado(const QSqlDatabase& db, QSqlQuery& insert);

// The comparison that holds when both sides are equal or both are NULL.
QString IgualONulo(const QSqlDatabase& db);
// The SQL of a tab character, to join columns in one value.
QString Tabulador(const QSqlDatabase& db);
// The condition that `columna` holds a character other than a digit.
QString NoSoloDigitos(const QSqlDatabase& db, const QString& columna);

// Today's date, yyyy-mm-dd, on the desk's clock (the server's session takes the desk's time
// zone when it connects).
QString Hoy(const QSqlDatabase& db);
// A column that holds yyyy-mm-dd as dd/mm/yyyy, else as it is; and a column that holds a UTC
// time (yyyy-mm-ddThh:mm:ssZ) as dd/mm/yyyy hh:mm:ss local time, else as it is.
QString FechaDma(const QSqlDatabase& db, const QString& columna);
QString MomentoLocal(const QSqlDatabase& db, const QString& columna);

// Whether a table or a table's column exists; false with `error` set when it cannot be read.
bool ExisteTabla(QSqlDatabase db, const QString& tabla, bool& existe, QSqlError& error);
bool ExisteColumna(QSqlDatabase db, const QString& tabla, const QString& columna, bool& existe,
                   QSqlError& error);

// The register's schema version: SQLite keeps it in the file's header (PRAGMA user_version),
// PostgreSQL in the table talvero_version (0 when there is none yet).
bool LeerVersion(QSqlDatabase db, int& version, QSqlError& error);
bool EscribirVersion(QSqlDatabase db, int version, QSqlError& error);

} // namespace registro::dialecto
