// Sends the register's pending invoicing records of one issuer to the tax agency, oldest
// first, in submissions of up to 1000, at the pace the agency's answers set (verifactu::Ritmo),
// and stores what became of each. The register's pending records are the outbox: a run that
// dies half-way loses nothing, and what it had sent comes back from the agency as already
// held (3000), which counts as accepted. A technical failure leaves the records pending,
// marked to go again as sent after an incident, and tries again later (at least hourly);
// the command line stops at it instead. Driven by the event loop and a timer: never waits.
#pragma once

#include "register/Registro.h"
#include "verifactu/Ajustes.h"
#include "verifactu/Conexion.h"
#include "verifactu/Ritmo.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <memory>
#include <vector>

namespace envio {

struct Configuracion {
    verifactu::Ajustes ajustes;  // the issuer, the certificate, the service
    QString clave;               // the certificate's password
    int plazoMs = 60'000;        // see verifactu::DatosConexion
    bool pararTrasFallo = false; // the command line's: a failure ends the run
};

// What one submission came to.
struct Informe {
    int aceptados = 0;  // duplicates included
    int conErrores = 0; // accepted, with errors to correct
    int sinRespuesta = 0;
    std::vector<registro::RegistroFacturacion> rechazados; // with the agency's code and text
    // The submission failed whole: why, in Spanish. Empty when it was answered.
    QString problema;
    bool tecnico = false;     // that failure was one of the means: the records go again
    bool certificado = false; // the certificate could not be read with that password
};

class Enviador : public QObject {
    Q_OBJECT

public:
    Enviador(registro::Registro& registro, Configuracion configuracion, QObject* parent = nullptr);
    ~Enviador() override;

    // Sends what is pending as soon as the pace allows; harmless when already on it.
    void Enviar();
    // A new password for the certificate (the user typed it again).
    void PonerClave(const QString& clave);
    bool Enviando() const;

Q_SIGNALS:
    // After each submission, once its outcome is stored.
    void Enviado(const envio::Informe& informe);
    // Nothing is left to send (or, with pararTrasFallo, a submission failed).
    void Parado();

private:
    void Siguiente();
    void Terminado(const verifactu::ResultadoEnvio& resultado);
    void Crear();
    void Fallar(Informe informe);

    registro::Registro& registro_;
    Configuracion c_;
    verifactu::Ritmo ritmo_;
    QTimer temporizador_;
    QElapsedTimer reloj_;
    std::unique_ptr<verifactu::Conexion> conexion_;
    std::vector<registro::RegistroFacturacion> lote_; // what is on its way
    bool recrear_ = false; // a new password: a new connection for the next submission
};

} // namespace envio

Q_DECLARE_METATYPE(envio::Informe)
