#include "verifactu/Respuesta.h"

#include <QtCore/QXmlStreamReader>

namespace verifactu {

namespace {

const QString kNsRespuesta = QStringLiteral(
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/"
    "aeat/tike/cont/ws/RespuestaSuministro.xsd");

std::optional<EstadoEnvio> LeerEstadoEnvio(const QString& t) {
    if (t == u"Correcto")
        return EstadoEnvio::Correcto;
    if (t == u"ParcialmenteCorrecto")
        return EstadoEnvio::ParcialmenteCorrecto;
    if (t == u"Incorrecto")
        return EstadoEnvio::Incorrecto;
    return std::nullopt;
}

std::optional<EstadoRegistro> LeerEstadoRegistro(const QString& t) {
    if (t == u"Correcto")
        return EstadoRegistro::Correcto;
    if (t == u"AceptadoConErrores")
        return EstadoRegistro::AceptadoConErrores;
    if (t == u"Incorrecto")
        return EstadoRegistro::Incorrecto;
    return std::nullopt;
}

// Walks the document keeping the names of the open elements, so that a field is told by
// its parent: CodigoErrorRegistro is the record's own or that of the duplicate it kept.
class Lector {
public:
    explicit Lector(const QByteArray& xml) : x_(xml) {}

    LecturaRespuesta Leer() {
        LecturaRespuesta l;
        bool raiz = false, estado = false;
        while (!x_.atEnd() && !x_.hasError()) {
            const QXmlStreamReader::TokenType t = x_.readNext();
            if (t == QXmlStreamReader::EndElement) {
                abiertos_.removeLast();
                continue;
            }
            if (t != QXmlStreamReader::StartElement)
                continue;
            const QString nombre = x_.name().toString();
            const QString padre = abiertos_.isEmpty() ? QString() : abiertos_.last();
            if (nombre == u"Fault") {
                l.clase = LecturaRespuesta::Clase::Fallo;
            } else if (nombre == u"faultcode" && l.clase == LecturaRespuesta::Clase::Fallo) {
                l.fallo.codigo = Texto();
                // "soapenv:Server": the message was fine, the agency could not take it now.
                l.fallo.reenviarIgual = QString::fromStdString(l.fallo.codigo).endsWith(u"Server");
                continue;
            } else if (nombre == u"faultstring" && l.clase == LecturaRespuesta::Clase::Fallo) {
                l.fallo.texto = Texto();
                continue;
            } else if (nombre == u"RespuestaRegFactuSistemaFacturacion" &&
                       x_.namespaceUri() == kNsRespuesta) {
                raiz = true;
            } else if (raiz) {
                const Paso paso = Campo(nombre, padre, l.respuesta, estado);
                if (paso == Paso::Malo)
                    return Ilegible("un valor de «" + nombre.toStdString() +
                                    "» que no se entiende");
                if (paso == Paso::Leido)
                    continue; // its text was read, which closed it
            }
            abiertos_.append(nombre);
        }
        if (x_.hasError())
            return Ilegible("el XML está incompleto o mal formado");
        if (l.clase == LecturaRespuesta::Clase::Fallo)
            return l;
        if (!raiz || !estado)
            return Ilegible("no es una respuesta a un envío de registros");
        l.clase = LecturaRespuesta::Clase::Respuesta;
        return l;
    }

private:
    std::string Texto() { return x_.readElementText().trimmed().toStdString(); }

    static LecturaRespuesta Ilegible(std::string motivo) {
        LecturaRespuesta l;
        l.error = "La respuesta de la AEAT no se puede leer: " + std::move(motivo) + ".";
        return l;
    }

    // What became of an element: left open (its children come next), read whole, or read
    // with a value that is not understood.
    enum class Paso { Abierto, Leido, Malo };

    Paso Campo(const QString& nombre, const QString& padre, Respuesta& r, bool& hayEstado) {
        if (nombre == u"RespuestaLinea") {
            r.lineas.emplace_back();
            return Paso::Abierto;
        }
        LineaRespuesta* linea = r.lineas.empty() ? nullptr : &r.lineas.back();
        const bool enLinea = linea && abiertos_.contains(u"RespuestaLinea");
        if (nombre == u"CSV") {
            r.csv = Texto();
        } else if (nombre == u"NIFPresentador") {
            r.nifPresentador = Texto();
        } else if (nombre == u"TimestampPresentacion") {
            r.momentoPresentacion = Texto();
        } else if (nombre == u"TiempoEsperaEnvio") {
            bool ok = false;
            r.esperaSegundos = QString::fromStdString(Texto()).toInt(&ok);
            if (!ok)
                return Paso::Malo;
        } else if (nombre == u"EstadoEnvio") {
            const auto e = LeerEstadoEnvio(QString::fromStdString(Texto()));
            if (!e)
                return Paso::Malo;
            r.estado = *e;
            hayEstado = true;
        } else if (enLinea && padre == u"IDFactura" && nombre == u"IDEmisorFactura") {
            linea->factura.emisor = Texto();
        } else if (enLinea && padre == u"IDFactura" && nombre == u"NumSerieFactura") {
            linea->factura.numSerie = Texto();
        } else if (enLinea && padre == u"IDFactura" && nombre == u"FechaExpedicionFactura") {
            linea->factura.fecha = Texto();
        } else if (enLinea && nombre == u"TipoOperacion") {
            linea->anulacion = Texto() == "Anulacion";
        } else if (enLinea && nombre == u"EstadoRegistro") {
            const auto e = LeerEstadoRegistro(QString::fromStdString(Texto()));
            if (!e)
                return Paso::Malo;
            linea->estado = *e;
        } else if (enLinea && padre == u"RespuestaLinea" && nombre == u"CodigoErrorRegistro") {
            bool ok = false;
            linea->codigo = QString::fromStdString(Texto()).toInt(&ok);
            if (!ok)
                return Paso::Malo;
        } else if (enLinea && padre == u"RespuestaLinea" && nombre == u"DescripcionErrorRegistro") {
            linea->descripcion = Texto();
        } else if (enLinea && nombre == u"EstadoRegistroDuplicado") {
            linea->estadoDuplicado = Texto();
        } else {
            return Paso::Abierto; // not one of ours: its children are read as they come
        }
        return Paso::Leido;
    }

    QXmlStreamReader x_;
    QStringList abiertos_;
};

} // namespace

LecturaRespuesta LeerRespuesta(const QByteArray& xml) {
    return Lector(xml).Leer();
}

} // namespace verifactu
