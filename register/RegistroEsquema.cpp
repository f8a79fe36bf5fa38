// The register's schema and its numbered migrations. Migration n takes a file from
// version n - 1 to version n; all that a file needs run in one transaction, together with
// the new PRAGMA user_version, so a file is never left half-migrated.
#include "register/Cobros.h"
#include "register/Dialecto.h"
#include "register/FilaFacturacion.h"
#include "register/FilaRecibo.h"
#include "register/Registro.h"
#include "sepa/Pain008.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

#include <array>
#include <functional>

namespace registro {

bool Registro::Migrar() {
    QSqlDatabase db = Base();
    QSqlError e;
    int version = 0;
    if (!dialecto::LeerVersion(db, version, e))
        return FalloSql(e);
    if (version == VERSION)
        return true;

    // Another copy of the program may be migrating the same register: take the write lock,
    // then read the version again.
    if (!dialecto::EmpezarMigracion(db, e))
        return FalloSql(e);
    const auto deshacer = [&](const QString& motivo) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return Fallo(motivo);
    };
    if (!dialecto::LeerVersion(db, version, e))
        return deshacer(MotivoDe(e));
    if (!VersionAdmitida(version))
        return deshacer(error_);
    const std::array<std::function<bool()>, VERSION> migraciones{
        [this] { return MigrarA1(); }, [this] { return MigrarA2(); }, [this] { return MigrarA3(); },
        [this] { return MigrarA4(); }, [this] { return MigrarA5(); }, [this] { return MigrarA6(); },
        [this] { return MigrarA7(); },
    };
    for (int v = version; v < VERSION; ++v) {
        if (!migraciones[std::size_t(v)]())
            return deshacer(error_);
    }
    QSqlQuery q(db);
    if (!dialecto::EscribirVersion(db, VERSION, e))
        return deshacer(MotivoDe(e));
    if (!q.exec(QStringLiteral("COMMIT")))
        return deshacer(MotivoDe(q.lastError()));
    return true;
}

bool Registro::VersionAdmitida(int version) {
    if (version > VERSION)
        return Fallo(
            QStringLiteral("el registro es de una versión más nueva de Talvero (%1)").arg(version));
    if (version < 0)
        return Fallo(
            QStringLiteral("el archivo no es un registro de recibos (versión %1)").arg(version));
    return true;
}

// Version 1: one row per issued receipt, the record as it was printed.
bool Registro::MigrarA1() {
    QSqlQuery q(Base());
    const bool ok = q.exec(dialecto::Ddl(Base(), QStringLiteral(R"(CREATE TABLE recibos (
    id INTEGER PRIMARY KEY,
    emitido TEXT NOT NULL,
    destino TEXT NOT NULL,
    numero TEXT NOT NULL,
    localidad TEXT NOT NULL,
    vencimiento TEXT NOT NULL,
    fecha TEXT,
    concepto1 TEXT NOT NULL, concepto2 TEXT NOT NULL, concepto3 TEXT NOT NULL,
    concepto4 TEXT NOT NULL, concepto5 TEXT NOT NULL,
    importe1 INTEGER, importe2 INTEGER, importe3 INTEGER, importe4 INTEGER, importe5 INTEGER,
    iva TEXT NOT NULL, re TEXT NOT NULL, irpf TEXT NOT NULL,
    importe_iva INTEGER, importe_re INTEGER, importe_irpf INTEGER,
    total INTEGER NOT NULL,
    direccion TEXT NOT NULL,
    pagador1 TEXT NOT NULL, pagador2 TEXT NOT NULL,
    cobrador1 TEXT NOT NULL, cobrador2 TEXT NOT NULL,
    color INTEGER NOT NULL,
    relleno INTEGER NOT NULL,
    no_validos TEXT
))")));
    return ok ? true : FalloSql(q.lastError());
}

// Version 2: the search text, accent- and case-free, in a narrow table of its own (one row
// per receipt, same id), and the indexes of the window's sorts and date range.
bool Registro::MigrarA2() {
    QSqlDatabase db = Base();
    if (!EjecutarDdl({
            "CREATE TABLE busqueda (recibo INTEGER PRIMARY KEY REFERENCES recibos (id), "
            "texto TEXT NOT NULL)",
            "CREATE INDEX recibos_fecha ON recibos (fecha)",
            "CREATE INDEX recibos_numero ON recibos (numero)",
            "CREATE INDEX recibos_pagador ON recibos (pagador1)",
            "CREATE INDEX recibos_total ON recibos (total)",
        }))
        return false;
    // Rows written before the search text existed get theirs now.
    QSqlQuery filas(db);
    filas.setForwardOnly(true);
    if (!filas.exec(QStringLiteral("SELECT id, %1 FROM recibos")
                        .arg(ColumnasRecibo().join(QStringLiteral(", ")))))
        return FalloSql(filas.lastError());
    QSqlQuery upd(db);
    upd.prepare(QStringLiteral("INSERT INTO busqueda (recibo, texto) VALUES (?, ?)"));
    while (filas.next()) {
        upd.addBindValue(filas.value(0));
        upd.addBindValue(TextoDeBusqueda(ReciboDeFila(filas.record())));
        if (!upd.exec())
            return FalloSql(upd.lastError());
    }
    return true;
}

// Version 3: the lists of receipts emitted together from a spreadsheet, and each receipt's
// list (NULL for a receipt from the form).
bool Registro::MigrarA3() {
    return EjecutarDdl({
        "CREATE TABLE lotes (id INTEGER PRIMARY KEY, creado TEXT NOT NULL, "
        "archivo TEXT NOT NULL, destino TEXT NOT NULL, recibos INTEGER NOT NULL)",
        "ALTER TABLE recibos ADD COLUMN lote INTEGER REFERENCES lotes (id)",
        "CREATE INDEX recibos_lote ON recibos (lote)",
    });
}

// Version 4: the remittance file (its message identifier) that debits a receipt, NULL for
// a receipt not collected by the bank, so a remittance's receipts can be listed.
bool Registro::MigrarA4() {
    return EjecutarDdl({
        "ALTER TABLE recibos ADD COLUMN remesa TEXT",
        "CREATE INDEX recibos_remesa ON recibos (remesa)",
    });
}

// Whether `tabla` has the column `columna`: a file set back to an older version by hand may
// still hold what a later version added, and a migration then adds only what is missing.
bool Registro::TieneColumna(const QString& tabla, const QString& columna) {
    bool existe = false;
    QSqlError e;
    return dialecto::ExisteColumna(Base(), tabla, columna, existe, e) && existe;
}

bool Registro::AnadirColumnas(std::initializer_list<ColumnaNueva> columnas) {
    QSqlQuery q(Base());
    for (const ColumnaNueva& c : columnas)
        if (!TieneColumna(QLatin1String(c.tabla), QLatin1String(c.columna)) &&
            !q.exec(dialecto::Ddl(Base(), QLatin1String(c.sql))))
            return FalloSql(q.lastError());
    return true;
}

bool Registro::EjecutarDdl(std::initializer_list<const char*> sentencias) {
    QSqlQuery q(Base());
    for (const char* sql : sentencias)
        if (!q.exec(dialecto::Ddl(Base(), QLatin1String(sql))))
            return FalloSql(q.lastError());
    return true;
}

// Version 5: numbers that Talvero drew are unique (two programs emitting lists at once can
// never give one number twice; numbers typed by hand may repeat, with a warning), and a
// list is recorded before its files are put in place: `pendiente` holds the token of the
// emission that is placing them, `listo` says they are complete on disk, and `salidas` the
// files (temporary name, final name, the file's identity once written) that it places.
bool Registro::MigrarA5() {
    QSqlQuery q(Base());
    if (!AnadirColumnas({
            {"recibos", "numerado",
             "ALTER TABLE recibos ADD COLUMN numerado INTEGER NOT NULL DEFAULT 0"},
            {"lotes", "pendiente", "ALTER TABLE lotes ADD COLUMN pendiente TEXT"},
            {"lotes", "listo", "ALTER TABLE lotes ADD COLUMN listo INTEGER NOT NULL DEFAULT 0"},
        }))
        return false;
    if (!EjecutarDdl({
            "CREATE UNIQUE INDEX IF NOT EXISTS recibos_numerado ON recibos (numero) "
            "WHERE numerado = 1",
            "CREATE TABLE IF NOT EXISTS salidas (lote INTEGER NOT NULL REFERENCES lotes (id), "
            "temporal TEXT NOT NULL, destino TEXT NOT NULL, reemplazar INTEGER NOT NULL, "
            "remesa TEXT, identidad TEXT)",
            "CREATE INDEX IF NOT EXISTS lotes_pendiente ON lotes (pendiente)",
        }))
        return false;
    // A list's files are placed in the order they were recorded: SQLite numbers every row
    // (rowid), PostgreSQL is told to.
    if (dialecto::EsPostgres(Base()) &&
        !q.exec(QStringLiteral("ALTER TABLE salidas ADD COLUMN IF NOT EXISTS rowid BIGINT "
                               "GENERATED ALWAYS AS IDENTITY")))
        return FalloSql(q.lastError());
    return true;
}

// Version 6: who has paid. `seguimiento` tells the receipts recorded from this version on
// (1), whose collection is followed, from those recorded before (0), which stay "sin
// seguimiento" until the user says otherwise; `anulado` is set when a receipt is cancelled.
// `remesas_recibo` holds every remittance a receipt was in, with how it was debited, and
// `cambios_cobro` every change of its collection state, in the order they were recorded.
// The remittances already recorded go into both with what was kept of them: the receipt's
// number as the end-to-end reference it was written with, its total in cents, the day its
// list was made, and neither the collection date nor the mandate and the account, which
// were not kept.
bool Registro::MigrarA6() {
    QSqlQuery q(Base());
    if (!AnadirColumnas({
            {"recibos", "anulado", "ALTER TABLE recibos ADD COLUMN anulado TEXT"},
            {"recibos", "seguimiento",
             "ALTER TABLE recibos ADD COLUMN seguimiento INTEGER NOT NULL DEFAULT 0"},
        }))
        return false;
    bool yaEstaba = false;
    if (QSqlError e; !dialecto::ExisteTabla(Base(), QStringLiteral("remesas_recibo"), yaEstaba, e))
        return FalloSql(e);
    if (!EjecutarDdl({
            "CREATE TABLE IF NOT EXISTS remesas_recibo (id INTEGER PRIMARY KEY, "
            "recibo INTEGER NOT NULL REFERENCES recibos (id), remesa TEXT NOT NULL, "
            "creada TEXT NOT NULL, cobro TEXT, mandato TEXT, referencia TEXT NOT NULL, "
            "centimos INTEGER NOT NULL, acreedor TEXT, iban TEXT, bic TEXT, titular TEXT, "
            "fecha_mandato TEXT, poblacion TEXT, pais TEXT, direccion TEXT, "
            "UNIQUE (recibo, remesa))",
            "CREATE INDEX IF NOT EXISTS remesas_recibo_referencia ON remesas_recibo "
            "(remesa, referencia)",
            "CREATE TABLE IF NOT EXISTS cambios_cobro (id INTEGER PRIMARY KEY, "
            "recibo INTEGER NOT NULL REFERENCES recibos (id), estado TEXT NOT NULL, "
            "fecha TEXT NOT NULL, origen TEXT NOT NULL, motivo TEXT, remesa TEXT, "
            "fichero TEXT, deshace INTEGER REFERENCES cambios_cobro (id), "
            "anotado TEXT NOT NULL)",
            "CREATE INDEX IF NOT EXISTS cambios_cobro_recibo ON cambios_cobro "
            "(recibo, fecha, id)",
        }))
        return false;
    if (yaEstaba)
        return true;
    // The day a remittance was made: its list's, else the receipt's own issue.
    QSqlQuery filas(Base());
    filas.setForwardOnly(true);
    if (!filas.exec(QLatin1String(kRemesasAnteriores)))
        return FalloSql(filas.lastError());
    QSqlQuery ins(Base());
    ins.prepare(QStringLiteral("INSERT INTO remesas_recibo (recibo, remesa, creada, referencia, "
                               "centimos) VALUES (?, ?, ?, ?, ?)"));
    while (filas.next()) {
        for (int i : {0, 1, 2})
            ins.addBindValue(filas.value(i));
        ins.addBindValue(sepa::ReferenciaDeAdeudo(filas.value(3).toString().toStdString()));
        ins.addBindValue(filas.value(4));
        if (!ins.exec())
            return FalloSql(ins.lastError());
    }
    if (!q.exec(QStringLiteral(
            "INSERT INTO cambios_cobro (recibo, estado, fecha, origen, remesa, anotado) "
            "SELECT recibo, 'en remesa', creada, 'remesa', remesa, creada FROM remesas_recibo "
            "ORDER BY id")))
        return FalloSql(q.lastError());
    return true;
}

// A receipt cancelled by an anulación keeps the day it was cancelled (yyyy-mm-dd) in
// `anulado`, NULL while it stands.
bool Registro::AnadirAnulado() {
    return AnadirColumnas({{"recibos", "anulado", "ALTER TABLE recibos ADD COLUMN anulado TEXT"}});
}

// Version 7: the invoicing records (see register/RegistroFacturacion.h and FilaFacturacion.h).
// Triggers refuse any change of a record's fields and any deletion, except taking back the
// altas of a list that is still pending (never sent: a list is taken back only before it
// left); an issuer's number has one alta unless the agency refused the earlier one.
bool Registro::MigrarA7() {
    if (!AnadirAnulado())
        return false;
    QSqlQuery q(Base());
    for (const QString& sql : EsquemaFacturacion(dialecto::EsPostgres(Base())))
        if (!q.exec(dialecto::Ddl(Base(), sql)))
            return FalloSql(q.lastError());
    return true;
}

} // namespace registro
