// The background sender behind salida::Envios: one envio::Enviador on the user's register,
// living as long as the module, driven by the event loop. It sends what is pending when the
// form starts it, when the form says receipts were recorded, and, every minute, whatever
// another window or program left pending; the Enviador keeps the agency's pace and retries
// after a failure. The password is asked through the form when first needed and kept for
// the run only; a wrong one is asked again.
#include "envio/Cotejar.h"
#include "envio/Enviador.h"
#include "platform/SettingsStore.h"
#include "register/Registro.h"
#include "salida/Envios.h"
#include "salida/PartesDelModulo.h"

#include <QCoreApplication>
#include <QTimer>

#include <memory>

namespace salida {

namespace {

constexpr std::chrono::minutes kRevision{1};

class EnviosModulo final : public QObject, public Envios {
public:
    void Arrancar(AvisosEnvio avisos) override {
        if (registro_)
            return;
        avisos_ = std::move(avisos);
        auto registro = std::make_unique<registro::Registro>(registro::Registro::RutaPorDefecto());
        if (!registro->Abrir())
            return; // the register's own windows say why
        registro_ = std::move(registro);
        envio::Configuracion c;
        c.ajustes = verifactu::LeerAjustes(platform::SettingsStore());
        conCertificado_ = !c.ajustes.certificado.empty();
        enviador_ = std::make_unique<envio::Enviador>(*registro_, c);
        connect(enviador_.get(), &envio::Enviador::Enviado, this, [this](const envio::Informe& i) {
            // A password that does not open the certificate is asked again when receipts are
            // next recorded, not at every check.
            if (i.certificado) {
                claveLista_ = false;
                rehusada_ = true;
            }
            Avisar();
        });
        connect(enviador_.get(), &envio::Enviador::Parado, this, [this] { Avisar(); });
        connect(&revision_, &QTimer::timeout, this, [this] { Intentar(false); });
        // The connection and the register go with the application, not after it.
        connect(qApp, &QCoreApplication::aboutToQuit, this, [this] {
            revision_.stop();
            enviador_.reset();
            registro_.reset();
        });
        revision_.start(kRevision);
        Intentar(true);
    }

    void Enviar() override { Intentar(true); }

private:
    // `pedido`: receipts were just recorded, so a password declined before is asked again.
    void Intentar(bool pedido) {
        if (!enviador_ || pidiendo_)
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

    // The pending count, and each refusal not yet reported.
    void Avisar() {
        if (avisos_.pendientes)
            avisos_.pendientes(registro_->CuantosPorEnviar());
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
    bool conCertificado_ = false;
    bool claveLista_ = false;
    bool rehusada_ = false;
    bool pidiendo_ = false;
};

} // namespace

Envios& EnviosDelModulo() {
    static EnviosModulo envios;
    return envios;
}

} // namespace salida
