#include "salida/ImprimirRecibo.h"

#include "platform/PrintJob.h"
#include "receipt/PageSurface.h"
#include "receipt/Recibo.h"

#include <memory>

namespace salida {

ResultadoImpresion
ImprimirRecibo(const CRecibo& rec, std::function<void(const std::string& impresora)> impresaTarde,
               std::function<bool(const std::string& impresora)> antesDelTrabajo) {
    // Drawing rewrites the record's percentage texts, and the preview and the job each draw
    // it, perhaps on another thread after this returns: each drawing gets a fresh copy of
    // a copy that the drawings share.
    const auto original = std::make_shared<const CRecibo>(rec);
    const platform::PrintOutcome outcome = platform::PrintOnePage(
        CRecibo::NOMBRE_TRABAJO,
        [original](page::PageSurface& page) {
            CRecibo copia = *original;
            copia.Dibujar(page);
        },
        std::move(impresaTarde), antesDelTrabajo);
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

} // namespace salida
