// The background sender behind salida::Envios: one envio::Enviador on the user's register,
// driven by the event loop. It sends what is pending when the form starts it, when the form
// says receipts were recorded, and, every minute, whatever a list or another program left
// pending; the Enviador keeps the agency's pace and retries after a failure. The password is
// asked through the form when first needed and kept for the run only; one that does not open
// the certificate is asked again when receipts are next recorded.
#include "envio/Cotejar.h"
#include "envio/Enviador.h"
#include "platform/SettingsStore.h"
#include "register/ConexionEnSegundoPlano.h"
#include "register/Registro.h"
#include "salida/Envios.h"
#include "salida/PartesDelModulo.h"

#include <QCoreApplication>
#include <QPointer>
#include <QTimer>

#include <memory>

namespace salida {

namespace {

constexpr std::chrono::minutes kRevision{1};

// The sender and its register, owned by the application: they go with it, before the
// libraries they use, whatever keeps the module loaded.
class Trabajo : public QObject {
public:
    Trabajo(std::unique_ptr<registro::Registro> registro, AvisosEnvio avisos)
        : QObject(QCoreApplication::instance()), avisos_(std::move(avisos)),
          registro_(std::move(registro)) {
        envio::Configuracion c;
        c.ajustes = verifactu::LeerAjustes(platform::SettingsStore());
        conCertificado_ = !c.ajustes.certificado.empty();
        enviador_ = std::make_unique<envio::Enviador>(*registro_, c);
        connect(enviador_.get(), &envio::Enviador::Enviado, this, [this](const envio::Informe& i) {
            motivo_ = i.problema;
            if (i.certificado) {
                claveLista_ = false;
                rehusada_ = true;
            }
            Avisar();
        });
        connect(enviador_.get(), &envio::Enviador::Parado, this, [this] { Avisar(); });
        connect(&revision_, &QTimer::timeout, this, [this] {
            // The windows wait for the register's server: this turn is skipped, not nested.
            if (!registro::EsperandoServidor())
                Intentar(false);
        });
        revision_.start(kRevision);
    }
    ~Trabajo() override {
        enviador_.reset(); // before the register it writes to
    }

    // `pedido`: receipts were just recorded, so a password declined before is asked again.
    void Intentar(bool pedido) {
        if (pidiendo_)
            return;
        Avisar();
        if (registro_->CuantosPorEnviar() == 0)
            return;
        if (!claveLista_ && conCertificado_) {
            if (rehusada_ && !pedido)
                return;
            pidiendo_ = true;
            const std::optional<QString> clave =
                avisos_.pedirClave ? avisos_.pedirClave() : std::nullopt;
            pidiendo_ = false;
            rehusada_ = !clave.has_value();
            if (rehusada_)
                return;
            enviador_->PonerClave(*clave);
            claveLista_ = true;
        }
        enviador_->Enviar();
    }

private:
    // The pending count, and each refusal not yet reported.
    void Avisar() {
        if (avisos_.pendientes)
            avisos_.pendientes(registro_->CuantosPorEnviar(), motivo_);
        for (const registro::RegistroFacturacion& r : registro_->RechazosSinAvisar()) {
            if (avisos_.rechazo)
                avisos_.rechazo(QStringLiteral("La AEAT ha rechazado %1: %2 (código %3).")
                                    .arg(envio::NombreDelRegistro(r.registro), r.descripcion)
                                    .arg(r.codigo));
            registro_->MarcarAvisado(r.id);
        }
    }

    AvisosEnvio avisos_;
    std::unique_ptr<registro::Registro> registro_;
    std::unique_ptr<envio::Enviador> enviador_;
    QTimer revision_;
    QString motivo_; // why the last submission failed
    bool conCertificado_ = false;
    bool claveLista_ = false;
    bool rehusada_ = false;
    bool pidiendo_ = false;
};

class EnviosModulo final : public Envios {
public:
    void Arrancar(AvisosEnvio avisos) override {
        if (trabajo_ || QCoreApplication::instance() == nullptr)
            return;
        auto registro = std::make_unique<registro::Registro>(registro::Registro::Ubicacion());
        if (!registro->Abrir())
            return; // the register's own windows say why
        trabajo_ = new Trabajo(std::move(registro), std::move(avisos));
    }

    void Enviar() override {
        if (trabajo_)
            trabajo_->Intentar(true);
    }

private:
    QPointer<Trabajo> trabajo_;
};

} // namespace

Envios& EnviosDelModulo() {
    static EnviosModulo envios;
    return envios;
}

} // namespace salida
