// A stand-in for the tax agency's submission service, for the tests: HTTPS on loopback with
// the tests' own authority, a client certificate required, every message's body checked
// against the agency's schema with xmllint, and answers written as RespuestaSuministro.xsd
// says. What it answers to the n-th message is the n-th word of --guion (the last one
// repeats):
//   correcto        every record registered (one it already holds: 3000, duplicate)
//   errores         every record registered with errors (2005)
//   rechazo         every record refused (1100)
//   parcial         the 1st, 3rd... registered, the others refused
//   lento           as correcto, but the answer comes --retraso ms later
//   mudo            the records are kept and no answer ever comes (a program killed
//                   while waiting for it)
//   fallo-servidor  a SOAP fault of the server's side; fallo-cliente, of the client's
//   503             HTTP 503
//   basura          HTTP 200 with something that is not an answer
// A message that is not valid is answered with the agency's schema fault (4102).
// It prints "PUERTO n" once it listens, and writes a line to --diario for every message
// (its arrival in ms since the epoch, the word it used, VALIDO or INVALIDO, Incidencia) and
// one for every record it answered (kind, number, state, code).
#include "../Xmllint.h"

#include <QtCore/QCommandLineParser>
#include <QtCore/QCoreApplication>
#include <QtCore/QDateTime>
#include <QtCore/QFile>
#include <QtCore/QHash>
#include <QtCore/QPointer>
#include <QtCore/QSet>
#include <QtCore/QTextStream>
#include <QtCore/QTimer>
#include <QtCore/QXmlStreamReader>
#include <QtCore/QXmlStreamWriter>
#include <QtNetwork/QSslKey>
#include <QtNetwork/QSslServer>
#include <QtNetwork/QSslSocket>

#include <algorithm>
#include <cstdio>
#include <memory>

namespace {

const QString kNsSoap = QStringLiteral("http://schemas.xmlsoap.org/soap/envelope/");
const QString kNsRespuesta = QStringLiteral(
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/"
    "aeat/tike/cont/ws/RespuestaSuministro.xsd");
const QString kNsDatos = QStringLiteral(
    "https://www2.agenciatributaria.gob.es/static_files/common/internet/dep/aplicaciones/es/"
    "aeat/tike/cont/ws/SuministroInformacion.xsd");

struct Factura {
    bool anulacion = false;
    QString emisor, numero, fecha;
    QString Clave() const {
        return (anulacion ? u"B|"_qs : u"A|"_qs) + emisor + u'|' + numero + u'|' + fecha;
    }
};

struct Mensaje {
    QByteArray cuerpo; // RegFactuSistemaFacturacion alone, as its own document
    QString obligadoNif, obligadoNombre;
    bool incidencia = false;
    QList<Factura> facturas;
};

// The body's element copied into a document of its own, and what the stand-in needs of it.
bool Leer(const QByteArray& sobre, Mensaje& m) {
    QXmlStreamReader r(sobre);
    QXmlStreamWriter w(&m.cuerpo);
    int profundidad = 0; // inside the copied element
    QStringList abiertos;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && profundidad == 0 && !abiertos.isEmpty() &&
            abiertos.last() == u"Body" && r.namespaceUri() != kNsSoap) {
            w.writeStartDocument();
            profundidad = 0;
            w.writeCurrentToken(r);
            profundidad = 1;
            abiertos.append(r.name().toString());
            continue;
        }
        if (r.isStartElement()) {
            const QString n = r.name().toString();
            const QString padre = abiertos.isEmpty() ? QString() : abiertos.last();
            if (n == u"RegistroAlta" || n == u"RegistroAnulacion")
                m.facturas.append({n == u"RegistroAnulacion", {}, {}, {}});
            if (profundidad > 0)
                ++profundidad;
            abiertos.append(n);
            if (profundidad > 0)
                w.writeCurrentToken(r);
            const bool enId = padre == u"IDFactura" && !m.facturas.isEmpty();
            if (enId || padre == u"ObligadoEmision" || n == u"Incidencia") {
                // The text is copied as it is read.
                const QString t = r.readElementText();
                w.writeCharacters(t);
                w.writeEndElement();
                abiertos.removeLast();
                if (profundidad > 0)
                    --profundidad;
                if (enId && n.startsWith(u"IDEmisorFactura"))
                    m.facturas.last().emisor = t;
                else if (enId && n.startsWith(u"NumSerieFactura"))
                    m.facturas.last().numero = t;
                else if (enId && n.startsWith(u"FechaExpedicionFactura"))
                    m.facturas.last().fecha = t;
                else if (padre == u"ObligadoEmision" && n == u"NIF")
                    m.obligadoNif = t;
                else if (padre == u"ObligadoEmision" && n == u"NombreRazon")
                    m.obligadoNombre = t;
                else if (n == u"Incidencia")
                    m.incidencia = t == u"S";
            }
            continue;
        }
        if (r.isEndElement()) {
            if (!abiertos.isEmpty())
                abiertos.removeLast();
            if (profundidad > 0) {
                w.writeCurrentToken(r);
                if (--profundidad == 0)
                    w.writeEndDocument();
            }
            continue;
        }
        if (profundidad > 0 && r.isCharacters())
            w.writeCurrentToken(r);
    }
    return !r.hasError() && !m.cuerpo.isEmpty();
}

class Simulador : public QObject {
public:
    QSslServer servidor;
    QStringList guion;
    int espera = 60;
    int retraso = 0;
    QString esquemas; // the folder of the agency's schemas
    QFile diario;
    int mensajes = 0;
    QSet<QString> tenidos; // what the "agency" holds, and in which state
    QHash<QString, QString> estadoTenido;

    void Conectar() {
        // A client refused during the handshake: said in the log.
        connect(&servidor, &QSslServer::errorOccurred, this,
                [this](QSslSocket*, QAbstractSocket::SocketError e) {
                    Anotar(QStringLiteral("CONEXION-RECHAZADA %1").arg(int(e)));
                });
        connect(&servidor, &QTcpServer::pendingConnectionAvailable, this, [this] {
            while (QTcpSocket* s = servidor.nextPendingConnection())
                Atender(static_cast<QSslSocket*>(s));
        });
    }

    void Anotar(const QString& linea) {
        diario.write(linea.toUtf8() + '\n');
        diario.flush();
    }

    void Atender(QSslSocket* s) {
        auto buffer = std::make_shared<QByteArray>();
        connect(s, &QSslSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QSslSocket::readyRead, this, [this, s, buffer] {
            buffer->append(s->readAll());
            const qsizetype fin = buffer->indexOf("\r\n\r\n");
            if (fin < 0)
                return;
            qsizetype largo = 0;
            for (const QByteArray& linea : buffer->left(fin).split('\n'))
                if (linea.toLower().startsWith("content-length:"))
                    largo = linea.mid(15).trimmed().toLongLong();
            if (buffer->size() < fin + 4 + largo)
                return;
            const QByteArray cuerpo = buffer->mid(fin + 4, largo);
            buffer->remove(0, fin + 4 + largo);
            Responder(s, cuerpo);
        });
    }

    static void Enviar(QSslSocket* s, int codigo, const char* razon, const QByteArray& cuerpo) {
        QByteArray http = "HTTP/1.1 " + QByteArray::number(codigo) + ' ' + razon + "\r\n";
        http += "Content-Type: text/xml; charset=utf-8\r\nConnection: close\r\n";
        http += "Content-Length: " + QByteArray::number(cuerpo.size()) + "\r\n\r\n" + cuerpo;
        s->write(http);
        s->disconnectFromHost();
    }

    static QByteArray FalloSoap(const QString& codigo, const QString& texto) {
        QByteArray xml;
        QXmlStreamWriter w(&xml);
        w.writeStartDocument();
        w.writeNamespace(kNsSoap, QStringLiteral("env"));
        w.writeStartElement(kNsSoap, QStringLiteral("Envelope"));
        w.writeStartElement(kNsSoap, QStringLiteral("Body"));
        w.writeStartElement(kNsSoap, QStringLiteral("Fault"));
        w.writeTextElement(QStringLiteral("faultcode"), codigo);
        w.writeTextElement(QStringLiteral("faultstring"), texto);
        w.writeEndDocument();
        return xml;
    }

    void Responder(QSslSocket* s, const QByteArray& sobre) {
        const QString palabra = guion.isEmpty()
                                    ? QStringLiteral("correcto")
                                    : guion.value(std::min<int>(mensajes, guion.size() - 1));
        ++mensajes;
        const qint64 llegada = QDateTime::currentMSecsSinceEpoch();
        Mensaje m;
        const bool leido = Leer(sobre, m);
        const QString problema =
            leido ? datos::XmllintCon(m.cuerpo, esquemas + u"/SuministroLR.xsd"_qs)
                  : QStringLiteral("no es XML");
        Anotar(QStringLiteral("MENSAJE %1 %2 %3 %4 %5")
                   .arg(llegada)
                   .arg(palabra, problema.isEmpty() ? u"VALIDO"_qs : u"INVALIDO"_qs,
                        m.incidencia ? u"INCIDENCIA"_qs : u"-"_qs)
                   .arg(m.facturas.size()));
        if (!problema.isEmpty()) {
            Anotar(u"  "_qs + problema.simplified());
            Enviar(s, 500, "Internal Server Error",
                   FalloSoap(QStringLiteral("env:Client"),
                             QStringLiteral("Codigo[4102].El XML no cumple el esquema.")));
            return;
        }
        if (palabra == u"mudo") {
            for (const Factura& f : m.facturas) {
                Anotar(QStringLiteral("  %1 %2 Correcto 0")
                           .arg(f.anulacion ? u"Anulacion"_qs : u"Alta"_qs, f.numero));
                Tener(f, QStringLiteral("Correcta"));
            }
            Anotar(QStringLiteral("  sin respuesta"));
            return; // the connection stays open, silent
        }
        if (palabra == u"fallo-servidor" || palabra == u"fallo-cliente") {
            const bool servidor = palabra == u"fallo-servidor";
            Enviar(s, 500, "Internal Server Error",
                   FalloSoap(servidor ? QStringLiteral("env:Server") : QStringLiteral("env:Client"),
                             servidor ? QStringLiteral("Codigo[9999].Error interno, reintente.")
                                      : QStringLiteral("Codigo[4104].El NIF del obligado no está "
                                                       "identificado.")));
            return;
        }
        if (palabra == u"503") {
            Enviar(s, 503, "Service Unavailable", "Servicio no disponible");
            return;
        }
        if (palabra == u"basura") {
            Enviar(s, 200, "OK", "<html><body>Mantenimiento</body></html>");
            return;
        }
        const QByteArray respuesta = Respuesta(m, palabra);
        QPointer<QSslSocket> destino(s);
        QTimer::singleShot(palabra == u"lento" ? retraso : 0, this, [destino, respuesta] {
            if (destino)
                Enviar(destino, 200, "OK", respuesta);
        });
    }

    void Tener(const Factura& f, const QString& estado) {
        if (!tenidos.contains(f.Clave())) {
            tenidos.insert(f.Clave());
            estadoTenido.insert(f.Clave(), estado);
        }
    }

    QByteArray Respuesta(const Mensaje& m, const QString& palabra) {
        struct Linea {
            const Factura* f;
            QString estado;
            int codigo = 0;
            QString texto, duplicado;
        };
        QList<Linea> lineas;
        int bien = 0;
        for (qsizetype i = 0; i < m.facturas.size(); ++i) {
            const Factura& f = m.facturas[i];
            Linea l{&f, {}, 0, {}, {}};
            if (tenidos.contains(f.Clave())) {
                l.estado = QStringLiteral("Incorrecto");
                l.codigo = 3000;
                l.texto = QStringLiteral("Registro de facturación duplicado.");
                l.duplicado = estadoTenido.value(f.Clave());
            } else if (palabra == u"rechazo" || (palabra == u"parcial" && i % 2 == 1)) {
                l.estado = QStringLiteral("Incorrecto");
                l.codigo = 1100;
                l.texto = QStringLiteral("Valor o tipo incorrecto del campo: NumSerieFactura.");
            } else if (palabra == u"errores") {
                l.estado = QStringLiteral("AceptadoConErrores");
                l.codigo = 2005;
                l.texto = QStringLiteral("El ImporteTotal no se corresponde con el desglose.");
                Tener(f, QStringLiteral("AceptadaConErrores"));
            } else {
                l.estado = QStringLiteral("Correcto");
                Tener(f, QStringLiteral("Correcta"));
            }
            if (l.estado != u"Incorrecto" || l.codigo == 3000)
                ++bien;
            Anotar(QStringLiteral("  %1 %2 %3 %4")
                       .arg(f.anulacion ? u"Anulacion"_qs : u"Alta"_qs, f.numero, l.estado)
                       .arg(l.codigo));
            lineas.append(l);
        }
        const bool todosBien = bien == m.facturas.size();
        const bool hayRegistrados = std::any_of(
            lineas.begin(), lineas.end(), [](const Linea& l) { return l.estado != u"Incorrecto"; });
        const bool todosCorrectos = std::all_of(
            lineas.begin(), lineas.end(), [](const Linea& l) { return l.estado == u"Correcto"; });
        const auto escribir = [&](QXmlStreamWriter& w) {
            w.writeStartElement(kNsRespuesta,
                                QStringLiteral("RespuestaRegFactuSistemaFacturacion"));
            if (hayRegistrados) {
                w.writeTextElement(
                    kNsRespuesta, QStringLiteral("CSV"),
                    QStringLiteral("CSV%1SIMULADO").arg(mensajes, 4, 10, QLatin1Char('0')));
                w.writeStartElement(kNsRespuesta, QStringLiteral("DatosPresentacion"));
                w.writeTextElement(kNsDatos, QStringLiteral("NIFPresentador"), m.obligadoNif);
                w.writeTextElement(
                    kNsDatos, QStringLiteral("TimestampPresentacion"),
                    QDateTime::currentDateTime().toOffsetFromUtc(3600).toString(Qt::ISODate));
                w.writeEndElement();
            }
            w.writeStartElement(kNsRespuesta, QStringLiteral("Cabecera"));
            w.writeStartElement(kNsDatos, QStringLiteral("ObligadoEmision"));
            w.writeTextElement(kNsDatos, QStringLiteral("NombreRazon"), m.obligadoNombre);
            w.writeTextElement(kNsDatos, QStringLiteral("NIF"), m.obligadoNif);
            w.writeEndElement();
            w.writeEndElement();
            w.writeTextElement(kNsRespuesta, QStringLiteral("TiempoEsperaEnvio"),
                               QString::number(espera));
            const bool todosMal = !hayRegistrados && !todosBien;
            w.writeTextElement(kNsRespuesta, QStringLiteral("EstadoEnvio"),
                               todosCorrectos ? u"Correcto"_qs
                               : todosMal     ? u"Incorrecto"_qs
                                              : u"ParcialmenteCorrecto"_qs);
            for (const Linea& l : lineas) {
                w.writeStartElement(kNsRespuesta, QStringLiteral("RespuestaLinea"));
                w.writeStartElement(kNsRespuesta, QStringLiteral("IDFactura"));
                w.writeTextElement(kNsDatos, QStringLiteral("IDEmisorFactura"), l.f->emisor);
                w.writeTextElement(kNsDatos, QStringLiteral("NumSerieFactura"), l.f->numero);
                w.writeTextElement(kNsDatos, QStringLiteral("FechaExpedicionFactura"), l.f->fecha);
                w.writeEndElement();
                w.writeStartElement(kNsRespuesta, QStringLiteral("Operacion"));
                w.writeTextElement(kNsDatos, QStringLiteral("TipoOperacion"),
                                   l.f->anulacion ? u"Anulacion"_qs : u"Alta"_qs);
                w.writeEndElement();
                w.writeTextElement(kNsRespuesta, QStringLiteral("EstadoRegistro"), l.estado);
                if (l.codigo != 0) {
                    w.writeTextElement(kNsRespuesta, QStringLiteral("CodigoErrorRegistro"),
                                       QString::number(l.codigo));
                    w.writeTextElement(kNsRespuesta, QStringLiteral("DescripcionErrorRegistro"),
                                       l.texto);
                }
                if (!l.duplicado.isEmpty()) {
                    w.writeStartElement(kNsRespuesta, QStringLiteral("RegistroDuplicado"));
                    w.writeTextElement(kNsDatos, QStringLiteral("IdPeticionRegistroDuplicado"),
                                       QStringLiteral("202601150930"));
                    w.writeTextElement(kNsDatos, QStringLiteral("EstadoRegistroDuplicado"),
                                       l.duplicado);
                    w.writeEndElement();
                }
                w.writeEndElement();
            }
            w.writeEndElement();
        };
        // The answer alone, checked against the agency's schema; then in its envelope.
        QByteArray sola;
        QXmlStreamWriter a(&sola);
        a.writeStartDocument();
        escribir(a);
        a.writeEndDocument();
        const QString mala = datos::XmllintCon(sola, esquemas + u"/RespuestaSuministro.xsd"_qs);
        if (!mala.isEmpty())
            Anotar(u"  RESPUESTA-INVALIDA "_qs + mala.simplified());
        QByteArray xml;
        QXmlStreamWriter w(&xml);
        w.setAutoFormatting(true);
        w.writeStartDocument();
        w.writeNamespace(kNsSoap, QStringLiteral("env"));
        w.writeNamespace(kNsRespuesta, QStringLiteral("tikR"));
        w.writeNamespace(kNsDatos, QStringLiteral("tik"));
        w.writeStartElement(kNsSoap, QStringLiteral("Envelope"));
        w.writeStartElement(kNsSoap, QStringLiteral("Body"));
        escribir(w);
        w.writeEndDocument();
        return xml;
    }
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser p;
    const QCommandLineOption certificado(u"certificado"_qs, {}, u"PEM"_qs);
    const QCommandLineOption clave(u"clave"_qs, {}, u"PEM"_qs);
    const QCommandLineOption ca(u"ca"_qs, {}, u"PEM"_qs);
    const QCommandLineOption esquemas(u"esquemas"_qs, {}, u"CARPETA"_qs);
    const QCommandLineOption guion(u"guion"_qs, {}, u"PALABRAS"_qs);
    const QCommandLineOption espera(u"espera"_qs, {}, u"SEGUNDOS"_qs, u"60"_qs);
    const QCommandLineOption retraso(u"retraso"_qs, {}, u"MS"_qs, u"0"_qs);
    const QCommandLineOption diario(u"diario"_qs, {}, u"ARCHIVO"_qs);
    p.addOptions({certificado, clave, ca, esquemas, guion, espera, retraso, diario});
    p.process(app);

    Simulador s;
    s.guion = p.value(guion).split(u',', Qt::SkipEmptyParts);
    s.espera = p.value(espera).toInt();
    s.retraso = p.value(retraso).toInt();
    s.esquemas = p.value(esquemas);
    s.diario.setFileName(p.value(diario));
    if (!s.diario.open(QIODevice::WriteOnly | QIODevice::Append)) {
        std::fprintf(stderr, "no se puede escribir el diario\n");
        return 2;
    }
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    tls.setLocalCertificate(QSslCertificate::fromPath(p.value(certificado)).value(0));
    QFile archivoClave(p.value(clave));
    archivoClave.open(QIODevice::ReadOnly);
    tls.setPrivateKey(QSslKey(&archivoClave, QSsl::Ec));
    tls.setCaCertificates(QSslCertificate::fromPath(p.value(ca)));
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer); // a client without our certificate is refused
    // TLS 1.2, so that a refused client certificate ends the handshake itself. Under TLS 1.3
    // the server refuses it only after the handshake, and the client sees a connection closed
    // without an answer, which it reports as a broken connection.
    tls.setProtocol(QSsl::TlsV1_2);
    tls.setHandshakeMustInterruptOnError(true);
    s.servidor.setSslConfiguration(tls);
    s.Conectar();
    if (!s.servidor.listen(QHostAddress::LocalHost, 0)) {
        std::fprintf(stderr, "no se puede escuchar: %s\n", qPrintable(s.servidor.errorString()));
        return 2;
    }
    std::printf("PUERTO %d\n", int(s.servidor.serverPort()));
    std::fflush(stdout);
    return app.exec();
}
