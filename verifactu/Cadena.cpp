#include "verifactu/Cadena.h"

#include "verifactu/Huella.h"

namespace verifactu {

namespace {

std::string Nombre(const Registro& r) {
    const IdFactura& f = FacturaDe(r);
    return std::string(std::holds_alternative<RegistroAlta>(r) ? "Alta" : "Anulación") + " de " +
           f.numSerie + " (" + f.fecha + ")";
}

} // namespace

ResultadoCadena VerificarCadena(const std::vector<Registro>& cadena) {
    for (std::size_t i = 0; i < cadena.size(); ++i) {
        const Registro& r = cadena[i];
        const auto fallo = [&](std::string motivo) {
            // No position: whoever shows it names the record as it knows it.
            return ResultadoCadena{false, i, Nombre(r) + ": " + std::move(motivo)};
        };
        const std::optional<RegistroAnterior>& anterior = AnteriorDe(r);
        if (i == 0 && anterior)
            return fallo("dice seguir a otro, pero es el primero.");
        if (i > 0) {
            if (!anterior)
                return fallo("dice ser el primero, pero hay otros antes.");
            const Registro& previo = cadena[i - 1];
            if (anterior->huella != HuellaDe(previo) || !(anterior->factura == FacturaDe(previo)))
                return fallo("no sigue al registro anterior: falta uno o se ha cambiado.");
        }
        if (CalcularHuella(r) != HuellaDe(r))
            return fallo("no corresponde a su huella: sus datos se han cambiado.");
    }
    return {};
}

} // namespace verifactu
