#include "verifactu/Conexion.h"

#include <QtCore/QFile>
#include <QtCore/QFileInfo>
#include <QtCore/QTimer>
#include <QtNetwork/QNetworkAccessManager>
#include <QtNetwork/QNetworkReply>
#include <QtNetwork/QNetworkRequest>
#include <QtNetwork/QSslCertificate>
#include <QtNetwork/QSslConfiguration>
#include <QtNetwork/QSslKey>

#include <openssl/provider.h>

#include <utility>

namespace verifactu {

bool ResultadoEnvio::Tecnico() const {
    switch (desenlace) {
    case Desenlace::Respuesta:
    case Desenlace::FalloCliente:
    case Desenlace::Certificado:
        return false;
    default:
        return true;
    }
}

namespace {

// Certificates exported by older browsers and by Windows, as many issuers' certificates
// still are, protect the key with algorithms (RC2, 3DES) that OpenSSL 3 keeps in its
// "legacy" provider, not loaded by default: such a file would read as a wrong password. The
// provider is loaded, once, only for a file that cannot be read without it.
bool ImportarPkcs12(QFile& p12, QSslKey& clave, QSslCertificate& certificado,
                    QList<QSslCertificate>& cadena, const QByteArray& contrasena) {
    if (QSslCertificate::importPkcs12(&p12, &clave, &certificado, &cadena, contrasena))
        return true;
    // Kept for the life of the process, as every certificate read after needs them.
    static OSSL_PROVIDER* const antiguo = OSSL_PROVIDER_load(nullptr, "legacy");
    static OSSL_PROVIDER* const normal = OSSL_PROVIDER_load(nullptr, "default");
    return antiguo != nullptr && normal != nullptr && p12.seek(0) &&
           QSslCertificate::importPkcs12(&p12, &clave, &certificado, &cadena, contrasena);
}

QString Texto(const std::string& s) {
    return QString::fromStdString(s);
}

ResultadoEnvio Fallo(Desenlace d, QString detalle, int http = 0) {
    ResultadoEnvio r;
    r.desenlace = d;
    r.detalle = std::move(detalle);
    r.http = http;
    return r;
}

// What a reply that ended without an HTTP status means.
ResultadoEnvio SinRespuestaHttp(QNetworkReply::NetworkError error, const QString& url,
                                const QString& texto, bool sinCertificado) {
    // A service that asks for a client certificate may close the connection only after the
    // handshake when none came.
    if (sinCertificado && error == QNetworkReply::RemoteHostClosedError)
        error = QNetworkReply::SslHandshakeFailedError;
    switch (error) {
    case QNetworkReply::OperationCanceledError:
    case QNetworkReply::TimeoutError:
        return Fallo(
            Desenlace::TiempoAgotado,
            QStringLiteral("El servicio de la AEAT (%1) no ha respondido a tiempo.").arg(url));
    case QNetworkReply::ConnectionRefusedError:
        return Fallo(Desenlace::ConexionRechazada,
                     QStringLiteral("El servicio de la AEAT (%1) no acepta conexiones.").arg(url));
    case QNetworkReply::SslHandshakeFailedError:
        return Fallo(Desenlace::Tls,
                     QStringLiteral("No se ha podido establecer la conexión segura con %1: el "
                                    "servidor no ha aceptado el certificado o no es de "
                                    "confianza (%2).")
                         .arg(url, texto));
    case QNetworkReply::RemoteHostClosedError:
        return Fallo(Desenlace::SinConexion,
                     QStringLiteral("El servicio de la AEAT (%1) ha cerrado la conexión sin "
                                    "responder; si se repite, compruebe que el certificado es "
                                    "el del emisor y está vigente.")
                         .arg(url));
    default:
        return Fallo(Desenlace::SinConexion,
                     QStringLiteral("No se ha podido enviar a %1: %2.").arg(url, texto));
    }
}

} // namespace

Conexion::Conexion(DatosConexion datos, QObject* parent)
    : QObject(parent), datos_(std::move(datos)), red_(new QNetworkAccessManager(this)) {
    qRegisterMetaType<ResultadoEnvio>();
}

Conexion::~Conexion() {
    if (respuesta_) {
        respuesta_->disconnect(this);
        respuesta_->abort();
    }
}

// The client certificate and the authorities, set once on the manager's TLS configuration.
bool Conexion::Preparar(QString& problema) {
    QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
    if (!datos_.certificado.isEmpty()) {
        QFile p12(datos_.certificado);
        if (!p12.open(QIODevice::ReadOnly)) {
            const QFileInfo archivo(datos_.certificado);
            problema = QStringLiteral("No se puede abrir el certificado %1: %2.")
                           .arg(datos_.certificado,
                                !archivo.exists() ? QStringLiteral("el archivo no existe")
                                : archivo.isDir() ? QStringLiteral("es una carpeta")
                                                  : QStringLiteral("no hay permiso para leerlo"));
            return false;
        }
        QSslKey clave;
        QSslCertificate certificado;
        QList<QSslCertificate> cadena;
        if (!ImportarPkcs12(p12, clave, certificado, cadena, datos_.clave.toUtf8()) ||
            clave.isNull() || certificado.isNull()) {
            problema = QStringLiteral("No se puede leer el certificado %1: la contraseña no es "
                                      "la suya o el archivo no es un certificado PKCS#12 (.p12, "
                                      ".pfx) con su clave privada.")
                           .arg(datos_.certificado);
            return false;
        }
        tls.setLocalCertificate(certificado);
        tls.setLocalCertificateChain(QList<QSslCertificate>{certificado} + cadena);
        tls.setPrivateKey(clave);
    }
    if (!datos_.ca.isEmpty()) {
        const QList<QSslCertificate> ca = QSslCertificate::fromPath(datos_.ca, QSsl::Pem);
        if (ca.isEmpty()) {
            problema = QStringLiteral("El archivo de autoridades de certificación %1 no existe "
                                      "o no contiene ningún certificado PEM.")
                           .arg(datos_.ca);
            return false;
        }
        // Naming authorities ends the loading of the system's on demand: they go in too.
        tls.setCaCertificates(QSslConfiguration::systemCaCertificates() + ca);
    }
    tls_ = tls;
    return true;
}

void Conexion::Enviar(const QByteArray& sobre) {
    if (Ocupada())
        return;
    if (!preparada_) {
        QString problema;
        if (!Preparar(problema)) {
            pendiente_ = true;
            QTimer::singleShot(0, this, [this, problema] {
                pendiente_ = false;
                Acabar(Fallo(Desenlace::Certificado, problema));
            });
            return;
        }
        preparada_ = true;
    }
    QNetworkRequest pedido(datos_.servicio);
    pedido.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("text/xml; charset=utf-8"));
    pedido.setRawHeader("SOAPAction", "\"\"");
    pedido.setTransferTimeout(datos_.plazoMs);
    pedido.setSslConfiguration(tls_);
    respuesta_ = red_->post(pedido, sobre);
    QNetworkReply* reply = respuesta_;
    connect(reply, &QNetworkReply::finished, this, [this, reply] { Leer(reply); });
}

void Conexion::Leer(QNetworkReply* reply) {
    reply->deleteLater();
    respuesta_ = nullptr;
    const QString url = datos_.servicio.toString();
    const QVariant estado = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!estado.isValid()) {
        Acabar(SinRespuestaHttp(reply->error(), url, reply->errorString(),
                                datos_.certificado.isEmpty()));
        return;
    }
    const int http = estado.toInt();
    const QByteArray cuerpo = reply->readAll();
    ResultadoEnvio r;
    r.http = http;
    r.lectura = LeerRespuesta(cuerpo);
    // A SOAP fault comes with HTTP 500; an answer with 200. Anything else is told by its
    // HTTP status.
    if (r.lectura.clase == LecturaRespuesta::Clase::Fallo) {
        const bool servidor = r.lectura.fallo.reenviarIgual;
        r.desenlace = servidor ? Desenlace::FalloServidor : Desenlace::FalloCliente;
        r.detalle = QStringLiteral("La AEAT ha rechazado el envío entero (%1): %2")
                        .arg(Texto(r.lectura.fallo.codigo), Texto(r.lectura.fallo.texto));
    } else if (http == 503) {
        r.desenlace = Desenlace::ServicioNoDisponible;
        r.detalle = QStringLiteral("El servicio de la AEAT no está disponible ahora (HTTP 503).");
    } else if (http < 200 || http >= 300) {
        r.desenlace = Desenlace::ErrorHttp;
        r.detalle = QStringLiteral("El servicio de la AEAT (%1) ha respondido con el error "
                                   "HTTP %2.")
                        .arg(url)
                        .arg(http);
    } else if (r.lectura.clase == LecturaRespuesta::Clase::Respuesta) {
        r.desenlace = Desenlace::Respuesta;
    } else {
        r.desenlace = Desenlace::Ilegible;
        r.detalle = Texto(r.lectura.error);
    }
    Acabar(std::move(r));
}

void Conexion::Acabar(ResultadoEnvio resultado) {
    Q_EMIT Terminado(resultado);
}

} // namespace verifactu
