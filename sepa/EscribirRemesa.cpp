#include "sepa/EscribirRemesa.h"

#include "platform/SaveFailure.h"
#include "sepa/Cuentas.h"
#include "sepa/IdentificadorMensaje.h"
#include "sepa/TextoSepa.h"

#include <QBuffer>
#include <QDate>
#include <QDir>
#include <QSaveFile>
#include <QXmlStreamWriter>

#include <map>

namespace sepa {

namespace {

const QString kEspacioDeNombres = QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.008.001.02");
constexpr std::size_t kMaxAdeudos = 1'000'000;
// What the bank's format asks for where a BIC or a reference is not known.
const QString kNoFacilitado = QStringLiteral("NOTPROVIDED");

QString Q(const std::string& texto) {
    return QString::fromStdString(texto);
}

// Cents as the bank's decimal: "1234.50".
QString Importe(std::int64_t centimos) {
    const std::int64_t resto = centimos % 100;
    return QString::number(centimos / 100) + QLatin1Char('.') +
           (resto < 10 ? QStringLiteral("0") : QString()) + QString::number(resto);
}

// A debit with everything the file writes of it, converted once.
struct Linea {
    QString referencia;
    std::int64_t centimos;
    QString mandato;
    QString fechaMandato;
    QString bic;
    QString titular;
    QString iban;
    QString concepto;
};

struct Grupo {
    std::vector<Linea> lineas;
    std::int64_t centimos = 0;
};

Linea LineaDe(const Adeudo& a) {
    Linea l;
    l.referencia = Q(TextoSepa(a.numero, kMaxReferencia));
    if (l.referencia.isEmpty())
        l.referencia = kNoFacilitado;
    l.centimos = *Centimos(a.total);
    l.mandato = Q(TextoSepa(a.mandato, kMaxReferencia));
    l.fechaMandato = Q(TextoIso(a.fechaMandato));
    l.bic = Q(NormalizarCodigo(a.bic));
    l.titular = Q(TextoSepa(a.titular, kMaxNombre));
    l.iban = Q(NormalizarCodigo(a.iban));
    l.concepto = Q(InformacionRemesa(a.numero, a.conceptos));
    return l;
}

// A bank by its BIC, or "not provided" where the BIC is not given.
void EscribirEntidad(QXmlStreamWriter& xml, const QString& etiqueta, const QString& bic) {
    xml.writeStartElement(etiqueta);
    xml.writeStartElement(QStringLiteral("FinInstnId"));
    if (bic.isEmpty()) {
        xml.writeStartElement(QStringLiteral("Othr"));
        xml.writeTextElement(QStringLiteral("Id"), kNoFacilitado);
        xml.writeEndElement();
    } else {
        xml.writeTextElement(QStringLiteral("BIC"), bic);
    }
    xml.writeEndElement();
    xml.writeEndElement();
}

void EscribirCuenta(QXmlStreamWriter& xml, const QString& etiqueta, const QString& iban) {
    xml.writeStartElement(etiqueta);
    xml.writeStartElement(QStringLiteral("Id"));
    xml.writeTextElement(QStringLiteral("IBAN"), iban);
    xml.writeEndElement();
    xml.writeEndElement();
}

void EscribirNombre(QXmlStreamWriter& xml, const QString& etiqueta, const QString& nombre) {
    xml.writeStartElement(etiqueta);
    xml.writeTextElement(QStringLiteral("Nm"), nombre);
    xml.writeEndElement();
}

void EscribirAdeudo(QXmlStreamWriter& xml, const Linea& l) {
    xml.writeStartElement(QStringLiteral("DrctDbtTxInf"));
    xml.writeStartElement(QStringLiteral("PmtId"));
    xml.writeTextElement(QStringLiteral("EndToEndId"), l.referencia);
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("InstdAmt"));
    xml.writeAttribute(QStringLiteral("Ccy"), QStringLiteral("EUR"));
    xml.writeCharacters(Importe(l.centimos));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("DrctDbtTx"));
    xml.writeStartElement(QStringLiteral("MndtRltdInf"));
    xml.writeTextElement(QStringLiteral("MndtId"), l.mandato);
    xml.writeTextElement(QStringLiteral("DtOfSgntr"), l.fechaMandato);
    xml.writeEndElement();
    xml.writeEndElement();
    EscribirEntidad(xml, QStringLiteral("DbtrAgt"), l.bic);
    EscribirNombre(xml, QStringLiteral("Dbtr"), l.titular);
    EscribirCuenta(xml, QStringLiteral("DbtrAcct"), l.iban);
    xml.writeStartElement(QStringLiteral("RmtInf"));
    xml.writeTextElement(QStringLiteral("Ustrd"), l.concepto);
    xml.writeEndElement();
    xml.writeEndElement();
}

struct AcreedorXml {
    QString nombre, identificador, iban, bic;
};

void EscribirGrupo(QXmlStreamWriter& xml, const QString& msgId, Secuencia secuencia,
                   const Grupo& grupo, const QString& fechaCobro, const AcreedorXml& acreedor) {
    const QString codigo = Q(std::string(CodigoSecuencia(secuencia)));
    xml.writeStartElement(QStringLiteral("PmtInf"));
    xml.writeTextElement(QStringLiteral("PmtInfId"), msgId + QLatin1Char('-') + codigo);
    xml.writeTextElement(QStringLiteral("PmtMtd"), QStringLiteral("DD"));
    xml.writeTextElement(QStringLiteral("NbOfTxs"), QString::number(grupo.lineas.size()));
    xml.writeTextElement(QStringLiteral("CtrlSum"), Importe(grupo.centimos));
    xml.writeStartElement(QStringLiteral("PmtTpInf"));
    xml.writeStartElement(QStringLiteral("SvcLvl"));
    xml.writeTextElement(QStringLiteral("Cd"), QStringLiteral("SEPA"));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("LclInstrm"));
    xml.writeTextElement(QStringLiteral("Cd"), QStringLiteral("CORE"));
    xml.writeEndElement();
    xml.writeTextElement(QStringLiteral("SeqTp"), codigo);
    xml.writeEndElement();
    xml.writeTextElement(QStringLiteral("ReqdColltnDt"), fechaCobro);
    EscribirNombre(xml, QStringLiteral("Cdtr"), acreedor.nombre);
    EscribirCuenta(xml, QStringLiteral("CdtrAcct"), acreedor.iban);
    EscribirEntidad(xml, QStringLiteral("CdtrAgt"), acreedor.bic);
    xml.writeTextElement(QStringLiteral("ChrgBr"), QStringLiteral("SLEV"));
    xml.writeStartElement(QStringLiteral("CdtrSchmeId"));
    xml.writeStartElement(QStringLiteral("Id"));
    xml.writeStartElement(QStringLiteral("PrvtId"));
    xml.writeStartElement(QStringLiteral("Othr"));
    xml.writeTextElement(QStringLiteral("Id"), acreedor.identificador);
    xml.writeStartElement(QStringLiteral("SchmeNm"));
    xml.writeTextElement(QStringLiteral("Prtry"), QStringLiteral("SEPA"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    for (const Linea& l : grupo.lineas)
        EscribirAdeudo(xml, l);
    xml.writeEndElement();
}

// The first fault of the remittance, as the sentence the user reads; empty when none.
QString Falta(const Remesa& remesa, Fecha hoy) {
    if (const auto p = ComprobarAcreedor(remesa.acreedor))
        return QStringLiteral("Los datos del acreedor (Recibos → Datos del acreedor…) no son "
                              "válidos; %1: %2")
            .arg(Q(p->campo), Q(p->mensaje));
    if (const std::string fecha = ComprobarFechaCobro(remesa.fechaCobro, hoy); !fecha.empty()) {
        QString texto = Q(fecha);
        texto[0] = texto[0].toUpper();
        return texto;
    }
    if (remesa.adeudos.empty())
        return QStringLiteral("La remesa no tiene ningún recibo que cobrar.");
    // So that the control sum keeps within the 18 digits the bank's format admits.
    if (remesa.adeudos.size() > kMaxAdeudos)
        return QStringLiteral("La remesa tiene %L1 recibos, y un archivo admite %L2 como mucho: "
                              "repártalos en varias remesas.")
            .arg(qulonglong(remesa.adeudos.size()))
            .arg(qulonglong(kMaxAdeudos));
    for (const Adeudo& a : remesa.adeudos)
        if (const auto p = ComprobarAdeudo(a, remesa.fechaCobro, hoy))
            return QStringLiteral("Recibo «%1», %2: %3")
                .arg(Q(a.numero), Q(p->campo), Q(p->mensaje));
    const auto otros = MandatosConOtraCuenta(remesa.adeudos);
    for (std::size_t i = 0; i < otros.size(); ++i)
        if (otros[i]) {
            const Adeudo& a = remesa.adeudos[i];
            const std::string otro = "del recibo «" + remesa.adeudos[*otros[i]].numero + "»";
            return QStringLiteral("Recibo «%1», Mandato: %2")
                .arg(Q(a.numero), Q(MandatoConOtraCuenta(a.mandato, otro)));
        }
    return {};
}

} // namespace

Fecha Hoy() {
    const QDate hoy = QDate::currentDate();
    return Fecha{std::chrono::year(hoy.year()), std::chrono::month(unsigned(hoy.month())),
                 std::chrono::day(unsigned(hoy.day()))};
}

ResultadoRemesa DocumentoRemesa(const Remesa& remesa, const QString& msgId, QByteArray& documento,
                                Fecha hoy) {
    ResultadoRemesa resultado;
    resultado.error = Falta(remesa, hoy);
    if (!resultado.Escrita())
        return resultado;

    // Every amount is taken once, and the sums are made of the amounts written.
    std::map<Secuencia, Grupo> grupos;
    for (const Adeudo& a : remesa.adeudos) {
        Grupo& grupo = grupos[a.secuencia];
        grupo.lineas.push_back(LineaDe(a));
        grupo.centimos += grupo.lineas.back().centimos;
        resultado.centimos += grupo.lineas.back().centimos;
        ++resultado.adeudos;
    }
    const Acreedor acreedor = Normalizado(remesa.acreedor);
    const AcreedorXml datos{Q(TextoSepa(acreedor.nombre, kMaxNombre)), Q(acreedor.identificador),
                            Q(acreedor.iban), Q(acreedor.bic)};
    documento.clear();
    {
        QBuffer buffer(&documento);
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter xml(&buffer);
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
        xml.writeStartDocument();
        xml.writeDefaultNamespace(kEspacioDeNombres);
        xml.writeStartElement(kEspacioDeNombres, QStringLiteral("Document"));
        xml.writeStartElement(QStringLiteral("CstmrDrctDbtInitn"));
        xml.writeStartElement(QStringLiteral("GrpHdr"));
        xml.writeTextElement(QStringLiteral("MsgId"), msgId);
        xml.writeTextElement(QStringLiteral("CreDtTm"), QDateTime::currentDateTime().toString(
                                                            QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
        xml.writeTextElement(QStringLiteral("NbOfTxs"), QString::number(resultado.adeudos));
        xml.writeTextElement(QStringLiteral("CtrlSum"), Importe(resultado.centimos));
        xml.writeStartElement(QStringLiteral("InitgPty"));
        xml.writeTextElement(QStringLiteral("Nm"), datos.nombre);
        xml.writeStartElement(QStringLiteral("Id"));
        xml.writeStartElement(QStringLiteral("OrgId"));
        xml.writeStartElement(QStringLiteral("Othr"));
        xml.writeTextElement(QStringLiteral("Id"), datos.identificador);
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
        const QString fechaCobro = Q(TextoIso(remesa.fechaCobro));
        for (const auto& [secuencia, grupo] : grupos)
            EscribirGrupo(xml, msgId, secuencia, grupo, fechaCobro, datos);
        xml.writeEndDocument();
    }
    resultado.msgId = msgId;
    return resultado;
}

ResultadoRemesa EscribirRemesa(const QString& ruta, const Remesa& remesa, Fecha hoy) {
    QByteArray documento;
    ResultadoRemesa resultado =
        DocumentoRemesa(remesa, NuevoIdentificadorMensaje(), documento, hoy);
    if (!resultado.Escrita())
        return resultado;
    const QString msgId = resultado.msgId;
    resultado.msgId.clear();
    // As the PDF files: the temporary file replaces `ruta` only once all of it is on disk.
    QSaveFile archivo(ruta);
    const auto fallo = [&](const QString& motivo) {
        resultado.error = QStringLiteral("No se pudo guardar la remesa en «%1»: %2.")
                              .arg(QDir::toNativeSeparators(ruta), motivo);
        resultado.adeudos = 0;
        resultado.centimos = 0;
        return resultado;
    };
    if (!archivo.open(QIODevice::WriteOnly))
        return fallo(platform::OpenFailureReason(ruta));
    if (archivo.write(documento) != documento.size() || !archivo.flush() || !archivo.commit()) {
        archivo.cancelWriting();
        return fallo(platform::CommitFailureReason(archivo));
    }
    resultado.msgId = msgId;
    return resultado;
}

} // namespace sepa
