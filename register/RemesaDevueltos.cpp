#include "register/RemesaDevueltos.h"

#include "receipt/Recibo.h"
#include "register/Cobros.h"
#include "register/Dialecto.h"
#include "register/Pendientes.h"
#include "sepa/IdentificadorMensaje.h"
#include "sepa/MotivosDevolucion.h"
#include "sepa/Pain008.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

#include <algorithm>

namespace registro {

namespace {

sepa::Fecha FechaSepa(const QDate& d) {
    if (!d.isValid())
        return sepa::Fecha{};
    return sepa::Fecha{std::chrono::year(d.year()), std::chrono::month(unsigned(d.month())),
                       std::chrono::day(unsigned(d.day()))};
}

// A receipt to collect again, and how its last remittance debited it.
struct Devuelto {
    qint64 id = 0;
    QVariant remesa; // recibos.remesa as read: the receipt's last remittance
    EstadoCobro estado;
    Registro::EnRemesa adeudo;
    sepa::Adeudo sepa;
    CRecibo recibo;
};

// The receipt that charges the payer of `devuelto` the return's fee of `centimos`, numbered
// `numero` and dated `hoy`.
CRecibo ReciboDeGastos(const CRecibo& devuelto, const QString& numero, std::int64_t centimos,
                       const QDate& hoy) {
    CRecibo g = devuelto;
    g.m_Numero = numero.toStdString();
    g.m_Fecha = moneda::Fecha(hoy.year(), hoy.month(), hoy.day(), 0, 0, 0);
    g.m_Concepto1 = "Gastos de devolución del recibo " + devuelto.m_Numero;
    g.m_Concepto2 = g.m_Concepto3 = g.m_Concepto4 = g.m_Concepto5 = "";
    g.m_Importe1 = moneda::Currency(centimos * 100);
    g.m_Importe2 = g.m_Importe3 = g.m_Importe4 = g.m_Importe5 = moneda::Currency();
    g.m_Iva = g.m_Re = g.m_Irpf = "0";
    g.m_ImporteIva = g.m_ImporteRe = g.m_ImporteIrpf = moneda::Currency();
    return g;
}

// The receipts devueltos on `hoy` that the request asks for, oldest first.
bool Candidatos(Registro& registro, const PedidoDevueltos& pedido, const QDate& hoy,
                std::vector<Devuelto>& devueltos, QString& error) {
    QHash<qint64, HechosCobro> hechos;
    if (!LeerCambiosCobro(registro.Base(), hechos, error))
        return false;
    QSqlQuery q(registro.Base());
    q.prepare(QStringLiteral(
        "SELECT seguimiento, anulado IS NOT NULL, remesa FROM recibos WHERE id = ?"));
    QList<qint64> ids = hechos.keys();
    std::sort(ids.begin(), ids.end());
    for (qint64 id : ids) {
        if (!pedido.recibos.isEmpty() && !pedido.recibos.contains(id))
            continue;
        q.addBindValue(id);
        if (!q.exec() || !q.next())
            continue;
        HechosCobro h = hechos.value(id);
        h.seguimiento = q.value(0).toInt() != 0;
        h.anulado = q.value(1).toInt() != 0;
        const EstadoCobro e = EstadoEn(h, hoy);
        if (e.estado != Estado::Devuelto)
            continue;
        if ((pedido.desde.isValid() && e.fecha < pedido.desde) ||
            (pedido.hasta.isValid() && e.fecha > pedido.hasta))
            continue;
        devueltos.push_back({id, q.value(2), e, {}, {}, {}});
    }
    return true;
}

// How the receipt's last remittance debited it; false when the register did not keep its
// account (a remittance written before it kept them).
bool UltimoAdeudo(QSqlDatabase db, qint64 recibo, Registro::EnRemesa& a) {
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT mandato, referencia, centimos, iban, bic, titular, "
                             "fecha_mandato, poblacion, pais, direccion FROM remesas_recibo "
                             "WHERE recibo = ? ORDER BY id DESC LIMIT 1"));
    q.addBindValue(recibo);
    if (!q.exec() || !q.next() || q.value(3).toString().isEmpty() ||
        q.value(0).toString().isEmpty())
        return false;
    a.mandato = q.value(0).toString();
    a.referencia = q.value(1).toString();
    a.centimos = q.value(2).toLongLong();
    a.iban = q.value(3).toString();
    a.bic = q.value(4).toString();
    a.titular = q.value(5).toString();
    a.fechaMandato = QDate::fromString(q.value(6).toString(), Qt::ISODate);
    a.poblacion = q.value(7).toString();
    a.pais = q.value(8).toString();
    if (const QString d = q.value(9).toString(); !d.isEmpty())
        a.lineas = d.split(QLatin1Char('\n'));
    return true;
}

} // namespace

RemesaDeDevueltos RemesaDevueltos(Registro& registro, const PedidoDevueltos& pedido,
                                  const QDate& hoy) {
    RemesaDeDevueltos r;
    if (QFileInfo::exists(pedido.ruta)) {
        r.error = QStringLiteral("«%1» ya existe: no se sobrescribe; indique otro nombre.")
                      .arg(pedido.ruta);
        return r;
    }
    if (!Registro::Existe(registro.Ruta())) {
        r.ninguno = true;
        r.error = QStringLiteral("no hay ningún registro de recibos en %1: no hay recibos "
                                 "devueltos.")
                      .arg(registro.Ruta());
        return r;
    }
    if (!registro.Abrir()) {
        r.error = QStringLiteral("no se puede abrir el registro %1: %2")
                      .arg(registro.Ruta(), registro.Error());
        return r;
    }
    // Whatever a run that died half-way left is finished or taken back first.
    r.avisos = RecuperarPendientes(registro);
    std::vector<Devuelto> candidatos;
    if (!Candidatos(registro, pedido, hoy, candidatos, r.error))
        return r;
    sepa::Remesa remesa{pedido.acreedor, FechaSepa(pedido.cobro), {}};
    std::vector<Devuelto> elegidos;
    for (Devuelto& d : candidatos) {
        const std::optional<CRecibo> recibo = registro.Cargar(d.id);
        if (!recibo)
            continue;
        const QString numero = QString::fromStdString(recibo->m_Numero);
        const std::string motivo = d.estado.motivo.toStdString();
        if (!d.estado.motivo.isEmpty() && !sepa::PermiteReintento(motivo)) {
            r.excluidos << QStringLiteral("Recibo «%1»: devuelto por %2 (%3), que no permite "
                                          "volver a cobrarlo")
                               .arg(numero, d.estado.motivo,
                                    QString::fromStdString(sepa::SignificadoMotivo(motivo)));
            continue;
        }
        if (!UltimoAdeudo(registro.Base(), d.id, d.adeudo)) {
            r.excluidos << QStringLiteral("Recibo «%1»: su remesa es anterior a esta versión y "
                                          "el registro no guardó su cuenta ni su mandato")
                               .arg(numero);
            continue;
        }
        sepa::Adeudo a = sepa::AdeudoDelRecibo(*recibo);
        a.iban = d.adeudo.iban.toStdString();
        a.bic = d.adeudo.bic.toStdString();
        a.titular = d.adeudo.titular.toStdString();
        a.mandato = d.adeudo.mandato.toStdString();
        a.fechaMandato = FechaSepa(d.adeudo.fechaMandato);
        a.secuencia = sepa::Secuencia::RCUR;
        a.direccion.poblacion = d.adeudo.poblacion.toStdString();
        a.direccion.pais = d.adeudo.pais.toStdString();
        for (const QString& l : d.adeudo.lineas)
            a.direccion.lineas.push_back(l.toStdString());
        d.sepa = a;
        d.recibo = *recibo;
        remesa.adeudos.push_back(a);
        elegidos.push_back(d);
    }
    if (elegidos.empty()) {
        r.ninguno = true;
        r.error = QStringLiteral("no hay ningún recibo devuelto que se pueda volver a cobrar: no "
                                 "se ha escrito ninguna remesa.");
        return r;
    }
    // The fee receipts, after the register's highest number, debited like the receipt returned.
    std::vector<CRecibo> gastos;
    if (pedido.gastos > 0) {
        QString numero = registro.SiguienteNumeroLibre();
        if (numero.isEmpty()) {
            r.error = QStringLiteral("los recibos de gastos de devolución se numeran a "
                                     "continuación del registro, y sus números no son todos de "
                                     "cifras: no se ha escrito ninguna remesa.");
            return r;
        }
        for (const Devuelto& d : elegidos) {
            gastos.push_back(ReciboDeGastos(d.recibo, numero, pedido.gastos, hoy));
            numero = MasUno(numero);
            sepa::Adeudo a = d.sepa;
            const sepa::Adeudo delRecibo = sepa::AdeudoDelRecibo(gastos.back());
            a.numero = delRecibo.numero;
            a.total = delRecibo.total;
            a.conceptos = delRecibo.conceptos;
            remesa.adeudos.push_back(a);
        }
    }
    QByteArray documento;
    const QString msgId = sepa::NuevoIdentificadorMensaje();
    r.escrita = sepa::DocumentoRemesa(remesa, msgId, documento, FechaSepa(hoy), pedido.formato);
    if (!r.escrita.Escrita()) {
        r.error = r.escrita.error;
        return r;
    }
    const QString ruta = QFileInfo(pedido.ruta).absoluteFilePath();
    const auto fallo = [&](const QString& motivo) {
        r.error = QStringLiteral("No se ha escrito la remesa: %1.").arg(motivo);
        r.escrita = {};
        return r;
    };
    // As a list's files: the receipts recorded first in the new remittance, pending, with
    // the file it goes to (the fee receipts as the list's own); then the file written under a
    // temporary name, marked complete and put at its name. A program killed at any moment
    // leaves a pending list that the next run finishes or takes back (register/Pendientes.h).
    Testigo testigo(registro.Ruta());
    if (!testigo.Tomado())
        return fallo(testigo.Error());
    std::vector<Registro::Salida> salidas{
        {NombreTemporal(ruta, testigo.Nombre()), ruta, false, msgId, {}}};
    const QString acreedor =
        QString::fromStdString(sepa::Normalizado(pedido.acreedor).identificador);
    const auto adeudo = [&](std::size_t i) {
        Registro::EnRemesa en = elegidos[i].adeudo;
        en.cobro = pedido.cobro;
        en.acreedor = acreedor;
        en.referencia = sepa::ReferenciaDeAdeudo(elegidos[i].sepa.numero);
        return en;
    };
    Registro::Reserva reserva;
    reserva.archivo = QStringLiteral(""); // no list file: not shown among the lists
    reserva.destino = ruta;
    reserva.creado = QDateTime(hoy, QTime::currentTime());
    reserva.cuantos = qint64(gastos.size());
    reserva.emision = [&](qint64 i, CRecibo& recibo, QString& destino, QDateTime& emitido) {
        recibo = gastos[std::size_t(i)];
        destino = ruta;
        emitido = QDateTime::currentDateTimeUtc();
    };
    reserva.remesaDe = [&](qint64) { return msgId; };
    reserva.adeudoDe = [&](qint64 i) {
        Registro::EnRemesa en = adeudo(std::size_t(i));
        en.referencia = sepa::ReferenciaDeAdeudo(gastos[std::size_t(i)].m_Numero);
        en.centimos = pedido.gastos;
        return en;
    };
    reserva.numeroDeTalvero = [](qint64) { return true; };
    reserva.testigo = testigo.Nombre();
    reserva.salidas = salidas;
    reserva.ademas = [&](QSqlError& e) {
        QSqlQuery ultima(registro.Base());
        // The receipt's remittance is now this one; the earlier ones stay in its history.
        // One that another program has put in a remittance meanwhile is not debited twice.
        ultima.prepare(QStringLiteral("UPDATE recibos SET remesa = ? WHERE id = ? AND remesa %1 ?")
                           .arg(dialecto::IgualONulo(registro.Base())));
        for (std::size_t i = 0; i < elegidos.size(); ++i) {
            ultima.addBindValue(msgId);
            ultima.addBindValue(elegidos[i].id);
            ultima.addBindValue(elegidos[i].remesa);
            if (!ultima.exec()) {
                e = ultima.lastError();
                return false;
            }
            if (ultima.numRowsAffected() != 1) {
                e = QSqlError(QStringLiteral("otro programa ha puesto el recibo «%1» en otra "
                                             "remesa mientras tanto")
                                  .arg(QString::fromStdString(elegidos[i].recibo.m_Numero)),
                              {}, QSqlError::StatementError);
                return false;
            }
            if (!AnotarEnRemesa(registro.Base(), elegidos[i].id, msgId, adeudo(i), hoy, e))
                return false;
        }
        return true;
    };
    const qint64 lote = registro.ReservarLote(reserva);
    if (lote == 0)
        return fallo(registro.Error());
    const auto deshacer = [&](const QString& motivo) {
        BorrarTemporales(salidas);
        registro.DeshacerLote(lote); // if the register is busy, the next run takes it back
        return fallo(motivo);
    };
    if (const QString motivo = EscribirTemporal(salidas.front().temporal, documento);
        !motivo.isEmpty())
        return deshacer(QStringLiteral("no se pudo guardar en «%1»: %2").arg(ruta, motivo));
    salidas.front().identidad = Identidad(salidas.front().temporal);
    if (!registro.MarcarListo(lote, {salidas.front().identidad}))
        return deshacer(registro.Error());
    if (const QString motivo = Colocar(salidas); !motivo.isEmpty())
        return deshacer(motivo);
    // Should this fail, the next run finds the remittance complete and closes it.
    registro.CerrarLote(lote);
    for (const CRecibo& g : gastos)
        r.gastos << QString::fromStdString(g.m_Numero);
    return r;
}

} // namespace registro
