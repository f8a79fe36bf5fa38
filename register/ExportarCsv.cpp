#include "register/ExportarCsv.h"

#include "platform/SaveFailure.h"
#include "register/Cobros.h"
#include "register/Dialecto.h"
#include "register/FilaRecibo.h"
#include "register/NombreDeColor.h"
#include "register/Registro.h"
#include "sepa/MotivosDevolucion.h"

#include <QFile>
#include <QFileInfo>

#include <QSaveFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

#include <array>
#include <cerrno>
#include <limits>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

namespace registro {

namespace {

enum class Tipo { Texto, Importe, Fecha, Emitido, Color, Relleno };

struct Campo {
    const char* columna;
    const char* titulo;
    Tipo tipo;
};

// clang-format off
constexpr std::array<Campo, 31> kCampos{{
    {"numero", "Número", Tipo::Texto},
    {"fecha", "Fecha", Tipo::Fecha},
    {"localidad", "Localidad", Tipo::Texto},
    {"vencimiento", "Vencimiento", Tipo::Texto},
    {"pagador1", "Pagador", Tipo::Texto},
    {"pagador2", "Pagador (2ª línea)", Tipo::Texto},
    {"direccion", "Dirección", Tipo::Texto},
    {"cobrador1", "Cobrador", Tipo::Texto},
    {"cobrador2", "Cobrador (2ª línea)", Tipo::Texto},
    {"concepto1", "Concepto 1", Tipo::Texto}, {"importe1", "Importe 1", Tipo::Importe},
    {"concepto2", "Concepto 2", Tipo::Texto}, {"importe2", "Importe 2", Tipo::Importe},
    {"concepto3", "Concepto 3", Tipo::Texto}, {"importe3", "Importe 3", Tipo::Importe},
    {"concepto4", "Concepto 4", Tipo::Texto}, {"importe4", "Importe 4", Tipo::Importe},
    {"concepto5", "Concepto 5", Tipo::Texto}, {"importe5", "Importe 5", Tipo::Importe},
    {"iva", "% IVA", Tipo::Texto},   {"importe_iva", "IVA", Tipo::Importe},
    {"re", "% RE", Tipo::Texto},     {"importe_re", "RE", Tipo::Importe},
    {"irpf", "% IRPF", Tipo::Texto}, {"importe_irpf", "IRPF", Tipo::Importe},
    {"total", "Total", Tipo::Importe},
    {"emitido", "Emitido", Tipo::Emitido},
    {"destino", "Destino", Tipo::Texto},
    {"color", "Color", Tipo::Color},
    {"relleno", "Relleno", Tipo::Relleno},
    {"id", "Registro", Tipo::Texto},
}};
// clang-format on
// The collection state's three columns go after this one.
constexpr char kTrasElTotal[] = "total";

QString Valor(const Campo& campo, const QVariant& v) {
    if (v.isNull())
        return {};
    switch (campo.tipo) {
    case Tipo::Importe:
        return EurosCsv(v.toLongLong());
    case Tipo::Fecha:
    case Tipo::Emitido:
        // Already dd/mm/yyyy, by the query.
        return CampoCsv(v.toString());
    case Tipo::Color: // the list's name, which a list of receipts reads back
        return QString::fromStdString(NombreDeColor(ColorRef(v.toLongLong() & 0xFFFFFF)));
    case Tipo::Relleno:
        return v.toInt() != 0 ? QStringLiteral("SOLIDO") : QStringLiteral("LINEAS");
    case Tipo::Texto:
        break;
    }
    return CampoCsv(v.toString());
}

// Why writing `archivo` stopped, from the system's own error, said in Spanish.
QString FalloDeEscritura(const QString& archivo, const QSaveFile& salida) {
    const int numero = errno;
    QString motivo;
    switch (numero) {
    case ENOSPC:
        motivo = QStringLiteral("el disco está lleno");
        break;
    case EDQUOT:
        motivo = QStringLiteral("se ha agotado la cuota de disco");
        break;
    case EFBIG:
        motivo = QStringLiteral("el archivo supera el tamaño máximo permitido");
        break;
    default:
        motivo = QStringLiteral("error de escritura en el disco");
        break;
    }
    return QStringLiteral("no se puede escribir %1: %2 (%3); el archivo anterior se ha "
                          "conservado")
        .arg(archivo, motivo, salida.errorString());
}

} // namespace

QString DestinoNoAdmitido(const QString& archivo, const QString& registro) {
    const QFileInfo destino(archivo);
    // Absent (or a dangling symlink, or a folder that does not exist): the write says why.
    if (!destino.exists())
        return {};
    const QString nombre = QStringLiteral("«%1»").arg(archivo);
#ifdef Q_OS_UNIX
    struct stat d {};
    if (::stat(QFile::encodeName(archivo).constData(), &d) != 0)
        return {};
    if (!S_ISREG(d.st_mode))
        return nombre +
               (S_ISDIR(d.st_mode) ? QStringLiteral(" es una carpeta")
                                   : QStringLiteral(" no es un archivo normal (es una "
                                                    "tubería, un dispositivo o un "
                                                    "conector)")) +
               QStringLiteral(": no se exporta sobre él");
    for (const QString& propio :
         {registro, registro + QStringLiteral("-wal"), registro + QStringLiteral("-shm")}) {
        struct stat r {};
        if (::stat(QFile::encodeName(propio).constData(), &r) == 0 && r.st_dev == d.st_dev &&
            r.st_ino == d.st_ino)
            return nombre + QStringLiteral(" es el propio registro de recibos (%1): elija otro "
                                           "archivo")
                                .arg(propio);
    }
#else
    if (!destino.isFile())
        return nombre + QStringLiteral(" no es un archivo normal: no se exporta sobre él");
    for (const QString& propio :
         {registro, registro + QStringLiteral("-wal"), registro + QStringLiteral("-shm")})
        if (QFileInfo(propio).exists() &&
            QFileInfo(propio).canonicalFilePath() == destino.canonicalFilePath())
            return nombre + QStringLiteral(" es el propio registro de recibos (%1): elija otro "
                                           "archivo")
                                .arg(propio);
#endif
    return {};
}

QString CampoCsv(const QString& texto) {
    QString t = texto;
    const auto formula = [](QChar c) {
        return c == QLatin1Char('=') || c == QLatin1Char('+') || c == QLatin1Char('-') ||
               c == QLatin1Char('@');
    };
    // Spreadsheets trim the blanks in front of a cell before they look for a formula.
    qsizetype primero = 0;
    while (primero < t.size() && t[primero].isSpace())
        ++primero;
    if (!t.isEmpty() && (t[0] == QLatin1Char('\t') || t[0] == QLatin1Char('\r') ||
                         (primero < t.size() && formula(t[primero]))))
        t.prepend(QLatin1Char('\''));
    if (t.contains(QLatin1Char(';')) || t.contains(QLatin1Char('"')) ||
        t.contains(QLatin1Char('\n')) || t.contains(QLatin1Char('\r'))) {
        t.replace(QLatin1Char('"'), QStringLiteral("\"\""));
        t = QLatin1Char('"') + t + QLatin1Char('"');
    }
    return t;
}

QString EurosCsv(std::int64_t v) {
    // Magnitude in unsigned arithmetic: the most negative amount has no positive twin.
    const bool negativo = v < 0;
    const std::uint64_t m = negativo ? std::uint64_t(0) - std::uint64_t(v) : std::uint64_t(v);
    const std::uint64_t centimos = m / 100 + (m % 100 >= 50 ? 1 : 0);
    const QString texto =
        QStringLiteral("%1,%2").arg(centimos / 100).arg(centimos % 100, 2, 10, QLatin1Char('0'));
    return negativo && centimos != 0 ? QLatin1Char('-') + texto : texto;
}

namespace {

// The three fields of the receipt's collection state on `dia`.
QString CamposDeCobro(const EstadoCobro& estado) {
    QString motivo;
    if (!estado.motivo.isEmpty())
        motivo = estado.motivo + QStringLiteral(" ") +
                 QString::fromStdString(sepa::SignificadoMotivo(estado.motivo.toStdString()));
    return NombreEstado(estado.estado) + QLatin1Char(';') +
           estado.fecha.toString(QStringLiteral("dd/MM/yyyy")) + QLatin1Char(';') +
           CampoCsv(motivo);
}

} // namespace

bool ExportarCsv(const QSqlDatabase& base, const Filtro& filtro, const QString& ordenSql,
                 const QString& archivo, QString& error, qint64* filas) {
    return ExportarCsv(base, filtro, ordenSql, archivo, error, filas, QDate::currentDate(), false);
}

bool ExportarCsv(const QSqlDatabase& base, const Filtro& filtro, const QString& ordenSql,
                 const QString& archivo, QString& error, qint64* filas, const QDate& dia,
                 bool soloDebidos) {
    QHash<qint64, HechosCobro> cambios;
    if (!LeerCambiosCobro(base, cambios, error)) {
        error = QStringLiteral("no se puede leer el registro: %1").arg(error);
        return false;
    }
    QStringList columnas, titulos;
    for (const Campo& c : kCampos) {
        // Dates are turned into dd/mm/yyyy by the engine, whose local time is the desk's:
        // a hundred thousand conversions through QDateTime would take a good part of a second.
        if (c.tipo == Tipo::Fecha)
            columnas << dialecto::FechaDma(base, QStringLiteral("fecha"));
        else if (c.tipo == Tipo::Emitido)
            columnas << dialecto::MomentoLocal(base, QStringLiteral("emitido"));
        else
            columnas << QLatin1String(c.columna);
        titulos << CampoCsv(QString::fromUtf8(c.titulo));
        if (QLatin1String(c.columna) == QLatin1String(kTrasElTotal))
            titulos << QStringLiteral("Estado de cobro;Fecha del estado;Motivo");
    }
    if (GuardaCobros(base))
        columnas << QStringLiteral("seguimiento") << QStringLiteral("anulado IS NOT NULL");
    else
        columnas << QStringLiteral("0") << QStringLiteral("0");
    columnas << QStringLiteral("substr(emitido, 1, 10)");
    const Condicion cond = CondicionDe(filtro);
    QSqlQuery q(base);
    q.setForwardOnly(true);
    q.prepare(
        QStringLiteral("SELECT %1").arg(columnas.join(QStringLiteral(", "))) + cond.desde +
        cond.where +
        (ordenSql.isEmpty() ? QStringLiteral(" ORDER BY %1 DESC").arg(cond.reciente) : ordenSql));
    for (const QVariant& v : cond.valores)
        q.addBindValue(v);
    if (!q.exec()) {
        error = QStringLiteral("no se puede leer el registro: %1")
                    .arg(Registro::MotivoDe(q.lastError()));
        return false;
    }

    QSaveFile salida(archivo);
    if (!salida.open(QIODevice::WriteOnly)) {
        error = QStringLiteral("no se puede escribir %1: %2")
                    .arg(archivo, platform::OpenFailureReason(archivo));
        return false;
    }
    // Every write is checked and the last flush too before the rename: commit() does not
    // check its own, so a disk that fills up would put a cut file in place of the old one.
    const auto escribir = [&](const QByteArray& datos) {
        if (salida.write(datos) == datos.size())
            return true;
        error = FalloDeEscritura(archivo, salida);
        salida.cancelWriting();
        return false;
    };
    QByteArray bloque("\xEF\xBB\xBF");
    bloque += titulos.join(QLatin1Char(';')).toUtf8() + "\r\n";
    qint64 n = 0;
    QString linea;
    constexpr int kId = int(kCampos.size()) - 1;
    while (q.next()) {
        linea.clear();
        const qint64 id = q.value(kId).toLongLong();
        HechosCobro hechos = cambios.value(id);
        hechos.seguimiento = q.value(int(kCampos.size())).toInt() != 0;
        hechos.anulado = q.value(int(kCampos.size()) + 1).toInt() != 0;
        const EstadoCobro estado = EstadoEn(hechos, dia);
        // Owed on a day: issued by then, and pendiente or devuelto then.
        if (soloDebidos && (!Debido(estado.estado) || q.value(int(kCampos.size()) + 2).toString() >
                                                          dia.toString(Qt::ISODate)))
            continue;
        for (int i = 0; i < int(kCampos.size()); ++i) {
            const Campo& campo = kCampos[std::size_t(i)];
            const QVariant v = q.value(i);
            if (campo.tipo == Tipo::Importe && !EsImporte(v)) {
                error =
                    QStringLiteral("el recibo %1 tiene en la columna %2 un valor que no es "
                                   "un importe (%3); corríjalo o bórrelo del registro")
                        .arg(q.value(kId).toString(), QLatin1String(campo.columna), v.toString());
                salida.cancelWriting();
                return false;
            }
            if (i > 0)
                linea += QLatin1Char(';');
            linea += Valor(campo, v);
            if (QLatin1String(campo.columna) == QLatin1String(kTrasElTotal))
                linea += QLatin1Char(';') + CamposDeCobro(estado);
        }
        linea += QLatin1String("\r\n");
        bloque += linea.toUtf8();
        ++n;
        if (bloque.size() > (1 << 16)) {
            if (!escribir(bloque))
                return false;
            bloque.clear();
        }
    }
    if (q.lastError().isValid()) {
        error = QStringLiteral("no se puede leer el registro: %1")
                    .arg(Registro::MotivoDe(q.lastError()));
        salida.cancelWriting();
        return false;
    }
    if (!escribir(bloque))
        return false;
    if (!salida.flush()) {
        error = FalloDeEscritura(archivo, salida);
        salida.cancelWriting();
        return false;
    }
    if (!salida.commit()) {
        error = QStringLiteral("no se puede reemplazar %1: %2").arg(archivo, salida.errorString());
        return false;
    }
    if (filas != nullptr)
        *filas = n;
    return true;
}

} // namespace registro
