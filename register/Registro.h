// The register of issued receipts: one SQLite file, one row per receipt that left the
// program, printed or saved as PDF.
//
// This class is the only place that knows the file: its schema and version (PRAGMA
// user_version, migrated forward in one transaction), how it is opened (WAL, synchronous
// FULL, a busy timeout so that two running copies share it) and what happens when it is
// damaged: the file is never overwritten or deleted but set aside as
// "recibos.sqlite.dañado-<fecha>", and a fresh register is started in its place. A file of
// a newer or unknown version is only ever read: it is reported and left as it was.
//
// Every instance has a connection of its own, so the window and the print path can each
// hold one.
#pragma once

#include "receipt/Recibo.h"

#include <QDateTime>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace registro {

// A number made of digits plus one, digit by digit so that no number is too long: "0099"
// gives "0100", "999" gives "1000".
QString MasUno(QString digitos);

class Registro {
public:
    // The schema version this program writes; older files are migrated to it.
    static constexpr int VERSION = 4;

    // recibos.sqlite in the per-user data folder of "Quenlaria"/"Talvero".
    static QString RutaPorDefecto();

    explicit Registro(QString ruta);
    ~Registro();
    Registro(const Registro&) = delete;
    Registro& operator=(const Registro&) = delete;

    // Opens the register, creating the file and its folder when missing and migrating an
    // older schema. A damaged file is set aside (see Apartado()) and a fresh one opened.
    // False, with Error() set, when there is no usable register.
    bool Abrir();
    bool Abierto() const;

    // Opens an existing register for reading only, as a backup reads it: never creates,
    // migrates, sets aside or writes anything. False, with Error() set, when there is no
    // register (NoExiste()) or it cannot be read; Anotar() and the rest then fail too.
    bool AbrirParaLeer();
    // The last Abrir or AbrirParaLeer found nothing at the register's path.
    bool NoExiste() const { return noExiste_; }

    // Inserts one issued receipt, in one transaction. `recibo` must be the record as the
    // form filled it, before it was drawn. A file found damaged here is set aside and the
    // insert tried once more in a fresh register.
    bool Anotar(const CRecibo& recibo, const QString& destino,
                const QDateTime& emitido = QDateTime::currentDateTimeUtc());

    // Many receipts in one transaction, all or none: `emision(i, ...)` fills the i-th. For
    // imports and for building large registers in tests and benchmarks.
    using Emision =
        std::function<void(qint64 i, CRecibo& recibo, QString& destino, QDateTime& emitido)>;
    bool AnotarVarios(qint64 cuantos, const Emision& emision);

    // The receipts of a list that left the program together, in one transaction with the
    // list's own row in `lotes` (`archivo` the list's file, `destino` the print queue, the
    // PDF or the folder). The id of the list's row, or 0 with Error() set.
    // `remesaDe(i)`, when given, is the identifier (MsgId) of the remittance file that
    // debits the i-th receipt, or empty when it is not debited.
    using Remesas = std::function<QString(qint64 i)>;
    qint64 AnotarLote(const QString& archivo, const QString& destino, qint64 cuantos,
                      const Emision& emision,
                      const QDateTime& creado = QDateTime::currentDateTimeUtc(),
                      const Remesas& remesaDe = {});

    // The lists recorded, newest first.
    struct Lote {
        qint64 id = 0;
        QDateTime creado;
        QString archivo, destino;
        qint64 recibos = 0;
    };
    std::vector<Lote> Lotes();

    // Every non-empty number in use.
    QSet<QString> NumerosEnUso();

    // The record of row `id`, as it was stored; nothing when there is no such row, or,
    // with Error() set, when an amount of the row is not an amount (a file edited by hand).
    std::optional<CRecibo> Cargar(qint64 id);

    // The highest number plus one, zero-padded to its width, when every non-empty number
    // in use is made of digits only; empty otherwise or when there are none.
    QString SiguienteNumeroLibre();

    const QString& Ruta() const { return ruta_; }
    // Why the last operation failed, in Spanish for the user; empty after a success.
    const QString& Error() const { return error_; }
    // Where a damaged file was set aside during this instance's life, or empty.
    const QString& Apartado() const { return apartado_; }

    // A failure of SQLite, told in Spanish, with SQLite's own words after it.
    static QString MotivoDe(const QSqlError& error);

    // The connection, for models and exports that read the table.
    QSqlDatabase Base() const;

private:
    bool AbrirConexion();
    bool Conectar(bool soloLectura);
    bool LeerVersion(int& version);
    bool VersionAdmitida(int version);
    struct LoteNuevo {
        QString archivo, destino;
        QDateTime creado;
        Remesas remesaDe;
        qint64 id = 0; // set by the insert
    };
    bool AnotarEnTransaccion(qint64 cuantos, const Emision& emision, LoteNuevo* lote);
    bool Insertar(qint64 cuantos, const Emision& emision, LoteNuevo* lote, QSqlError& error);
    bool InsertarFila(const CRecibo& recibo, const QString& destino, const QDateTime& emitido,
                      const QVariant& lote, const QVariant& remesa, QSqlError& error);
    bool Configurar();
    bool Migrar();
    bool EsDanado(const QSqlError& error) const;
    bool Apartar();
    void Cerrar();
    bool Fallo(const QString& motivo);
    bool FalloSql(const QSqlError& error);

    // The numbered migrations: migration n takes a file from version n - 1 to n.
    bool MigrarA1();
    bool MigrarA2();
    bool MigrarA3();
    bool MigrarA4();

    QString ruta_;
    QString conexion_;
    QString error_;
    QString apartado_;
    bool abierto_ = false;
    bool danado_ = false; // the last failure to open was a damaged file
    bool noExiste_ = false;
};

} // namespace registro
