#include "register/Pendientes.h"

#include "amounts/moneda.h"
#include "register/Dialecto.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSqlQuery>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace registro {

namespace {

QString CarpetaTestigos(const QString& rutaRegistro) {
    return QFileInfo(rutaRegistro).absolutePath() + QStringLiteral("/emisiones");
}

// A lock file this old that no one holds is left by a program that died before it recorded
// anything; a younger one may belong to an emission that is just starting.
constexpr qint64 kTestigoViejoSegundos = 60;

QByteArray Local(const QString& ruta) {
    return QFile::encodeName(ruta);
}

QString MotivoDeErrno(int numero) {
    switch (numero) {
    case ENOSPC:
        return QStringLiteral("el disco está lleno");
    case EDQUOT:
        return QStringLiteral("se ha agotado la cuota de disco");
    case EACCES:
    case EPERM:
        return QStringLiteral("no hay permiso para escribir en la carpeta");
    case EROFS:
        return QStringLiteral("la carpeta es de solo lectura");
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("la carpeta no existe");
    case EEXIST:
        return QStringLiteral("ya existe");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre es demasiado largo");
    default:
        return QStringLiteral("error de escritura en el disco (%1)")
            .arg(QString::fromLocal8Bit(std::strerror(numero)));
    }
}

// Flushes a folder's entries, so that a name given to a file survives a power cut.
void SincronizarCarpeta(const QString& archivo) {
    const int fd = ::open(Local(QFileInfo(archivo).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives `temporal` the name `destino` when nothing is there: atomically, by the kernel.
// Where the file system cannot rename that way, a hard link does the same.
int RenombrarSinReemplazar(const QByteArray& temporal, const QByteArray& destino) {
    if (::renameat2(AT_FDCWD, temporal.constData(), AT_FDCWD, destino.constData(),
                    RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP)
        return errno;
    if (::link(temporal.constData(), destino.constData()) != 0)
        return errno;
    ::unlink(temporal.constData());
    return 0;
}

bool EsNuestro(const Registro::Salida& s, const QString& ruta) {
    return !s.identidad.isEmpty() && Identidad(ruta) == s.identidad;
}

// Takes away every file of the list that stands at its name.
void Retirar(const std::vector<Registro::Salida>& salidas) {
    for (const Registro::Salida& s : salidas)
        if (EsNuestro(s, s.destino))
            QFile::remove(s.destino);
}

} // namespace

namespace {

// The server's lock of token `nombre`: held by `registro`'s connection when it is true.
bool BloqueoDeTestigo(Registro& registro, const QString& nombre, bool& tomado) {
    QSqlQuery q(registro.Base());
    q.prepare(QStringLiteral("SELECT pg_try_advisory_lock(?)"));
    q.addBindValue(nombre.toLongLong(nullptr, 16));
    if (!q.exec() || !q.next())
        return false;
    tomado = q.value(0).toBool();
    return true;
}

} // namespace

Testigo::Testigo(const QString& rutaRegistro) {
    if (dialecto::EsUri(rutaRegistro)) {
        servidor_ = std::make_unique<Registro>(rutaRegistro);
        bool tomado = false;
        nombre_ = QString::number(QRandomGenerator::system()->generate64() >> 2, 16);
        if (!servidor_->Abrir() || !BloqueoDeTestigo(*servidor_, nombre_, tomado) || !tomado) {
            error_ = QStringLiteral("no se puede señalar en el servidor la emisión en curso: %1")
                         .arg(servidor_->Error().isEmpty() ? QStringLiteral("está en uso")
                                                           : servidor_->Error());
            servidor_.reset();
            return;
        }
        return;
    }
    const QString carpeta = CarpetaTestigos(rutaRegistro);
    if (!QDir().mkpath(carpeta)) {
        error_ = QStringLiteral("no se puede crear la carpeta %1").arg(carpeta);
        return;
    }
    for (int intento = 0; intento < 8 && fd_ < 0; ++intento) {
        nombre_ = QString::number(QRandomGenerator::system()->generate64(), 16);
        ruta_ = carpeta + QLatin1Char('/') + nombre_;
        fd_ = ::open(Local(ruta_).constData(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0 || ::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        error_ = QStringLiteral("no se puede crear %1: %2").arg(ruta_, MotivoDeErrno(errno));
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
}

Testigo::~Testigo() {
    if (servidor_ || fd_ < 0) // the server's lock goes with its connection
        return;
    ::unlink(Local(ruta_).constData());
    ::close(fd_);
}

bool TestigoVivo(const QString& rutaRegistro, const QString& nombre) {
    if (dialecto::EsUri(rutaRegistro)) {
        Registro registro(rutaRegistro);
        bool libre = false;
        // What cannot be known is taken as alive: nothing of another desk is taken back.
        if (!registro.Abrir() || !BloqueoDeTestigo(registro, nombre, libre))
            return true;
        if (libre) {
            QSqlQuery q(registro.Base());
            q.prepare(QStringLiteral("SELECT pg_advisory_unlock(?)"));
            q.addBindValue(nombre.toLongLong(nullptr, 16));
            q.exec();
        }
        return !libre;
    }
    const QString ruta = CarpetaTestigos(rutaRegistro) + QLatin1Char('/') + nombre;
    const int fd = ::open(Local(ruta).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool vivo = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return vivo;
}

QString NombreTemporal(const QString& destino, const QString& testigo) {
    const QFileInfo info(destino);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName().left(120) +
           QLatin1Char('.') + testigo + QStringLiteral(".talvero-parcial");
}

QString EscribirTemporal(const QString& ruta, const QByteArray& datos) {
    return EscribirTemporal(ruta, [&datos](QIODevice& archivo) {
        archivo.write(datos);
        return true;
    });
}

QString EscribirTemporal(const QString& ruta, const std::function<bool(QIODevice&)>& escribir) {
    QFile archivo(ruta);
    errno = 0;
    if (!archivo.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return errno != 0 ? MotivoDeErrno(errno) : archivo.errorString();
    const bool seguir = escribir(archivo);
    // A write that failed on the way (a full disk) is remembered by the file; the last
    // buffered bytes are written by flush(), and the disk has them after fsync.
    int error = 0;
    if (seguir && (!archivo.flush() || archivo.error() != QFileDevice::NoError))
        error = errno != 0 ? errno : EIO;
    if (seguir && error == 0 && ::fsync(archivo.handle()) != 0)
        error = errno;
    archivo.close();
    if (!seguir || error != 0) {
        archivo.remove();
        return seguir ? MotivoDeErrno(error) : QString();
    }
    return {};
}

QString Identidad(const QString& ruta) {
    struct stat st {};
    if (::lstat(Local(ruta).constData(), &st) != 0)
        return {};
    return QStringLiteral("%1:%2").arg(qulonglong(st.st_dev)).arg(qulonglong(st.st_ino));
}

QString Colocar(const std::vector<Registro::Salida>& salidas) {
    // The files that must not replace anything go first: only they can find their name
    // taken, and then nothing has been replaced yet.
    std::vector<const Registro::Salida*> orden;
    for (const Registro::Salida& s : salidas)
        if (!s.reemplazar)
            orden.push_back(&s);
    for (const Registro::Salida& s : salidas)
        if (s.reemplazar)
            orden.push_back(&s);
    QString error;
    for (const Registro::Salida* s : orden) {
        if (EsNuestro(*s, s->destino)) {
            QFile::remove(s->temporal); // put in place before the program stopped
            continue;
        }
        if (!EsNuestro(*s, s->temporal)) {
            error = QStringLiteral("«%1» ya no está en el disco (alguien lo ha borrado)")
                        .arg(QDir::toNativeSeparators(s->temporal));
            break;
        }
        const QByteArray temporal = Local(s->temporal), destino = Local(s->destino);
        const int fallo =
            s->reemplazar ? (::rename(temporal.constData(), destino.constData()) == 0 ? 0 : errno)
                          : RenombrarSinReemplazar(temporal, destino);
        if (fallo == EEXIST) {
            error = QStringLiteral("«%1» ya existe: otro programa lo ha creado mientras tanto")
                        .arg(QDir::toNativeSeparators(s->destino));
            break;
        }
        if (fallo != 0) {
            error = QStringLiteral("no se puede guardar «%1»: %2")
                        .arg(QDir::toNativeSeparators(s->destino), MotivoDeErrno(fallo));
            break;
        }
    }
    if (!error.isEmpty()) {
        Retirar(salidas);
        BorrarTemporales(salidas);
        return error;
    }
    for (const Registro::Salida& s : salidas)
        SincronizarCarpeta(s.destino);
    return {};
}

void BorrarTemporales(const std::vector<Registro::Salida>& salidas) {
    for (const Registro::Salida& s : salidas)
        QFile::remove(s.temporal);
}

QStringList RecuperarPendientes(Registro& registro) {
    QStringList mensajes;
    const std::vector<Registro::Pendiente> pendientes = registro.LotesPendientes();
    for (const Registro::Pendiente& p : pendientes) {
        if (TestigoVivo(registro.Ruta(), p.testigo))
            continue; // another program is emitting it right now
        // A remittance of returned receipts collected again has no list file.
        const QString lista =
            p.archivo.isEmpty() && !p.salidas.empty()
                ? QStringLiteral("La remesa de recibos devueltos «%1», interrumpida antes de "
                                 "terminar,")
                      .arg(QDir::toNativeSeparators(p.salidas.front().destino))
                : QStringLiteral("La emisión de la lista «%1» (%2 recibos), interrumpida antes "
                                 "de terminar,")
                      .arg(QDir::toNativeSeparators(p.archivo),
                           QString::fromStdString(moneda::FormatThousands(p.recibos)));
        QString motivo;
        if (p.listo) {
            motivo = Colocar(p.salidas);
            if (motivo.isEmpty()) {
                if (registro.CerrarLote(p.lote)) {
                    QStringList archivos;
                    for (const Registro::Salida& s : p.salidas)
                        archivos << QDir::toNativeSeparators(s.destino);
                    mensajes << QStringLiteral("%1 se ha completado: sus recibos están anotados "
                                               "en el registro%2.")
                                    .arg(lista, archivos.isEmpty()
                                                    ? QString()
                                                    : QStringLiteral(" y guardados en ") +
                                                          archivos.mid(0, 3).join(u", ") +
                                                          (archivos.size() > 3 ? QStringLiteral("…")
                                                                               : QString()));
                }
                continue;
            }
        }
        BorrarTemporales(p.salidas);
        if (!registro.DeshacerLote(p.lote))
            continue; // the register is busy: tried again at the next emission
        mensajes << (motivo.isEmpty()
                         ? QStringLiteral("%1 se ha deshecho: ninguno de sus recibos queda "
                                          "anotado ni guardado.")
                               .arg(lista)
                         : QStringLiteral("%1 se ha deshecho (%2): ninguno de sus recibos queda "
                                          "anotado ni guardado.")
                               .arg(lista, motivo));
    }
    // Lock files of programs that died before they recorded anything.
    if (registro.EnServidor())
        return mensajes;
    const QDir carpeta(CarpetaTestigos(registro.Ruta()));
    const QDateTime viejo = QDateTime::currentDateTimeUtc().addSecs(-kTestigoViejoSegundos);
    for (const QFileInfo& f : carpeta.entryInfoList(QDir::Files | QDir::Hidden))
        if (f.lastModified().toUTC() < viejo && !TestigoVivo(registro.Ruta(), f.fileName()))
            QFile::remove(f.absoluteFilePath());
    return mensajes;
}

} // namespace registro
