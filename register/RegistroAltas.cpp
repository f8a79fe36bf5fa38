// The records a receipt gets as it is recorded, and those that take one back: its alta,
// generated in the transaction that records the receipt, and the anulación of a receipt
// that should not have existed. Both are appended to their issuer's chain.
#include "register/Registro.h"

#include "register/FilaFacturacion.h"
#include "verifactu/FechaRegistro.h"
#include "verifactu/Productor.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace registro {

namespace {

// A receipt's number is used by an issuer when a receipt with that number was issued
// without records, or has an alta of that issuer that the agency did not refuse.
constexpr char kNumeroUsado[] =
    "FROM recibos r WHERE r.numero <> '' AND (NOT EXISTS (SELECT 1 FROM registros_facturacion f "
    "WHERE f.recibo = r.id) OR EXISTS (SELECT 1 FROM registros_facturacion f WHERE f.recibo = "
    "r.id AND f.tipo = 'alta' AND f.emisor = :emisor AND f.estado <> 'rechazado'))";

QString Momento(const QDateTime& momento) {
    return QString::fromStdString(
        verifactu::TextoFechaHoraHuso(momento.isValid() ? momento : QDateTime::currentDateTime()));
}

} // namespace

QSet<QString> Registro::NumerosUsadosPor(const std::string& emisorNif) {
    QSet<QString> numeros;
    if (!Abrir())
        return numeros;
    QSqlQuery q(Base());
    q.setForwardOnly(true);
    q.prepare(QStringLiteral("SELECT DISTINCT r.numero ") + QLatin1String(kNumeroUsado));
    q.bindValue(QStringLiteral(":emisor"), QString::fromStdString(emisorNif));
    if (!q.exec()) {
        FalloSql(q.lastError());
        return numeros;
    }
    while (q.next())
        numeros.insert(q.value(0).toString());
    return numeros;
}

bool Registro::InsertarAlta(const CRecibo& recibo, qint64 i, qint64 idRecibo, const Facturacion& f,
                            QSqlError& error) {
    const QString numero = QString::fromStdString(recibo.m_Numero).trimmed();
    verifactu::ResultadoAlta alta =
        AltaDeRecibo(recibo, f, f.nifPagador ? f.nifPagador(i) : QString());
    if (!alta.motivo.empty()) {
        motivoAlta_ = QStringLiteral("El recibo %1 no puede emitirse como factura: %2")
                          .arg(numero, QString::fromStdString(alta.motivo));
        return false;
    }
    verifactu::RegistroAlta& a = alta.registro;
    const QString emisor = QString::fromStdString(a.factura.emisor);
    QSqlDatabase db = Base();
    // Read under the write lock, with the receipt just inserted left out.
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT EXISTS (SELECT 1 ") + QLatin1String(kNumeroUsado) +
              QStringLiteral(" AND r.numero = :recibo AND r.id <> :id), EXISTS (SELECT 1 FROM "
                             "registros_facturacion WHERE tipo = 'alta' AND emisor = :emisor AND "
                             "numero = :numero AND estado = 'rechazado'), EXISTS (SELECT 1 FROM "
                             "registros_facturacion WHERE emisor < :emisor OR emisor > "
                             ":emisor)"));
    q.bindValue(QStringLiteral(":emisor"), emisor);
    q.bindValue(QStringLiteral(":numero"), QString::fromStdString(a.factura.numSerie));
    q.bindValue(QStringLiteral(":recibo"), QString::fromStdString(recibo.m_Numero));
    q.bindValue(QStringLiteral(":id"), idRecibo);
    if (!q.exec() || !q.next()) {
        error = q.lastError();
        return false;
    }
    if (q.value(0).toBool()) {
        motivoAlta_ = QStringLiteral("El número %1 ya se ha usado en otro recibo de este emisor, "
                                     "y una factura no puede repetir su número. Escriba otro en "
                                     "«Número».")
                          .arg(numero);
        return false;
    }
    // The earlier alta of this number was refused: this one corrects it.
    if (q.value(1).toBool()) {
        a.subsanacion = true;
        a.rechazoPrevio = "X";
    }
    a.sistema = verifactu::SistemaDeTalvero(f.instalacion, q.value(2).toBool());
    a.fechaHoraHuso = Momento(f.momento).toStdString();
    verifactu::Registro nuevo = a;
    return InsertarFacturacion(nuevo, idRecibo, error);
}

bool Registro::InsertarAnulacion(const RegistroFacturacion& alta, const QDateTime& momento,
                                 QSqlError& error) {
    const auto& a = std::get<verifactu::RegistroAlta>(alta.registro);
    verifactu::RegistroAnulacion n;
    n.anulada = a.factura;
    // An alta the agency refused was never registered there.
    n.sinRegistroPrevio = alta.estado == EstadoEnvio::Rechazado;
    n.sistema = a.sistema;
    QSqlQuery q(Base());
    // Two ranges of the issuer's index rather than a scan of every record.
    q.prepare(QStringLiteral("SELECT EXISTS (SELECT 1 FROM registros_facturacion WHERE emisor "
                             "< :emisor OR emisor > :emisor)"));
    q.bindValue(QStringLiteral(":emisor"), QString::fromStdString(a.factura.emisor));
    if (!q.exec() || !q.next()) {
        error = q.lastError();
        return false;
    }
    n.sistema.hayVariosObligados = q.value(0).toBool();
    n.fechaHoraHuso = Momento(momento).toStdString();
    verifactu::Registro nuevo = n;
    return InsertarFacturacion(nuevo, alta.recibo, error);
}

std::optional<RegistroFacturacion> Registro::AltaVigente(qint64 recibo) {
    const std::vector<RegistroFacturacion> registros = RegistrosDeRecibo(recibo);
    std::optional<RegistroFacturacion> alta;
    for (const RegistroFacturacion& r : registros)
        if (std::holds_alternative<verifactu::RegistroAlta>(r.registro))
            alta = r;
    return alta;
}

bool Registro::Anular(qint64 recibo, const QDate& hoy, const QDateTime& momento) {
    const std::optional<RegistroFacturacion> alta = AltaVigente(recibo);
    if (!alta)
        return Fallo(QStringLiteral("el recibo no tiene registro de facturación que anular"));
    return EnTransaccion([&](QSqlError& e) {
        QSqlQuery q(Base());
        q.prepare(QStringLiteral("SELECT anulado FROM recibos WHERE id = ?"));
        q.addBindValue(recibo);
        if (!q.exec() || !q.next()) {
            e = q.lastError();
            return false;
        }
        if (!q.value(0).isNull())
            return true; // another window cancelled it meanwhile
        if (!InsertarAnulacion(*alta, momento, e))
            return false;
        q.prepare(QStringLiteral("UPDATE recibos SET anulado = ? WHERE id = ?"));
        q.addBindValue(hoy.toString(Qt::ISODate));
        q.addBindValue(recibo);
        if (!q.exec()) {
            e = q.lastError();
            return false;
        }
        return true;
    });
}

} // namespace registro
