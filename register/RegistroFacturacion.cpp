// The invoicing records in the register: reading them for sending and for the chain's check,
// appending new ones at the end of their issuer's chain, and storing what the agency answered.
// Only the sending state is ever updated.
#include "register/RegistroFacturacion.h"

#include "register/FilaFacturacion.h"
#include "register/Registro.h"
#include "verifactu/Huella.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace registro {

namespace {

struct NombreEstadoEnvio {
    EstadoEnvio estado;
    const char* texto;
};
constexpr NombreEstadoEnvio kEstados[] = {
    {EstadoEnvio::Pendiente, "pendiente"},
    {EstadoEnvio::Aceptado, "aceptado"},
    {EstadoEnvio::AceptadoConErrores, "aceptado_con_errores"},
    {EstadoEnvio::Rechazado, "rechazado"},
};

QString Seleccion(const QString& resto) {
    return QStringLiteral("SELECT id, %1, estado, codigo, descripcion, csv, incidencia, avisado "
                          "FROM registros_facturacion %2")
        .arg(ColumnasFacturacion().join(QStringLiteral(", ")), resto);
}

QString Ahora() {
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ"));
}

} // namespace

QString TextoEstado(EstadoEnvio estado) {
    for (const NombreEstadoEnvio& n : kEstados)
        if (n.estado == estado)
            return QLatin1String(n.texto);
    return QStringLiteral("pendiente");
}

EstadoEnvio EstadoDeTexto(const QString& texto) {
    for (const NombreEstadoEnvio& n : kEstados)
        if (texto == QLatin1String(n.texto))
            return n.estado;
    return EstadoEnvio::Pendiente;
}

std::vector<RegistroFacturacion> Registro::LeerFacturacion(const QString& resto,
                                                           const QVariantList& valores) {
    std::vector<RegistroFacturacion> registros;
    if (!Abierto() && !Abrir())
        return registros;
    QSqlQuery q(Base());
    q.setForwardOnly(true);
    q.prepare(Seleccion(resto));
    for (const QVariant& v : valores)
        q.addBindValue(v);
    if (!q.exec()) {
        FalloSql(q.lastError());
        return registros;
    }
    while (q.next())
        registros.push_back(FacturacionDeFila(q.record()));
    error_.clear();
    return registros;
}

std::vector<RegistroFacturacion> Registro::RegistrosPorEnviar(const QString& nifEmisor,
                                                              std::size_t maximo) {
    // In order of generation, and never past a record of a list that is still pending: its
    // altas may yet be taken back, and those after it must not reach the agency before it.
    std::vector<RegistroFacturacion> pendientes = LeerFacturacion(
        QStringLiteral("WHERE emisor = ? AND estado = 'pendiente' ORDER BY id"), {nifEmisor});
    QSqlQuery q(Base());
    q.prepare(QStringLiteral("SELECT 1 FROM recibos r JOIN lotes l ON l.id = r.lote WHERE r.id = "
                             "? AND l.pendiente IS NOT NULL"));
    std::size_t n = 0;
    for (; n < pendientes.size() && n < maximo; ++n) {
        if (pendientes[n].recibo == 0)
            continue;
        q.addBindValue(pendientes[n].recibo);
        if (!q.exec()) {
            FalloSql(q.lastError());
            return {};
        }
        if (q.next())
            break;
    }
    pendientes.resize(n);
    return pendientes;
}

qint64 Registro::CuantosPorEnviar() {
    if (!Abierto() && !Abrir())
        return 0;
    QSqlQuery q(Base());
    if (!q.exec(QStringLiteral(
            "SELECT count(*) FROM registros_facturacion WHERE estado = 'pendiente'")) ||
        !q.next()) {
        FalloSql(q.lastError());
        return 0;
    }
    return q.value(0).toLongLong();
}

bool Registro::AnotarEstados(const std::vector<EstadoDeRegistro>& estados, const QString& csv) {
    return EnTransaccion([&](QSqlError& e) {
        QSqlQuery q(Base());
        q.prepare(QStringLiteral("UPDATE registros_facturacion SET estado = ?, codigo = ?, "
                                 "descripcion = ?, csv = ?, enviado = ? WHERE id = ?"));
        const QString ahora = Ahora();
        for (const EstadoDeRegistro& s : estados) {
            q.addBindValue(TextoEstado(s.estado));
            q.addBindValue(s.codigo);
            // Never NULL: the columns hold '' for nothing.
            q.addBindValue(s.descripcion.isNull() ? QStringLiteral("") : s.descripcion);
            q.addBindValue(csv.isNull() ? QStringLiteral("") : csv);
            q.addBindValue(ahora);
            q.addBindValue(s.id);
            if (!q.exec()) {
                e = q.lastError();
                return false;
            }
        }
        return true;
    });
}

bool Registro::MarcarIncidencia(const std::vector<qint64>& ids) {
    return EnTransaccion([&](QSqlError& e) {
        QSqlQuery q(Base());
        q.prepare(QStringLiteral("UPDATE registros_facturacion SET incidencia = 1 WHERE id = ?"));
        for (qint64 id : ids) {
            q.addBindValue(id);
            if (!q.exec()) {
                e = q.lastError();
                return false;
            }
        }
        return true;
    });
}

std::vector<RegistroFacturacion> Registro::RechazosSinAvisar() {
    return LeerFacturacion(QStringLiteral("WHERE estado = 'rechazado' AND avisado = 0 ORDER BY id"),
                           {});
}

bool Registro::MarcarAvisado(qint64 id) {
    return EnTransaccion([&](QSqlError& e) {
        QSqlQuery q(Base());
        q.prepare(QStringLiteral("UPDATE registros_facturacion SET avisado = 1 WHERE id = ?"));
        q.addBindValue(id);
        if (!q.exec()) {
            e = q.lastError();
            return false;
        }
        return true;
    });
}

std::vector<RegistroFacturacion> Registro::RegistrosFacturacion() {
    return LeerFacturacion(QStringLiteral("ORDER BY id"), {});
}

std::vector<RegistroFacturacion> Registro::RegistrosDeRecibo(qint64 recibo) {
    return LeerFacturacion(QStringLiteral("WHERE recibo = ? ORDER BY id"), {recibo});
}

bool Registro::InsertarFacturacion(verifactu::Registro& nuevo, qint64 recibo, QSqlError& error) {
    // The issuer's last record, whatever program wrote it: the caller holds the write lock.
    // The link takes only its invoice and its huella.
    QSqlQuery& ultimo = Preparada(
        QStringLiteral("SELECT emisor, numero, fecha, huella FROM registros_facturacion WHERE "
                       "emisor = ? ORDER BY id DESC LIMIT 1"));
    ultimo.addBindValue(QString::fromStdString(verifactu::FacturaDe(nuevo).emisor));
    if (!ultimo.exec()) {
        error = ultimo.lastError();
        return false;
    }
    std::optional<verifactu::Registro> anterior;
    if (ultimo.next()) {
        verifactu::RegistroAlta previo;
        previo.factura = {ultimo.value(0).toString().toStdString(),
                          ultimo.value(1).toString().toStdString(),
                          ultimo.value(2).toString().toStdString()};
        previo.huella = ultimo.value(3).toString().toStdString();
        anterior = std::move(previo);
    }
    ultimo.finish();
    verifactu::Encadenar(nuevo, anterior ? &*anterior : nullptr);

    static const QString sql = [] {
        QStringList marcas;
        for (const QString& c : ColumnasFacturacion())
            marcas << QLatin1Char(':') + c;
        return QStringLiteral("INSERT INTO registros_facturacion (%1) VALUES (%2)")
            .arg(ColumnasFacturacion().join(QStringLiteral(", ")),
                 marcas.join(QStringLiteral(", ")));
    }();
    QSqlQuery& ins = Preparada(sql);
    if (!EnlazarFacturacion(ins, nuevo, recibo)) {
        error = QSqlError(QStringLiteral("un alta con varias líneas de desglose"), {},
                          QSqlError::StatementError);
        return false;
    }
    if (!ins.exec()) {
        error = ins.lastError();
        return false;
    }
    return true;
}

} // namespace registro
