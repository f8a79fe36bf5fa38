#include "envio/Cotejar.h"

namespace envio {

namespace {

constexpr int kDuplicado = 3000;

registro::EstadoEnvio EstadoDe(const verifactu::LineaRespuesta& l) {
    using registro::EstadoEnvio;
    switch (l.estado) {
    case verifactu::EstadoRegistro::Correcto:
        return EstadoEnvio::Aceptado;
    case verifactu::EstadoRegistro::AceptadoConErrores:
        return EstadoEnvio::AceptadoConErrores;
    case verifactu::EstadoRegistro::Incorrecto:
        break;
    }
    // Sent before, by a run that did not live to store the answer: it is the one the
    // agency holds.
    if (l.codigo == kDuplicado)
        return l.estadoDuplicado == "AceptadaConErrores" ? EstadoEnvio::AceptadoConErrores
                                                         : EstadoEnvio::Aceptado;
    return EstadoEnvio::Rechazado;
}

} // namespace

std::vector<registro::EstadoDeRegistro>
EstadosDeLaRespuesta(const std::vector<registro::RegistroFacturacion>& lote,
                     const verifactu::Respuesta& respuesta) {
    std::vector<registro::EstadoDeRegistro> estados;
    std::vector<bool> cotejado(lote.size(), false);
    for (const verifactu::LineaRespuesta& l : respuesta.lineas) {
        for (std::size_t i = 0; i < lote.size(); ++i) {
            const verifactu::Registro& r = lote[i].registro;
            const bool anulacion = std::holds_alternative<verifactu::RegistroAnulacion>(r);
            if (cotejado[i] || anulacion != l.anulacion || !(verifactu::FacturaDe(r) == l.factura))
                continue;
            cotejado[i] = true;
            estados.push_back(
                {lote[i].id, EstadoDe(l), l.codigo, QString::fromStdString(l.descripcion)});
            break;
        }
    }
    return estados;
}

QString NombreDelRegistro(const verifactu::Registro& registro) {
    const QString numero = QString::fromStdString(verifactu::FacturaDe(registro).numSerie);
    return std::holds_alternative<verifactu::RegistroAnulacion>(registro)
               ? QStringLiteral("la anulación del recibo %1").arg(numero)
               : QStringLiteral("el recibo %1").arg(numero);
}

} // namespace envio
