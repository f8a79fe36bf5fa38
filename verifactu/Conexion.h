// One submission to the tax agency's service: the SOAP message posted over HTTPS with the
// issuer's certificate (a PKCS#12 file, as the FNMT hands it out) as the TLS client
// certificate, and what came of it. Asynchronous: Enviar returns at once and Terminado comes
// later from the event loop, so a slow or absent service never holds up a window.
#pragma once

#include "verifactu/Respuesta.h"

#include <QtCore/QObject>
#include <QtCore/QPointer>
#include <QtCore/QString>
#include <QtCore/QUrl>
#include <QtNetwork/QNetworkReply>
#include <QtNetwork/QSslConfiguration>

class QNetworkAccessManager;

namespace verifactu {

struct DatosConexion {
    QUrl servicio;
    QString certificado;  // the PKCS#12 file; empty: no client certificate at all
    QString clave;        // its password, never stored
    QString ca;           // a PEM file of authorities trusted besides the system's; or empty
    int plazoMs = 60'000; // a transfer silent for this long is given up
};

// What came of a submission.
enum class Desenlace {
    Respuesta,            // the agency answered record by record (ResultadoEnvio::lectura)
    FalloServidor,        // a SOAP fault of the server's side: the same may go again
    FalloCliente,         // a SOAP fault of the client's side: the message itself was refused
    ServicioNoDisponible, // HTTP 503
    ErrorHttp,            // any other HTTP error without a SOAP fault
    TiempoAgotado,        // no answer within the time allowed
    ConexionRechazada,    // nothing listens at that address
    SinConexion,          // the host is unknown or unreachable, or the connection broke
    Tls,                  // the secure connection failed: a certificate refused on either side
    Certificado,          // the PKCS#12 file cannot be read with that password
    Ilegible,             // an answer that is not one
};

struct ResultadoEnvio {
    Desenlace desenlace = Desenlace::Ilegible;
    LecturaRespuesta lectura; // the answer or the fault, as read
    int http = 0;             // the HTTP status, 0 when none came
    QString detalle;          // what happened, in Spanish, for the user

    // A failure of the means, not of the records: they stay pending and go again later
    // marked as sent after an incident.
    bool Tecnico() const;
};

class Conexion : public QObject {
    Q_OBJECT

public:
    explicit Conexion(DatosConexion datos, QObject* parent = nullptr);
    ~Conexion() override;

    // Posts one SOAP message (see EscribirSobreSoap); one at a time.
    void Enviar(const QByteArray& sobre);
    bool Ocupada() const { return respuesta_ != nullptr || pendiente_; }

Q_SIGNALS:
    void Terminado(const verifactu::ResultadoEnvio& resultado);

private:
    bool Preparar(QString& problema);
    void Leer(QNetworkReply* reply);
    void Acabar(ResultadoEnvio resultado);

    DatosConexion datos_;
    QNetworkAccessManager* red_ = nullptr;
    QSslConfiguration tls_;
    QPointer<QNetworkReply> respuesta_;
    bool preparada_ = false;
    bool pendiente_ = false; // a failure found before posting, told from the event loop
};

} // namespace verifactu

Q_DECLARE_METATYPE(verifactu::ResultadoEnvio)
