#include "sepa/Pain008.h"

#include "sepa/Cuentas.h"
#include "sepa/TextoSepa.h"

#include <QBuffer>
#include <QStringList>
#include <QXmlStreamWriter>

#include <map>

namespace sepa {

namespace {

// What differs between the versions this program writes, for a creditor: the namespace and
// the name of a bank's BIC. Everything else it writes has the same shape in both.
struct Version {
    QString espacioDeNombres;
    QString bic;
};
const Version kVersion02{QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.008.001.02"),
                         QStringLiteral("BIC")};
const Version kVersion08{QStringLiteral("urn:iso:std:iso:20022:tech:xsd:pain.008.001.08"),
                         QStringLiteral("BICFI")};
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
    // Town, country and lines of the debtor's address; empty inside the EEA, where none is
    // written.
    QString poblacion;
    QString pais;
    QStringList lineas;
};

struct Grupo {
    std::vector<Linea> lineas;
    std::int64_t centimos = 0;
};

Linea LineaDe(const Adeudo& a) {
    Linea l;
    l.referencia = ReferenciaDeAdeudo(a.numero);
    l.centimos = *Centimos(a.total);
    l.mandato = MandatoDeAdeudo(a.mandato);
    l.fechaMandato = Q(TextoIso(a.fechaMandato));
    l.bic = Q(NormalizarCodigo(a.bic));
    l.titular = Q(TextoSepa(a.titular, kMaxNombre));
    l.iban = Q(NormalizarCodigo(a.iban));
    l.concepto = Q(InformacionRemesa(a.numero, a.conceptos));
    if (CuentaFueraDelEee(a.iban)) {
        l.poblacion = Q(TextoSepa(a.direccion.poblacion, kMaxPoblacion));
        l.pais = Q(NormalizarCodigo(a.direccion.pais));
        for (const std::string& linea : a.direccion.lineas)
            if (const std::string texto = TextoSepa(linea, kMaxLineaDireccion); !texto.empty())
                l.lineas << Q(texto);
    }
    return l;
}

// A bank by its BIC, or "not provided" where the BIC is not given.
void EscribirEntidad(QXmlStreamWriter& xml, const Version& v, const QString& etiqueta,
                     const QString& bic) {
    xml.writeStartElement(etiqueta);
    xml.writeStartElement(QStringLiteral("FinInstnId"));
    if (bic.isEmpty()) {
        xml.writeStartElement(QStringLiteral("Othr"));
        xml.writeTextElement(QStringLiteral("Id"), kNoFacilitado);
        xml.writeEndElement();
    } else {
        xml.writeTextElement(v.bic, bic);
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

// The address in the form both versions take and the banks require from November 2026:
// town and country as their own elements, then at most two lines, nothing unstructured alone.
void EscribirDeudor(QXmlStreamWriter& xml, const Linea& l) {
    xml.writeStartElement(QStringLiteral("Dbtr"));
    xml.writeTextElement(QStringLiteral("Nm"), l.titular);
    if (!l.poblacion.isEmpty()) {
        xml.writeStartElement(QStringLiteral("PstlAdr"));
        xml.writeTextElement(QStringLiteral("TwnNm"), l.poblacion);
        xml.writeTextElement(QStringLiteral("Ctry"), l.pais);
        for (const QString& linea : l.lineas)
            xml.writeTextElement(QStringLiteral("AdrLine"), linea);
        xml.writeEndElement();
    }
    xml.writeEndElement();
}

void EscribirAdeudo(QXmlStreamWriter& xml, const Version& v, const Linea& l) {
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
    EscribirEntidad(xml, v, QStringLiteral("DbtrAgt"), l.bic);
    EscribirDeudor(xml, l);
    EscribirCuenta(xml, QStringLiteral("DbtrAcct"), l.iban);
    xml.writeStartElement(QStringLiteral("RmtInf"));
    xml.writeTextElement(QStringLiteral("Ustrd"), l.concepto);
    xml.writeEndElement();
    xml.writeEndElement();
}

struct AcreedorXml {
    QString nombre, identificador, iban, bic;
};

void EscribirGrupo(QXmlStreamWriter& xml, const Version& v, const QString& msgId,
                   Secuencia secuencia, const Grupo& grupo, const QString& fechaCobro,
                   const AcreedorXml& acreedor) {
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
    EscribirEntidad(xml, v, QStringLiteral("CdtrAgt"), acreedor.bic);
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
        EscribirAdeudo(xml, v, l);
    xml.writeEndElement();
}

DocumentoRemesaSepa Documento(const Version& v, const Remesa& remesa, const QString& msgId,
                              const QDateTime& creado) {
    DocumentoRemesaSepa documento;
    // Every amount is taken once, and the sums are made of the amounts written.
    std::map<Secuencia, Grupo> grupos;
    for (const Adeudo& a : remesa.adeudos) {
        Grupo& grupo = grupos[a.secuencia];
        grupo.lineas.push_back(LineaDe(a));
        grupo.centimos += grupo.lineas.back().centimos;
        documento.centimos += grupo.lineas.back().centimos;
        ++documento.adeudos;
    }
    const Acreedor acreedor = Normalizado(remesa.acreedor);
    const AcreedorXml datos{Q(TextoSepa(acreedor.nombre, kMaxNombre)), Q(acreedor.identificador),
                            Q(acreedor.iban), Q(acreedor.bic)};
    // The writer and its buffer are done with the text before it is handed back.
    {
        QBuffer buffer(&documento.xml);
        buffer.open(QIODevice::WriteOnly);
        QXmlStreamWriter xml(&buffer);
        xml.setAutoFormatting(true);
        xml.setAutoFormattingIndent(2);
        xml.writeStartDocument();
        xml.writeDefaultNamespace(v.espacioDeNombres);
        xml.writeStartElement(v.espacioDeNombres, QStringLiteral("Document"));
        xml.writeStartElement(QStringLiteral("CstmrDrctDbtInitn"));
        xml.writeStartElement(QStringLiteral("GrpHdr"));
        xml.writeTextElement(QStringLiteral("MsgId"), msgId);
        xml.writeTextElement(QStringLiteral("CreDtTm"),
                             creado.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
        xml.writeTextElement(QStringLiteral("NbOfTxs"), QString::number(documento.adeudos));
        xml.writeTextElement(QStringLiteral("CtrlSum"), Importe(documento.centimos));
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
            EscribirGrupo(xml, v, msgId, secuencia, grupo, fechaCobro, datos);
        xml.writeEndDocument();
    }
    return documento;
}

} // namespace

DocumentoRemesaSepa Pain00800102(const Remesa& remesa, const QString& msgId,
                                 const QDateTime& creado) {
    return Documento(kVersion02, remesa, msgId, creado);
}

DocumentoRemesaSepa Pain00800108(const Remesa& remesa, const QString& msgId,
                                 const QDateTime& creado) {
    return Documento(kVersion08, remesa, msgId, creado);
}

QString ReferenciaDeAdeudo(std::string_view numero) {
    const QString referencia = Q(TextoSepa(numero, kMaxReferencia));
    return referencia.isEmpty() ? kNoFacilitado : referencia;
}

QString MandatoDeAdeudo(std::string_view mandato) {
    return Q(TextoSepa(mandato, kMaxReferencia));
}

FormatoRemesa FormatoDeRemesa(QStringView nombre) {
    if (nombre == u"pain.008.001.02")
        return Pain00800102;
    if (nombre == u"pain.008.001.08")
        return Pain00800108;
    return nullptr;
}

} // namespace sepa
