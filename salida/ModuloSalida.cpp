// The module behind salida::Salida: printing, the PDF writer, the preview, the register and
// the lists of receipts, with everything they load (Qt PrintSupport, Qt SQL and, through
// Qt's print plugin, the print server's library). The program loads it on first use.
#include "lista/OrdenLista.h"
#include "lista/VentanaLista.h"
#include "platform/PdfExport.h"
#include "platform/PreviewWindow.h"
#include "register/AnotarEmitido.h"
#include "register/LineaDeOrdenes.h"
#include "register/RecibosEmitidos.h"
#include "register/Registro.h"
#include "salida/Salida.h"

namespace {

class ModuloSalida final : public salida::Salida {
public:
    ResultadoImpresion
    Imprimir(const CRecibo& rec,
             std::function<void(const std::string& impresora)> impresaTarde) override {
        return rec.Imprimir(std::move(impresaTarde));
    }

    QString PedirRutaPdf(QWidget* parent, const CRecibo& rec, const QString& carpeta) override {
        return platform::AskPdfPath(parent, platform::ProposedPdfName(rec.m_Numero, rec.m_Fecha),
                                    carpeta);
    }

    QString EscribirPdf(const CRecibo& rec, const QString& ruta, const QString& titulo) override {
        return platform::WritePdfPage(ruta, titulo, [&rec](page::PageSurface& page) {
            CRecibo copia = rec; // drawing rewrites the percentage texts of the record it draws
            copia.Dibujar(page);
        });
    }

    bool AnotarEmitido(const CRecibo& comoSeRelleno, const QString& destino,
                       QWidget* parent) override {
        return registro::AnotarEmitido(comoSeRelleno, destino, parent);
    }

    QWidget* AbrirRegistro(salida::AccionesRegistro acciones, QWidget* parent) override {
        registro::AccionesRegistro botones;
        botones.imprimir = std::move(acciones.imprimir);
        botones.guardarPdf = std::move(acciones.guardarPdf);
        botones.copiarAlFormulario = std::move(acciones.copiarAlFormulario);
        return new registro::RecibosEmitidos(registro::Registro::RutaPorDefecto(),
                                             std::move(botones), parent);
    }

    void RefrescarRegistro(QWidget* ventana) override {
        if (auto* registro = qobject_cast<registro::RecibosEmitidos*>(ventana))
            registro->Refrescar();
    }

    QWidget* AbrirVistaPrevia(QWidget* parent, std::function<void()> imprimir,
                              std::function<void()> guardarPdf) override {
        auto* vista = new platform::PreviewWindow(parent);
        QObject::connect(vista, &platform::PreviewWindow::PrintRequested, vista,
                         std::move(imprimir));
        QObject::connect(vista, &platform::PreviewWindow::SavePdfRequested, vista,
                         std::move(guardarPdf));
        return vista;
    }

    void MostrarEnVistaPrevia(QWidget* ventana,
                              std::function<void(page::PageSurface&)> dibujar) override {
        if (auto* vista = qobject_cast<platform::PreviewWindow*>(ventana))
            vista->SetDrawing(std::move(dibujar));
    }

    QWidget* AbrirLista(QWidget* parent, std::function<CRecibo()> plantilla) override {
        return new lista::VentanaLista(std::move(plantilla), parent);
    }

    std::optional<int> LineaDeOrdenes(int argc, char** argv,
                                      std::function<CRecibo()> plantilla) override {
        return registro::LineaDeOrdenes(
            argc, argv, [&plantilla](const registro::OpcionesLista& opciones) {
                return lista::EmitirDesdeLineaDeOrdenes(opciones, plantilla());
            });
    }
};

} // namespace

extern "C" Q_DECL_EXPORT salida::Salida* talvero_salida() {
    static ModuloSalida modulo;
    return &modulo;
}
