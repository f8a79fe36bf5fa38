// The print command's half that belongs to the receipt: one page, drawn by Dibujar, on the
// printer the user picks.
#include "receipt/Recibo.h"

#include "platform/PrintJob.h"
#include "receipt/PageSurface.h"

#include <memory>

ResultadoImpresion
CRecibo::Imprimir(std::function<void(const std::string& impresora)> impresaTarde) const {
    // Drawing rewrites the record's percentage texts, and the preview and the job each draw
    // it, perhaps on another thread after this returns: each drawing gets a fresh copy of
    // a copy that the drawings share.
    const auto original = std::make_shared<const CRecibo>(*this);
    const platform::PrintOutcome outcome = platform::PrintOnePage(
        NOMBRE_TRABAJO,
        [original](page::PageSurface& page) {
            CRecibo copia = *original;
            copia.Dibujar(page);
        },
        std::move(impresaTarde));
    using Kind = platform::PrintOutcome::Kind;
    using Estado = ResultadoImpresion::Estado;
    switch (outcome.kind) {
    case Kind::Printed:
        return {Estado::Impresa, outcome.printer};
    case Kind::PdfFile:
        return {Estado::ArchivoPdf, {}};
    case Kind::Failed:
        return {Estado::Fallida, outcome.printer};
    case Kind::Cancelled:
        break;
    }
    return {};
}
