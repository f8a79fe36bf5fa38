// Printing and the PDF writer, behind salida::Impresion.
#include "platform/PdfExport.h"
#include "receipt/Recibo.h"
#include "salida/ImprimirRecibo.h"
#include "salida/PartesDelModulo.h"

namespace salida {

namespace {

class ImpresionModulo final : public Impresion {
public:
    ResultadoImpresion
    Imprimir(const CRecibo& rec, std::function<void(const std::string& impresora)> impresaTarde,
             std::function<bool(const std::string& impresora)> antesDelTrabajo) override {
        return ImprimirRecibo(rec, std::move(impresaTarde), std::move(antesDelTrabajo));
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
};

} // namespace

Impresion& ImpresionDelModulo() {
    static ImpresionModulo impresion;
    return impresion;
}

} // namespace salida
