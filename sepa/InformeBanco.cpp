#include "sepa/InformeBanco.h"

#include "sepa/ArbolXml.h"

#include <QRegularExpression>

#include <optional>

namespace sepa {

namespace {

const QString kEstadoDePagos = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.002.001.03");
const QString kNotificacion = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:camt.054.001.02");
const QString kRechazado = QStringLiteral("RJCT");

// An ISO date or date and time ("2026-02-09", "2026-02-09T07:30:00+01:00"): its day as written.
QDate Dia(const QString& texto) {
    return QDate::fromString(texto.left(10), Qt::ISODate);
}

// An amount of the reports in cents: digits, and after a point at most five decimals, of which
// only the first two may be other than zero in euros.
std::optional<std::int64_t> Centimos(const QString& texto) {
    static const QRegularExpression importe(QStringLiteral("^(\\d{1,15})(?:\\.(\\d{1,5}))?$"));
    const QRegularExpressionMatch m = importe.match(texto);
    if (!m.hasMatch())
        return std::nullopt;
    const QString decimales = m.captured(2).leftJustified(5, u'0');
    if (decimales.mid(2) != QStringLiteral("000"))
        return std::nullopt;
    return m.captured(1).toLongLong() * 100 + decimales.left(2).toLongLong();
}

// The first reason given in a status report's element: its ISO code, else the bank's own.
QString MotivoDeEstado(const NodoXml* nodo) {
    if (!nodo)
        return {};
    for (const NodoXml* info : nodo->Hijos(u"StsRsnInf")) {
        if (const QString codigo = info->Texto(u"Rsn/Cd"); !codigo.isEmpty())
            return codigo;
        if (const QString propio = info->Texto(u"Rsn/Prtry"); !propio.isEmpty())
            return propio;
    }
    return {};
}

// Reads into `devolucion` the amount of `nodo`, or in its importeNoValido why it cannot be
// taken: one odd entry does not make the rest of the bank's report unreadable.
void LeerImporte(const NodoXml* nodo, Devolucion& devolucion) {
    if (!nodo)
        return;
    if (!nodo->moneda.isEmpty() && nodo->moneda != u"EUR") {
        devolucion.importeNoValido =
            QStringLiteral("el informe da el importe en %1").arg(nodo->moneda);
        return;
    }
    const std::optional<std::int64_t> centimos = Centimos(nodo->texto);
    if (!centimos || *centimos == 0) {
        devolucion.importeNoValido =
            QStringLiteral("el importe «%1» no es un importe en euros").arg(nodo->texto);
        return;
    }
    devolucion.centimos = *centimos;
    devolucion.conImporte = true;
}

InformeBanco EstadoDePagos(const NodoXml& informe) {
    InformeBanco leido;
    leido.tipo = TipoInforme::EstadoDePagos;
    const QDate fechaInforme = Dia(informe.Texto(u"GrpHdr/CreDtTm"));
    const NodoXml* grupo = informe.Hijo(u"OrgnlGrpInfAndSts");
    const QString msgId = grupo ? grupo->Texto(u"OrgnlMsgId") : QString();
    const QString estadoGrupo = grupo ? grupo->Texto(u"GrpSts") : QString();
    const QString motivoGrupo = MotivoDeEstado(grupo);
    std::vector<Devolucion> bloquesRechazados;
    for (const NodoXml* bloque : informe.Hijos(u"OrgnlPmtInfAndSts")) {
        const QString estadoBloque = bloque->Texto(u"PmtInfSts");
        const QString motivoBloque = MotivoDeEstado(bloque);
        if (estadoBloque == kRechazado && bloque->Hijos(u"TxInfAndSts").empty()) {
            Devolucion d;
            d.msgId = msgId;
            d.bloque = bloque->Texto(u"OrgnlPmtInfId");
            d.motivo = motivoBloque.isEmpty() ? motivoGrupo : motivoBloque;
            d.fecha = fechaInforme;
            LeerImporte(bloque->Hijo(u"OrgnlCtrlSum"), d);
            bloquesRechazados.push_back(d);
        }
        for (const NodoXml* tx : bloque->Hijos(u"TxInfAndSts")) {
            // A debit without a status of its own has its block's, or else the whole file's.
            QString estado = tx->Texto(u"TxSts");
            if (estado.isEmpty())
                estado = estadoBloque.isEmpty() ? estadoGrupo : estadoBloque;
            if (estado != kRechazado)
                continue;
            Devolucion d;
            d.msgId = msgId;
            d.endToEndId = tx->Texto(u"OrgnlEndToEndId");
            d.motivo = MotivoDeEstado(tx);
            if (d.motivo.isEmpty())
                d.motivo = motivoBloque.isEmpty() ? motivoGrupo : motivoBloque;
            d.fecha = fechaInforme;
            d.acreedor = tx->Texto(u"OrgnlTxRef/CdtrSchmeId/Id/PrvtId/Othr/Id");
            d.mandato = tx->Texto(u"OrgnlTxRef/MndtRltdInf/MndtId");
            LeerImporte(tx->En(u"OrgnlTxRef/Amt/InstdAmt"), d);
            leido.devoluciones.push_back(d);
        }
    }
    // The bank refused the whole file without naming its debits: all of it comes back.
    if (leido.devoluciones.empty() && estadoGrupo == kRechazado) {
        Devolucion d;
        d.msgId = msgId;
        d.motivo = motivoGrupo;
        d.fecha = fechaInforme;
        LeerImporte(grupo->Hijo(u"OrgnlCtrlSum"), d);
        leido.devoluciones.push_back(d);
    } else {
        leido.devoluciones.insert(leido.devoluciones.end(), bloquesRechazados.begin(),
                                  bloquesRechazados.end());
    }
    return leido;
}

InformeBanco Notificacion(const NodoXml& informe) {
    InformeBanco leido;
    leido.tipo = TipoInforme::NotificacionDeAdeudos;
    const QDate fechaInforme = Dia(informe.Texto(u"GrpHdr/CreDtTm"));
    for (const NodoXml* notificacion : informe.Hijos(u"Ntfctn")) {
        for (const NodoXml* apunte : notificacion->Hijos(u"Ntry")) {
            // A return takes the money back from the creditor's account; an informative
            // entry has not been booked and may come again booked.
            if (apunte->Texto(u"CdtDbtInd") != u"DBIT" || apunte->Texto(u"Sts") == u"INFO")
                continue;
            QDate fecha = Dia(apunte->Texto(u"BookgDt/Dt"));
            if (!fecha.isValid())
                fecha = Dia(apunte->Texto(u"BookgDt/DtTm"));
            if (!fecha.isValid())
                fecha = fechaInforme;
            std::vector<const NodoXml*> transacciones;
            for (const NodoXml* detalles : apunte->Hijos(u"NtryDtls"))
                for (const NodoXml* tx : detalles->Hijos(u"TxDtls"))
                    transacciones.push_back(tx);
            for (const NodoXml* tx : transacciones) {
                const NodoXml* devuelto = tx->Hijo(u"RtrInf");
                if (!devuelto)
                    continue;
                Devolucion d;
                d.msgId = tx->Texto(u"Refs/MsgId");
                d.endToEndId = tx->Texto(u"Refs/EndToEndId");
                d.mandato = tx->Texto(u"Refs/MndtId");
                d.motivo = devuelto->Texto(u"Rsn/Cd");
                if (d.motivo.isEmpty())
                    d.motivo = devuelto->Texto(u"Rsn/Prtry");
                d.fecha = fecha;
                d.acreedor = tx->Texto(u"RltdPties/Cdtr/Id/PrvtId/Othr/Id");
                // The debit's own amount; the entry's only when it books this debit alone,
                // for several returns may be booked as one sum.
                const NodoXml* importe = tx->En(u"AmtDtls/TxAmt/Amt");
                if (!importe)
                    importe = tx->En(u"AmtDtls/InstdAmt/Amt");
                if (!importe && transacciones.size() == 1)
                    importe = apunte->Hijo(u"Amt");
                LeerImporte(importe, d);
                leido.devoluciones.push_back(d);
            }
        }
    }
    return leido;
}

} // namespace

InformeBanco LeerInformeBanco(const QByteArray& xml) {
    const ArbolXml arbol = LeerArbolXml(xml);
    if (!arbol.error.isEmpty())
        return {TipoInforme::Ninguno, {}, arbol.error};
    const NodoXml& raiz = arbol.raiz;
    if (raiz.nombre == u"Document") {
        if (raiz.espacio == kEstadoDePagos)
            if (const NodoXml* informe = raiz.Hijo(u"CstmrPmtStsRpt"))
                return EstadoDePagos(*informe);
        if (raiz.espacio == kNotificacion)
            if (const NodoXml* informe = raiz.Hijo(u"BkToCstmrDbtCdtNtfctn"))
                return Notificacion(*informe);
    }
    const QString primero = raiz.hijos.empty() ? QString() : raiz.hijos.front().nombre;
    const QString espacio =
        raiz.espacio.isEmpty() ? QStringLiteral("sin espacio de nombres")
                               : QStringLiteral("con el espacio de nombres «%1»").arg(raiz.espacio);
    return {
        TipoInforme::Ninguno,
        {},
        QStringLiteral("El archivo no es un informe de devoluciones del banco que este "
                       "programa lea (pain.002.001.03 o camt.054.001.02): su elemento raíz es "
                       "«%1»%2, %3.")
            .arg(raiz.nombre,
                 primero.isEmpty() ? QString() : QStringLiteral(" con «%1» dentro").arg(primero),
                 espacio)};
}

} // namespace sepa
