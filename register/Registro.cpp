#include "register/Registro.h"

#include "resources/links/Enlaces.h"

#include "platform/SettingsStore.h"
#include "register/Cobros.h"
#include "register/Dialecto.h"
#include "register/FilaRecibo.h"
#include "register/MotivoPostgres.h"
#include "sepa/Adeudo.h"
#include "sepa/Pain008.h"

#include <QAtomicInteger>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QThread>
#include <QUrl>

namespace registro {

namespace {

QString NuevaConexion() {
    static QAtomicInteger<quint64> contador;
    return QStringLiteral("talvero-registro-%1").arg(contador.fetchAndAddRelaxed(1));
}

// SQLite's primary result codes, as the driver reports them.
constexpr int kSqliteCorrupt = 11;
constexpr int kSqliteNotADb = 26;
constexpr int kSqliteBusy = 5;

// The reason for the user, in Spanish, with SQLite's own words after it for whoever helps.
} // namespace

QString Registro::MotivoDe(const QSqlError& e) {
    if (EsErrorPostgres(e))
        return MotivoPostgres(e);
    const QString original = e.databaseText().isEmpty() ? e.text() : e.databaseText();
    QString motivo;
    switch (e.nativeErrorCode().toInt()) {
    case 3:  // SQLITE_PERM
    case 23: // SQLITE_AUTH
        motivo = QStringLiteral("no hay permiso para usar el archivo");
        break;
    case 5: // SQLITE_BUSY
    case 6: // SQLITE_LOCKED
        motivo = QStringLiteral("otro programa lo tiene bloqueado desde hace más de 5 segundos");
        break;
    case 8: // SQLITE_READONLY
        motivo = QStringLiteral("el archivo o su carpeta son de solo lectura");
        break;
    case 10: // SQLITE_IOERR
        motivo = QStringLiteral("error de lectura o escritura en el disco");
        break;
    case kSqliteCorrupt:
        motivo = QStringLiteral("el archivo está dañado");
        break;
    case 13: // SQLITE_FULL
        motivo = QStringLiteral("el disco está lleno");
        break;
    case 14: // SQLITE_CANTOPEN
        motivo = QStringLiteral("no se puede abrir el archivo");
        break;
    case kSqliteNotADb:
        motivo = QStringLiteral("el archivo no es un registro de recibos");
        break;
    default:
        motivo = QStringLiteral("error de la base de datos");
        break;
    }
    return original.isEmpty() ? motivo : QStringLiteral("%1 (%2)").arg(motivo, original);
}

QString Registro::RutaPorDefecto() {
    // The same folder as AppDataLocation for the distributor and "Talvero", without touching
    // the application name, which also places the settings file. The distributor's name is
    // kept scrambled in the program, like its other links.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QLatin1Char('/') + QString::fromStdString(enlaces::Empresa()) +
           QStringLiteral("/Talvero/recibos.sqlite");
}

QString Registro::Ubicacion() {
    // Only a server's address is taken from the settings: the file's place is the program's.
    const QString clave = QString::fromStdString(
        platform::SettingsStore().GetString(platform::kTalveroSection, "Registro"));
    return dialecto::EsUri(clave.trimmed()) ? clave.trimmed() : RutaPorDefecto();
}

bool Registro::EnServidor() const {
    return dialecto::EsUri(ruta_);
}

Registro::Registro(QString ruta) : ruta_(std::move(ruta)), conexion_(NuevaConexion()) {}

Registro::~Registro() {
    Cerrar();
}

QSqlQuery& Registro::Preparada(const QString& sql) {
    std::unique_ptr<QSqlQuery>& q = preparadas_[sql];
    if (!q) {
        q = std::make_unique<QSqlQuery>(Base());
        q->prepare(sql);
    }
    return *q;
}

QSqlDatabase Registro::Base() const {
    return QSqlDatabase::database(conexion_, false);
}

bool Registro::Abierto() const {
    return abierto_;
}

void Registro::Cerrar() {
    abierto_ = false;
    preparadas_.clear(); // before their connection goes
    if (QSqlDatabase::contains(conexion_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(conexion_, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(conexion_);
    }
}

bool Registro::Fallo(const QString& motivo) {
    error_ = motivo;
    return false;
}

bool Registro::FalloSql(const QSqlError& error) {
    danado_ = danado_ || EsDanado(error);
    return Fallo(MotivoDe(error));
}

bool Registro::EsDanado(const QSqlError& error) const {
    const int codigo = error.nativeErrorCode().toInt();
    return codigo == kSqliteCorrupt || codigo == kSqliteNotADb;
}

bool Registro::Abrir() {
    error_.clear();
    if (abierto_)
        return true;
    if (EnServidor())
        return AbrirServidor(false);
    if (const QFileInfo info(ruta_); info.exists() && !info.isFile()) {
        // Something that is not a register took its name (a folder, a FIFO that would hang
        // the first read): keep it, start a fresh one.
        if (!Apartar())
            return false;
    }
    if (AbrirConexion())
        return true;
    if (!apartado_.isEmpty() || !danado_)
        return false;
    // Damaged: set it aside and start afresh, once.
    if (!Apartar())
        return false;
    return AbrirConexion();
}

bool Registro::AbrirConexion() {
    danado_ = false;
    noExiste_ = false;
    const QFileInfo info(ruta_);
    if (!QDir().mkpath(info.absolutePath()))
        return Fallo(QStringLiteral("no se puede crear la carpeta %1").arg(info.absolutePath()));

    // A file that is there is read before anything is written to it: one of a newer or
    // unknown version is left exactly as it was, journal mode included.
    if (info.exists()) {
        int version = 0;
        const bool admitida = Conectar(true) && LeerVersion(version) && VersionAdmitida(version);
        Cerrar();
        if (!admitida)
            return false;
    }
    if (!Conectar(false))
        return false;
    if (!Configurar() || !Migrar()) {
        Cerrar();
        return false;
    }
    abierto_ = true;
    return true;
}

bool Registro::AbrirParaLeer() {
    error_.clear();
    if (abierto_)
        return true;
    if (EnServidor())
        return AbrirServidor(true);
    danado_ = false;
    const QFileInfo info(ruta_);
    noExiste_ = !info.exists();
    if (noExiste_)
        return Fallo(QStringLiteral("no hay ningún registro de recibos en %1: todavía no se ha "
                                    "emitido ningún recibo")
                         .arg(ruta_));
    if (!info.isFile())
        return Fallo(QStringLiteral("%1 no es un archivo de registro").arg(ruta_));
    int version = 0;
    if (!Conectar(true) || !LeerVersion(version) || !VersionAdmitida(version)) {
        Cerrar();
        return false;
    }
    if (version == 0) {
        Cerrar();
        return Fallo(QStringLiteral("el archivo no es un registro de recibos (versión 0)"));
    }
    abierto_ = true;
    return true;
}

bool Registro::Conectar(bool soloLectura) {
    Cerrar();
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), conexion_);
    if (!db.isValid())
        return Fallo(QStringLiteral("falta el controlador de SQLite para Qt (QSQLITE)"));
    QString opciones = QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000");
    if (!soloLectura) {
        db.setDatabaseName(ruta_);
    } else if (QFileInfo::exists(ruta_ + QStringLiteral("-wal"))) {
        // In use, or left by a program that ended without closing: read through its journal,
        // which already exists.
        db.setDatabaseName(ruta_);
        opciones += QStringLiteral(";QSQLITE_OPEN_READONLY");
    } else {
        // Nobody has it open, so the file holds every row. A plain read-only connection would
        // leave a journal and its index next to it, owned by whoever reads: a backup run as
        // another user would then keep the program itself from writing.
        QUrl url = QUrl::fromLocalFile(QFileInfo(ruta_).absoluteFilePath());
        url.setQuery(QStringLiteral("mode=ro&immutable=1"));
        db.setDatabaseName(url.toString(QUrl::FullyEncoded));
        opciones += QStringLiteral(";QSQLITE_OPEN_READONLY;QSQLITE_OPEN_URI");
    }
    db.setConnectOptions(opciones);
    if (!db.open()) {
        danado_ = EsDanado(db.lastError());
        const QString motivo = MotivoDe(db.lastError());
        db = QSqlDatabase();
        Cerrar();
        return Fallo(motivo);
    }
    return true;
}

// Reading the schema is the first thing that touches the file's contents: a file that is
// not a database fails here.
bool Registro::LeerVersion(int& version) {
    QSqlDatabase db = Base();
    QSqlQuery q(db);
    QSqlError e;
    if ((!dialecto::EsPostgres(db) &&
         !q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) &&
         (e = q.lastError(), true)) ||
        !dialecto::LeerVersion(db, version, e)) {
        danado_ = EsDanado(e);
        return Fallo(MotivoDe(e));
    }
    return true;
}

bool Registro::Configurar() {
    int version = 0;
    if (!LeerVersion(version))
        return false;
    QSqlQuery q(Base());
    // Switching a new file to WAL needs it to itself, and SQLite says so at once rather
    // than waiting: another copy may be creating the same file. Ask again for as long as
    // a lock is waited for elsewhere.
    QElapsedTimer espera;
    espera.start();
    while (!q.exec(QStringLiteral("PRAGMA journal_mode=WAL")) &&
           q.lastError().nativeErrorCode().toInt() == kSqliteBusy && espera.elapsed() < 5000)
        QThread::msleep(20);
    if (!q.isActive() || !q.next()) {
        danado_ = EsDanado(q.lastError());
        return Fallo(MotivoDe(q.lastError()));
    }
    if (q.value(0).toString().compare(QLatin1String("wal"), Qt::CaseInsensitive) != 0)
        return Fallo(QStringLiteral("no se puede usar el diario WAL en este sistema de archivos"));
    if (!q.exec(QStringLiteral("PRAGMA synchronous=FULL")))
        return Fallo(MotivoDe(q.lastError()));
    return true;
}

bool Registro::Apartar() {
    Cerrar();
    const QString fecha =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_HH-mm-ss"));
    QString destino = ruta_ + QStringLiteral(".dañado-") + fecha;
    for (int n = 2; QFileInfo::exists(destino); ++n)
        destino = ruta_ + QStringLiteral(".dañado-%1-%2").arg(fecha).arg(n);
    if (!QDir().rename(ruta_, destino))
        return Fallo(
            QStringLiteral("el registro está dañado y no se puede apartar como %1").arg(destino));
    // The journal files belong to the damaged file: they go with it, never into the new one.
    for (const char* sufijo : {"-wal", "-shm"}) {
        const QString viejo = ruta_ + QLatin1String(sufijo);
        if (QFileInfo::exists(viejo))
            QDir().rename(viejo, destino + QLatin1String(sufijo));
    }
    apartado_ = destino;
    return true;
}

bool Registro::InsertarFila(const CRecibo& recibo, const QString& destino, const QDateTime& emitido,
                            const QVariant& lote, const QVariant& remesa, bool numerado,
                            QSqlError& error, qint64* id) {
    QSqlDatabase db = Base();
    static const QString sql = [] {
        QStringList cols = ColumnasRecibo();
        cols << QStringLiteral("total");
        QStringList marcas;
        for (const QString& c : cols)
            marcas << QLatin1Char(':') + c;
        // Every receipt recorded from now on has its collection followed (seguimiento).
        return QStringLiteral("INSERT INTO recibos (emitido, destino, lote, remesa, numerado, "
                              "seguimiento, %1) "
                              "VALUES (:emitido, :destino, :lote, :remesa, :numerado, 1, %2)")
            .arg(cols.join(QStringLiteral(", ")), marcas.join(QStringLiteral(", ")));
    }();
    // Prepared once per connection: a list records a thousand receipts with the same two
    // statements, and a server would otherwise be asked to prepare and drop each one.
    QSqlQuery& ins = Preparada(sql + dialecto::DevolviendoId(db));
    ins.bindValue(QStringLiteral(":emitido"),
                  emitido.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
    ins.bindValue(QStringLiteral(":destino"), destino);
    ins.bindValue(QStringLiteral(":lote"), lote);
    ins.bindValue(QStringLiteral(":remesa"), remesa);
    ins.bindValue(QStringLiteral(":numerado"), numerado ? 1 : 0);
    EnlazarRecibo(ins, recibo);
    if (!ins.exec()) {
        error = ins.lastError();
        return false;
    }
    const qint64 nuevo = dialecto::IdInsertado(db, ins);
    ins.finish();
    if (id != nullptr)
        *id = nuevo;
    QSqlQuery& texto =
        Preparada(QStringLiteral("INSERT INTO busqueda (recibo, texto) VALUES (?, ?)"));
    texto.bindValue(0, nuevo);
    texto.bindValue(1, TextoDeBusqueda(recibo));
    if (!texto.exec()) {
        error = texto.lastError();
        return false;
    }
    texto.finish();
    return true;
}

qint64 Registro::InsertarDentro(const CRecibo& recibo, const QString& destino,
                                const QDateTime& emitido, const QString& remesa, bool numerado,
                                QSqlError& error) {
    qint64 id = 0;
    const QVariant sinLote(QMetaType::fromType<qint64>());
    const QVariant msgId = remesa.isEmpty() ? QVariant(QMetaType::fromType<QString>()) : remesa;
    return InsertarFila(recibo, destino, emitido, sinLote, msgId, numerado, error, &id) ? id : 0;
}

bool Registro::Insertar(qint64 cuantos, const Emision& emision, LoteNuevo* lote,
                        const Facturacion* facturacion, QSqlError& error) {
    QSqlDatabase db = Base();
    QSqlQuery q(db);
    // The write lock taken at once, waiting for another copy of the program, instead of
    // failing half-way through.
    if (!dialecto::EmpezarEscritura(db, error))
        return false;
    const Reserva* reserva = lote != nullptr ? lote->reserva : nullptr;
    // The numbers in use, read under the write lock: a number drawn by Talvero that another
    // program has recorded since the list was checked is not given twice.
    QSet<QString> enUso;
    if (reserva != nullptr && reserva->numeroDeTalvero) {
        QSqlQuery numeros(db);
        numeros.setForwardOnly(true);
        if (!numeros.exec(
                QStringLiteral("SELECT DISTINCT numero FROM recibos WHERE numero <> ''"))) {
            error = numeros.lastError();
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        while (numeros.next())
            enUso.insert(numeros.value(0).toString());
    }
    QVariant idLote(QMetaType::fromType<qint64>()); // NULL: a receipt from the form
    if (lote != nullptr) {
        QSqlQuery ins(db);
        ins.prepare(QStringLiteral("INSERT INTO lotes (creado, archivo, destino, recibos, "
                                   "pendiente) VALUES (?, ?, ?, ?, ?)") +
                    dialecto::DevolviendoId(db));
        ins.addBindValue(lote->creado.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
        ins.addBindValue(lote->archivo);
        ins.addBindValue(lote->destino);
        ins.addBindValue(cuantos);
        ins.addBindValue(reserva != nullptr ? QVariant(reserva->testigo)
                                            : QVariant(QMetaType::fromType<QString>()));
        if (!ins.exec()) {
            error = ins.lastError();
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        lote->id = dialecto::IdInsertado(db, ins);
        idLote = lote->id;
    }
    CRecibo recibo;
    QString destino;
    QDateTime emitido;
    for (qint64 i = 0; i < cuantos; ++i) {
        emision(i, recibo, destino, emitido);
        QVariant remesa(QMetaType::fromType<QString>()); // NULL: not debited
        if (lote != nullptr && lote->remesaDe)
            if (QString msgId = lote->remesaDe(i); !msgId.isEmpty())
                remesa = std::move(msgId);
        const bool numerado =
            reserva != nullptr && reserva->numeroDeTalvero && reserva->numeroDeTalvero(i);
        if (numerado && enUso.contains(QString::fromStdString(recibo.m_Numero))) {
            ocupados_ << QString::fromStdString(recibo.m_Numero);
            continue;
        }
        qint64 id = 0;
        if (!InsertarFila(recibo, destino, emitido, idLote, remesa, numerado, error, &id) ||
            (facturacion != nullptr && !InsertarAlta(recibo, i, id, *facturacion, error))) {
            q.exec(QStringLiteral("ROLLBACK"));
            return false;
        }
        ultimoRecibo_ = id;
        // Which remittance, and how it debits the receipt, for the bank's answer.
        if (!remesa.isNull()) {
            EnRemesa adeudo;
            if (lote->adeudoDe)
                adeudo = lote->adeudoDe(i);
            else
                adeudo.centimos = sepa::Centimos(sepa::AdeudoDelRecibo(recibo).total).value_or(0);
            if (adeudo.referencia.isEmpty())
                adeudo.referencia = sepa::ReferenciaDeAdeudo(recibo.m_Numero);
            if (!AnotarEnRemesa(db, id, remesa.toString(), adeudo,
                                lote->creado.toLocalTime().date(), error)) {
                q.exec(QStringLiteral("ROLLBACK"));
                return false;
            }
        }
    }
    if (!ocupados_.isEmpty() ||
        (reserva != nullptr && reserva->ademas && !reserva->ademas(error)) ||
        (reserva != nullptr && !InsertarReserva(*reserva, lote->id, error))) {
        q.exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    if (!q.exec(QStringLiteral("COMMIT"))) {
        error = q.lastError();
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        return false;
    }
    return true;
}

bool Registro::Anotar(const CRecibo& recibo, const QString& destino, const QDateTime& emitido) {
    return AnotarVarios(1, [&](qint64, CRecibo& r, QString& d, QDateTime& e) {
        r = recibo;
        d = destino;
        e = emitido;
    });
}

qint64 Registro::AnotarConAlta(const CRecibo& recibo, const QString& destino, const Facturacion& f,
                               const QDateTime& emitido) {
    const bool ok = AnotarEnTransaccion(
        1,
        [&](qint64, CRecibo& r, QString& d, QDateTime& e) {
            r = recibo;
            d = destino;
            e = emitido;
        },
        nullptr, &f);
    return ok ? ultimoRecibo_ : 0;
}

bool Registro::AnotarVarios(qint64 cuantos, const Emision& emision) {
    return AnotarEnTransaccion(cuantos, emision, nullptr);
}

qint64 Registro::AnotarLote(const QString& archivo, const QString& destino, qint64 cuantos,
                            const Emision& emision, const QDateTime& creado,
                            const Remesas& remesaDe) {
    LoteNuevo lote{archivo, destino, creado, remesaDe, {}};
    return AnotarEnTransaccion(cuantos, emision, &lote) ? lote.id : 0;
}

QSet<QString> Registro::NumerosEnUso() {
    QSet<QString> numeros;
    if (!Abrir())
        return numeros;
    QSqlQuery q(Base());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral("SELECT DISTINCT numero FROM recibos WHERE numero <> ''"))) {
        Fallo(MotivoDe(q.lastError()));
        return numeros;
    }
    while (q.next())
        numeros.insert(q.value(0).toString());
    return numeros;
}

std::vector<Registro::Lote> Registro::Lotes() {
    std::vector<Lote> lotes;
    if (!Abrir())
        return lotes;
    QSqlQuery q(Base());
    q.setForwardOnly(true);
    if (!q.exec(QStringLiteral(
            "SELECT id, creado, archivo, destino, recibos FROM lotes WHERE archivo <> '' "
            "ORDER BY id DESC"))) {
        Fallo(MotivoDe(q.lastError()));
        return lotes;
    }
    while (q.next())
        lotes.push_back({q.value(0).toLongLong(),
                         QDateTime::fromString(q.value(1).toString(), Qt::ISODate),
                         q.value(2).toString(), q.value(3).toString(), q.value(4).toLongLong()});
    return lotes;
}

bool Registro::AnotarEnTransaccion(qint64 cuantos, const Emision& emision, LoteNuevo* lote,
                                   const Facturacion* facturacion) {
    ocupados_.clear();
    motivoAlta_.clear();
    ultimoRecibo_ = 0;
    ComprobarConexion();
    if (!Abrir())
        return false;
    QSqlError e;
    if (Insertar(cuantos, emision, lote, facturacion, e)) {
        error_.clear();
        return true;
    }
    if (!motivoAlta_.isEmpty())
        return Fallo(motivoAlta_);
    if (ConexionPerdida())
        return Fallo(QStringLiteral("se ha perdido la conexión con el servidor del registro "
                                    "(%1); se volverá a conectar la próxima vez")
                         .arg(e.databaseText().isEmpty() ? e.text() : e.databaseText().trimmed()));
    if (!ocupados_.isEmpty())
        return Fallo(QStringLiteral("otro programa ha emitido, desde que se revisó la lista, "
                                    "recibos con números que esta lista iba a usar (%1)")
                         .arg(ocupados_.mid(0, 5).join(QStringLiteral(", ")) +
                              (ocupados_.size() > 5 ? QStringLiteral("…") : QString())));
    // Damage that opening did not see: set the file aside and try once in a fresh one.
    if (!EsDanado(e) || !apartado_.isEmpty())
        return Fallo(MotivoDe(e));
    if (!Apartar() || !AbrirConexion())
        return false;
    if (!Insertar(cuantos, emision, lote, facturacion, e))
        return Fallo(motivoAlta_.isEmpty() ? MotivoDe(e) : motivoAlta_);
    error_.clear();
    return true;
}

std::optional<CRecibo> Registro::Cargar(qint64 id) {
    if (!Abrir())
        return std::nullopt;
    QSqlQuery q(Base());
    q.prepare(QStringLiteral("SELECT %1 FROM recibos WHERE id = ?")
                  .arg(ColumnasRecibo().join(QStringLiteral(", "))));
    q.addBindValue(id);
    if (!q.exec()) {
        Fallo(MotivoDe(q.lastError()));
        return std::nullopt;
    }
    if (!q.next())
        return std::nullopt;
    if (const QString columna = ImporteIlegible(q.record()); !columna.isEmpty()) {
        Fallo(QStringLiteral("el recibo %1 tiene en la columna %2 un valor que no es un importe")
                  .arg(id)
                  .arg(columna));
        return std::nullopt;
    }
    return ReciboDeFila(q.record());
}

QString MasUno(QString digitos) {
    for (qsizetype i = digitos.size() - 1; i >= 0; --i) {
        if (digitos[i] != QLatin1Char('9')) {
            digitos[i] = QChar(digitos[i].unicode() + 1);
            return digitos;
        }
        digitos[i] = QLatin1Char('0');
    }
    return QLatin1Char('1') + digitos;
}

QString Registro::SiguienteNumeroLibre() {
    if (!Abrir())
        return {};
    QSqlQuery q(Base());
    // Any number with a character that is not a digit means the numbering is not numeric.
    if (!q.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM recibos WHERE %1)")
                    .arg(dialecto::NoSoloDigitos(Base(), QStringLiteral("numero")))) ||
        !q.next() || q.value(0).toBool())
        return {};
    if (!q.exec(
            QStringLiteral("SELECT numero, (SELECT max(length(numero)) FROM recibos) FROM recibos "
                           "WHERE numero <> '' ORDER BY length(ltrim(numero, '0')) DESC, "
                           "ltrim(numero, '0') DESC LIMIT 1")) ||
        !q.next())
        return {};
    const QString mayor = q.value(0).toString();
    const int ancho = q.value(1).toInt();
    QString siguiente = MasUno(mayor);
    // Keep the width of the longest number in use: "0099" is followed by "0100".
    QString sinCeros = siguiente;
    while (sinCeros.size() > 1 && sinCeros.startsWith(QLatin1Char('0')))
        sinCeros.remove(0, 1);
    return sinCeros.rightJustified(ancho, QLatin1Char('0'));
}

} // namespace registro
