// The register a test of it runs against. The same test runs twice under CTest: on the
// SQLite file in its own folder, and, with TALVERO_PRUEBA_PG naming the folder of the tests'
// own PostgreSQL server (scripts/pg-test-server.sh), on a fresh database of that server,
// created for each case and dropped after it, so that tests run side by side. The password
// is found by libpq in the server's PGPASSFILE; no URI holds it.
#pragma once

#include <QString>

namespace registrotest {

bool EnPostgres();
// Why a run against PostgreSQL cannot happen here (the server's folder says it was skipped,
// or it is missing), or empty.
QString SinServidor();

// The first value `sql` gives on the server's database at `uri`, read without the program
// (which may refuse the register); -1 when it cannot be read.
qint64 ValorEnServidor(const QString& uri, const QString& sql);

class BaseDePrueba {
public:
    // `archivo`: the file's path when the run is on SQLite.
    explicit BaseDePrueba(const QString& archivo);
    ~BaseDePrueba();
    BaseDePrueba(const BaseDePrueba&) = delete;
    BaseDePrueba& operator=(const BaseDePrueba&) = delete;

    // The file's path or the fresh database's URI, for registro::Registro.
    const QString& Ubicacion() const { return ubicacion_; }
    // Why the database could not be created, or empty.
    const QString& Error() const { return error_; }

    // Runs statements as the tests' user on this PostgreSQL database (a test that changes the
    // register behind the program's back). False with Error() set when one fails.
    bool Ejecutar(const QStringList& sentencias);

private:
    QString ubicacion_, base_, error_;
};

} // namespace registrotest

// A case about what only the file has (its journal, setting a damaged file aside).
#define SOLO_SQLITE()                                                                              \
    do {                                                                                           \
        if (registrotest::EnPostgres())                                                            \
            QSKIP("solo el registro en un archivo SQLite");                                        \
    } while (false)
