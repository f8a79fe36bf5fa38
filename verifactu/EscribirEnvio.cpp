#include "verifactu/EscribirEnvio.h"

#include <QtCore/QXmlStreamWriter>

#include <algorithm>

namespace verifactu {

namespace {

const QString kNsEnvio = QStringLiteral(
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/"
    "aeat/tike/cont/ws/SuministroLR.xsd");
const QString kNsDatos = QStringLiteral(
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/"
    "aeat/tike/cont/ws/SuministroInformacion.xsd");

// An invoice of 100 million euros or more must say so ("macrodato"). The amounts are
// written without leading zeros, so nine digits before the point mean as much.
bool EsMacrodato(const std::string& importe) {
    const std::size_t inicio = importe.starts_with('-') ? 1 : 0;
    const std::size_t punto = std::min(importe.find('.'), importe.size());
    return punto > inicio && punto - inicio >= 9;
}

// Writes the elements of the records' own namespace; every value is UTF-8 text.
class Escritor {
public:
    explicit Escritor(QXmlStreamWriter& x) : x_(x) {}

    void Abrir(const char* nombre) { x_.writeStartElement(kNsDatos, QLatin1StringView(nombre)); }
    void Cerrar() { x_.writeEndElement(); }
    void Campo(const char* nombre, const std::string& valor) {
        x_.writeTextElement(kNsDatos, QLatin1StringView(nombre), QString::fromStdString(valor));
    }
    // An optional field: written only when it has a value.
    void Opcional(const char* nombre, const std::string& valor) {
        if (!valor.empty())
            Campo(nombre, valor);
    }
    void SiNo(const char* nombre, bool valor) { Campo(nombre, valor ? "S" : "N"); }
    void NombreNif(const std::string& nombre, const std::string& nif) {
        Campo("NombreRazon", nombre);
        Campo("NIF", nif);
    }
    // The three fields that name an invoice; those of an anulación end in "Anulada".
    void Factura(const IdFactura& f, bool anulada) {
        Campo(anulada ? "IDEmisorFacturaAnulada" : "IDEmisorFactura", f.emisor);
        Campo(anulada ? "NumSerieFacturaAnulada" : "NumSerieFactura", f.numSerie);
        Campo(anulada ? "FechaExpedicionFacturaAnulada" : "FechaExpedicionFactura", f.fecha);
    }

    void Encadenamiento(const std::optional<RegistroAnterior>& anterior) {
        Abrir("Encadenamiento");
        if (!anterior) {
            Campo("PrimerRegistro", "S");
        } else {
            Abrir("RegistroAnterior");
            Factura(anterior->factura, false);
            Campo("Huella", anterior->huella);
            Cerrar();
        }
        Cerrar();
    }

    void Sistema(const SistemaInformatico& s) {
        Abrir("SistemaInformatico");
        NombreNif(s.nombreRazon, s.nif);
        Campo("NombreSistemaInformatico", s.nombreSistema);
        Campo("IdSistemaInformatico", s.idSistema);
        Campo("Version", s.version);
        Campo("NumeroInstalacion", s.numeroInstalacion);
        SiNo("TipoUsoPosibleSoloVerifactu", s.soloVerifactu);
        SiNo("TipoUsoPosibleMultiOT", s.multiplesObligados);
        SiNo("IndicadorMultiplesOT", s.hayVariosObligados);
        Cerrar();
    }

    // The frame of every record: its version and invoice first, `cuerpo` in between, then the
    // chain, the system, the moment and the huella.
    template <class R, class Cuerpo>
    void Marco(const char* nombre, const R& r, const IdFactura& f, bool anulada, Cuerpo cuerpo) {
        Abrir(nombre);
        Campo("IDVersion", "1.0");
        Abrir("IDFactura");
        Factura(f, anulada);
        Cerrar();
        cuerpo();
        Encadenamiento(r.anterior);
        Sistema(r.sistema);
        Campo("FechaHoraHusoGenRegistro", r.fechaHoraHuso);
        Campo("TipoHuella", "01"); // SHA-256, the only kind there is
        Campo("Huella", r.huella);
        Cerrar();
    }

    void Linea(const LineaDesglose& l) {
        Abrir("DetalleDesglose");
        Campo("Impuesto", "01"); // IVA
        Campo("ClaveRegimen", l.claveRegimen);
        Opcional("CalificacionOperacion", l.calificacion);
        Opcional("OperacionExenta", l.exencion);
        Opcional("TipoImpositivo", l.tipoImpositivo);
        Campo("BaseImponibleOimporteNoSujeto", l.base);
        Opcional("CuotaRepercutida", l.cuota);
        Opcional("TipoRecargoEquivalencia", l.tipoRecargo);
        Opcional("CuotaRecargoEquivalencia", l.cuotaRecargo);
        Cerrar();
    }

    void operator()(const RegistroAlta& r) {
        Marco("RegistroAlta", r, r.factura, false, [&] { Alta(r); });
    }

    void operator()(const RegistroAnulacion& r) {
        Marco("RegistroAnulacion", r, r.anulada, true, [&] {
            if (r.sinRegistroPrevio)
                Campo("SinRegistroPrevio", "S");
        });
    }

private:
    void Alta(const RegistroAlta& r) {
        Campo("NombreRazonEmisor", r.nombreRazonEmisor);
        if (r.subsanacion)
            Campo("Subsanacion", "S");
        Opcional("RechazoPrevio", r.rechazoPrevio);
        Campo("TipoFactura", r.tipoFactura);
        Campo("DescripcionOperacion", r.descripcion);
        if (EsMacrodato(r.importeTotal))
            Campo("Macrodato", "S");
        if (r.destinatario) {
            Abrir("Destinatarios");
            Abrir("IDDestinatario");
            NombreNif(r.destinatario->nombreRazon, r.destinatario->nif);
            Cerrar();
            Cerrar();
        }
        Abrir("Desglose");
        for (const LineaDesglose& l : r.desglose)
            Linea(l);
        Cerrar();
        Campo("CuotaTotal", r.cuotaTotal);
        Campo("ImporteTotal", r.importeTotal);
    }

    QXmlStreamWriter& x_;
};

const QString kNsSoap = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");

// The RegFactuSistemaFacturacion element, in whatever document `x` is writing.
void EscribirElemento(QXmlStreamWriter& x, const ObligadoEmision& obligado,
                      const std::vector<Registro>& registros, const Remision& remision) {
    x.writeStartElement(kNsEnvio, QStringLiteral("RegFactuSistemaFacturacion"));
    x.writeStartElement(kNsEnvio, QStringLiteral("Cabecera"));
    Escritor e(x);
    e.Abrir("ObligadoEmision");
    e.NombreNif(obligado.nombreRazon, obligado.nif);
    e.Cerrar();
    if (!remision.fechaFin.empty() || remision.incidencia) {
        e.Abrir("RemisionVoluntaria");
        e.Opcional("FechaFinVeriFactu", remision.fechaFin);
        if (remision.incidencia)
            e.Campo("Incidencia", "S");
        e.Cerrar();
    }
    x.writeEndElement();
    for (const Registro& r : registros) {
        x.writeStartElement(kNsEnvio, QStringLiteral("RegistroFactura"));
        std::visit(e, r);
        x.writeEndElement();
    }
    x.writeEndElement();
}

} // namespace

QByteArray EscribirEnvio(const ObligadoEmision& obligado, const std::vector<Registro>& registros,
                         const Remision& remision) {
    QByteArray xml;
    QXmlStreamWriter x(&xml);
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(2);
    x.writeStartDocument();
    // The prefixes the tax agency's own examples use.
    x.writeNamespace(kNsEnvio, QStringLiteral("sum"));
    x.writeNamespace(kNsDatos, QStringLiteral("sum1"));
    EscribirElemento(x, obligado, registros, remision);
    x.writeEndDocument();
    return xml;
}

QByteArray EscribirSobreSoap(const ObligadoEmision& obligado,
                             const std::vector<Registro>& registros, const Remision& remision) {
    QByteArray xml;
    QXmlStreamWriter x(&xml);
    x.setAutoFormatting(true);
    x.setAutoFormattingIndent(2);
    x.writeStartDocument();
    x.writeNamespace(kNsSoap, QStringLiteral("soapenv"));
    x.writeNamespace(kNsEnvio, QStringLiteral("sum"));
    x.writeNamespace(kNsDatos, QStringLiteral("sum1"));
    x.writeStartElement(kNsSoap, QStringLiteral("Envelope"));
    x.writeEmptyElement(kNsSoap, QStringLiteral("Header"));
    x.writeStartElement(kNsSoap, QStringLiteral("Body"));
    EscribirElemento(x, obligado, registros, remision);
    x.writeEndElement();
    x.writeEndElement();
    x.writeEndDocument();
    return xml;
}

} // namespace verifactu
