// The register of issued receipts: one SQLite file, one row per receipt that left the
// program, printed or saved as PDF; or, for an office that shares one, the same tables on a
// PostgreSQL server (see register/RegistroServidor.cpp and register/Dialecto.h).
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
#include "register/Facturar.h"
#include "register/RegistroFacturacion.h"

#include <QDate>
#include <QDateTime>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>
#include <QStringList>

#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace registro {

// A number made of digits plus one, digit by digit so that no number is too long: "0099"
// gives "0100", "999" gives "1000".
QString MasUno(QString digitos);

class Registro {
public:
    // The schema version this program writes; older files are migrated to it.
    static constexpr int VERSION = 7;

    // recibos.sqlite in the per-user data folder of "Quenlaria"/"Talvero".
    static QString RutaPorDefecto();
    // The register the program uses: the settings key "Registro" when it holds a PostgreSQL
    // connection URI, else the file at RutaPorDefecto().
    static QString Ubicacion();

    // `ruta` is a file's path, or a PostgreSQL connection URI (postgresql://...): then the
    // register is on that server, with the same tables and the same behaviour.
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
    // Whether there is a register at `ruta` (a file, or a server's database that holds one),
    // found without creating or changing anything.
    static bool Existe(const QString& ruta);

    // Inserts one issued receipt, in one transaction. `recibo` must be the record as the
    // form filled it, before it was drawn. A file found damaged here is set aside and the
    // insert tried once more in a fresh register.
    bool Anotar(const CRecibo& recibo, const QString& destino,
                const QDateTime& emitido = QDateTime::currentDateTimeUtc());

    // The same with the receipt's alta, chained after its issuer's last record, in the same
    // transaction: both or neither. A receipt that cannot be an invoice, or whose number the
    // issuer already used, records nothing; Error() says why. The receipt's row id, or 0.
    qint64 AnotarConAlta(const CRecibo& recibo, const QString& destino, const Facturacion& f,
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
    // How a remittance debits a receipt, kept so that the bank's report of a return finds it
    // and a new remittance debits it the same way: the collection date, the mandate and the
    // end-to-end reference exactly as the file writes them, the amount in cents, the
    // creditor's identifier, and the debtor's account as the file gives it.
    struct EnRemesa {
        QDate cobro;
        QString mandato, referencia, acreedor;
        qint64 centimos = 0;
        QString iban, bic, titular;
        QDate fechaMandato;
        QString poblacion, pais;
        QStringList lineas; // of the address
    };
    using Adeudos = std::function<EnRemesa(qint64 i)>;
    qint64 AnotarLote(const QString& archivo, const QString& destino, qint64 cuantos,
                      const Emision& emision,
                      const QDateTime& creado = QDateTime::currentDateTimeUtc(),
                      const Remesas& remesaDe = {});

    // A list recorded before its files are in place, so that the files and the register can
    // never disagree: the receipts are recorded with the files they go to (ReservarLote),
    // the files are written under temporary names, marked complete (MarcarListo), put at
    // their names without replacing anything, and then the marks go (CerrarLote). A list
    // whose files cannot all be put in place is taken back whole (DeshacerLote), and with it
    // whatever its remittance changed of receipts recorded before (their earlier remittance
    // is theirs again). A list
    // whose program died half-way is found by LotesPendientes and finished or taken back
    // (see register/Pendientes.h).
    struct Salida {
        QString temporal, destino;
        bool reemplazar = false; // the user chose to replace a file at `destino`
        QString remesa;          // the MsgId, when this file is a remittance
        QString identidad;       // the written file's identity (device and inode)
    };
    struct Reserva {
        QString archivo, destino; // as for AnotarLote
        QDateTime creado = QDateTime::currentDateTimeUtc();
        qint64 cuantos = 0;
        Emision emision;
        Remesas remesaDe;
        // What the remittance debits of the i-th receipt, when `remesaDe` gives it one.
        Adeudos adeudoDe;
        // Whether the i-th receipt's number was drawn by Talvero: such a number must still be
        // free when the list is recorded, and is unique in the register.
        std::function<bool(qint64 i)> numeroDeTalvero;
        QString testigo; // the emission's token (see Pendientes.h)
        // With VERI*FACTU: each receipt's alta, chained in the list's order, in the same
        // transaction. Taken back with the list by DeshacerLote.
        const Facturacion* facturacion = nullptr;
        std::vector<Salida> salidas;
        // Further changes made in the same transaction, as when receipts already recorded
        // go into the list's remittance (register/RemesaDevueltos.h); false to record nothing.
        std::function<bool(QSqlError&)> ademas;
    };
    // The list's id, or 0 with Error() set; when numbers drawn by Talvero were taken
    // meanwhile by another program, NumerosOcupados() names them and nothing is recorded.
    qint64 ReservarLote(const Reserva& reserva);
    const QStringList& NumerosOcupados() const { return ocupados_; }
    // Every file of the list is complete under its temporary name, with `identidades` (one
    // per Salida, in order).
    bool MarcarListo(qint64 lote, const QStringList& identidades);
    bool CerrarLote(qint64 lote);
    bool DeshacerLote(qint64 lote);
    struct Pendiente {
        qint64 lote = 0;
        QString testigo, archivo;
        qint64 recibos = 0;
        bool listo = false;
        std::vector<Salida> salidas;
    };
    std::vector<Pendiente> LotesPendientes();

    // The lists recorded, newest first; a remittance of returned receipts collected again,
    // recorded as a list without a list file, is not one.
    struct Lote {
        qint64 id = 0;
        QDateTime creado;
        QString archivo, destino;
        qint64 recibos = 0;
    };
    std::vector<Lote> Lotes();

    // Every non-empty number in use.
    QSet<QString> NumerosEnUso();
    // The numbers an issuer of invoices may not use again: those of its altas (unless the
    // agency refused them: an alta por rechazo reuses the number) and those of receipts
    // issued without records.
    QSet<QString> NumerosUsadosPor(const std::string& emisorNif);

    // The record of row `id`, as it was stored; nothing when there is no such row, or,
    // with Error() set, when an amount of the row is not an amount (a file edited by hand).
    std::optional<CRecibo> Cargar(qint64 id);

    // One receipt recorded inside a write transaction that the caller holds (register/Cobros.h,
    // EnUnaTransaccion), with `remesa` the MsgId that debits it (empty: none) and `numerado`
    // when Talvero drew its number, which must then be free. Its id, or 0 with `error` set.
    qint64 InsertarDentro(const CRecibo& recibo, const QString& destino, const QDateTime& emitido,
                          const QString& remesa, bool numerado, QSqlError& error);

    // The highest number plus one, zero-padded to its width, when every non-empty number
    // in use is made of digits only; empty otherwise or when there are none.
    QString SiguienteNumeroLibre();

    const QString& Ruta() const { return ruta_; }
    // Whether the register is on a PostgreSQL server rather than in a file.
    bool EnServidor() const;
    // Why the last operation failed, in Spanish for the user; empty after a success.
    const QString& Error() const { return error_; }
    // Where a damaged file was set aside during this instance's life, or empty.
    const QString& Apartado() const { return apartado_; }

    // A failure of SQLite or of the PostgreSQL server, told in Spanish, with the engine's own
    // words after it.
    static QString MotivoDe(const QSqlError& error);

    // The invoicing records (register/RegistroFacturacion.h), read and stored for sending.
    // The pending records of one issuer, oldest first, at most `maximo`; never past a record
    // of a list still pending (it may yet be taken back).
    std::vector<RegistroFacturacion> RegistrosPorEnviar(const QString& nifEmisor,
                                                        std::size_t maximo);
    // How many records are pending, all issuers.
    qint64 CuantosPorEnviar();
    // The agency's answer, stored in one transaction (the CSV on each record named).
    bool AnotarEstados(const std::vector<EstadoDeRegistro>& estados, const QString& csv);
    // A technical failure: these records go again with Incidencia = S.
    bool MarcarIncidencia(const std::vector<qint64>& ids);
    // Refused records not yet reported; and the mark that they were.
    std::vector<RegistroFacturacion> RechazosSinAvisar();
    bool MarcarAvisado(qint64 id);
    // Every record, in order of generation; and those of one receipt.
    std::vector<RegistroFacturacion> RegistrosFacturacion();
    std::vector<RegistroFacturacion> RegistrosDeRecibo(qint64 recibo);
    // The receipt's last alta, when it has one.
    std::optional<RegistroFacturacion> AltaVigente(qint64 recibo);
    // "Anular…": a RegistroAnulacion of the receipt's alta, chained like any record, and the
    // receipt marked cancelled on `hoy` (recibos.anulado), in one transaction.
    bool Anular(qint64 recibo, const QDate& hoy,
                const QDateTime& momento = QDateTime::currentDateTime());

    // The connection, for models and exports that read the table.
    QSqlDatabase Base() const;
    // After a failure: whether it was the server's connection that was lost. It is then
    // closed, so that the next operation connects again.
    bool ConexionPerdida();

private:
    bool AbrirConexion();
    bool Conectar(bool soloLectura);
    // A register on a PostgreSQL server (register/RegistroServidor.cpp). On the windows'
    // thread the connection is made on another (register/ConexionEnSegundoPlano.h), and a
    // password the server wants is asked there (register/PreguntaDeClave.h).
    bool ConectarServidor(bool soloLectura);
    bool AbrirServidor(bool soloLectura);
    // Before a write: a connection that the server ended while it lay idle (it was restarted)
    // is closed, so that the write connects again instead of failing; nothing was sent on it.
    void ComprobarConexion();
    bool LeerVersion(int& version);
    bool VersionAdmitida(int version);
    struct LoteNuevo {
        QString archivo, destino;
        QDateTime creado;
        Remesas remesaDe;
        Adeudos adeudoDe;
        qint64 id = 0; // set by the insert
        const Reserva* reserva = nullptr;
    };
    bool AnotarEnTransaccion(qint64 cuantos, const Emision& emision, LoteNuevo* lote,
                             const Facturacion* facturacion = nullptr);
    bool Insertar(qint64 cuantos, const Emision& emision, LoteNuevo* lote,
                  const Facturacion* facturacion, QSqlError& error);
    bool InsertarFila(const CRecibo& recibo, const QString& destino, const QDateTime& emitido,
                      const QVariant& lote, const QVariant& remesa, bool numerado, QSqlError& error,
                      qint64* id = nullptr);
    // The alta of the i-th receipt of an emission, recorded as row `recibo`; false with
    // motivoAlta_ set when it cannot be an invoice, or with `error` set.
    bool InsertarAlta(const CRecibo& recibo, qint64 i, qint64 idRecibo, const Facturacion& f,
                      QSqlError& error);
    bool InsertarReserva(const Reserva& reserva, qint64 lote, QSqlError& error);
    bool EnTransaccion(const std::function<bool(QSqlError&)>& cambios);
    std::vector<RegistroFacturacion> LeerFacturacion(const QString& resto,
                                                     const QVariantList& valores);
    // Chains `nuevo` after its issuer's last record and appends it; under the write lock.
    bool InsertarFacturacion(verifactu::Registro& nuevo, qint64 recibo, QSqlError& error);
    bool InsertarAnulacion(const RegistroFacturacion& alta, const QDateTime& momento,
                           QSqlError& error);
    bool AnularLote(qint64 lote, QSqlError& error);
    // A statement prepared once for this connection and kept: a list's altas run the same
    // few for every receipt.
    QSqlQuery& Preparada(const QString& sql);
    bool TieneColumna(const QString& tabla, const QString& columna);
    // A column a later version added: its table, its name and the statement that adds it.
    struct ColumnaNueva {
        const char* tabla;
        const char* columna;
        const char* sql;
    };
    // Each column that the file does not have yet; false (with the error kept) at the first
    // that fails.
    bool AnadirColumnas(std::initializer_list<ColumnaNueva> columnas);
    // Each statement in order, adapted to the engine; false at the first that fails.
    bool EjecutarDdl(std::initializer_list<const char*> sentencias);
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
    bool MigrarA5();
    bool MigrarA6();
    bool MigrarA7();
    bool AnadirAnulado();

    QString ruta_;
    QString conexion_;
    QString error_;
    QString apartado_;
    QStringList ocupados_;
    std::map<QString, std::unique_ptr<QSqlQuery>> preparadas_;
    QString motivoAlta_;      // why the last emission's receipt could not be an invoice
    qint64 ultimoRecibo_ = 0; // the row id of the last receipt inserted
    bool abierto_ = false;
    bool danado_ = false; // the last failure to open was a damaged file
    bool noExiste_ = false;
    bool conectando_ = false; // the windows wait for this register's server
};

} // namespace registro
