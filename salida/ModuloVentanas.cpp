// The windows the module opens for the form, each handed back with what the form may ask of
// that window bound to it (see salida/Ventana.h).
#include "lista/VentanaLista.h"
#include "platform/PreviewWindow.h"
#include "platform/SettingsStore.h"
#include "receipt/Recibo.h"
#include "register/AnotarEmitido.h"
#include "register/DialogoDevoluciones.h"
#include "register/RecibosEmitidos.h"
#include "register/Registro.h"
#include "register/VentanaRegistroCompartido.h"
#include "salida/Emitidos.h"
#include "salida/Envios.h"
#include "salida/Listas.h"
#include "salida/ModuloFacturas.h"
#include "salida/PartesDelModulo.h"
#include "salida/VistaPrevia.h"
#include "verifactu/Ajustes.h"

namespace salida {

namespace {

class VistaPreviaModulo final : public VistaPrevia {
public:
    VentanaVistaPrevia Abrir(QWidget* parent, std::function<void()> imprimir,
                             std::function<void()> guardarPdf) override {
        auto* vista = new platform::PreviewWindow(parent);
        QObject::connect(vista, &platform::PreviewWindow::PrintRequested, vista,
                         std::move(imprimir));
        QObject::connect(vista, &platform::PreviewWindow::SavePdfRequested, vista,
                         std::move(guardarPdf));
        const QPointer<platform::PreviewWindow> esta(vista);
        return {vista, [esta](VentanaVistaPrevia::Dibujo dibujar) {
                    if (!esta.isNull())
                        esta->SetDrawing(std::move(dibujar));
                }};
    }
};

class EmitidosModulo final : public Emitidos {
public:
    bool Anotar(const CRecibo& comoSeRelleno, const QString& destino, QWidget* parent) override {
        return registro::AnotarEmitido(comoSeRelleno, destino, parent);
    }

    Factura PrepararFactura(CRecibo& rec) override { return PrepararFacturaDelFormulario(rec); }
    void PonerQr(CRecibo& rec) override { PonerQrDelFormulario(rec); }
    bool AnotarFactura(const CRecibo& comoSeRelleno, const QString& destino,
                       QWidget* parent) override {
        return AnotarFacturaDelFormulario(comoSeRelleno, destino, parent);
    }
    QString GuardarFacturaPdf(const CRecibo& conQr, const CRecibo& comoSeRelleno,
                              const QString& ruta, const QString& titulo) override {
        return GuardarFacturaPdfDelFormulario(conQr, comoSeRelleno, ruta, titulo);
    }

    VentanaEmitidos Abrir(AccionesRegistro acciones, QWidget* parent) override {
        registro::AccionesRegistro botones;
        botones.imprimir = std::move(acciones.imprimir);
        botones.guardarPdf = std::move(acciones.guardarPdf);
        botones.copiarAlFormulario = std::move(acciones.copiarAlFormulario);
        botones.qrProduccion = verifactu::LeerAjustes(platform::SettingsStore()).EsProduccion();
        auto* ventana = new registro::RecibosEmitidos(registro::Registro::Ubicacion(),
                                                      std::move(botones), parent);
        const QPointer<registro::RecibosEmitidos> esta(ventana);
        return {ventana, [esta] {
                    if (!esta.isNull())
                        esta->Refrescar();
                }};
    }

    bool ImportarDevoluciones(QWidget* parent) override {
        return registro::ImportarDevolucionesDelBanco(registro::Registro::Ubicacion(), parent);
    }

    bool RegistroCompartido(QWidget* parent) override {
        return registro::MostrarRegistroCompartido(parent);
    }
};

class ListasModulo final : public Listas {
public:
    Ventana Abrir(QWidget* parent, std::function<CRecibo()> plantilla) override {
        auto* ventana = new lista::VentanaLista(std::move(plantilla), parent);
        // Their invoicing records go to the agency at once, not at the sender's next check.
        QObject::connect(ventana, &lista::VentanaLista::Anotada, ventana,
                         [] { EnviosDelModulo().Enviar(); });
        return Ventana(ventana);
    }
};

} // namespace

VistaPrevia& VistaPreviaDelModulo() {
    static VistaPreviaModulo vista;
    return vista;
}

Emitidos& EmitidosDelModulo() {
    static EmitidosModulo emitidos;
    return emitidos;
}

Listas& ListasDelModulo() {
    static ListasModulo listas;
    return listas;
}

} // namespace salida
