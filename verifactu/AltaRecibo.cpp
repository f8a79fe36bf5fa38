#include "verifactu/AltaRecibo.h"

#include "verifactu/IdentificadorFiscal.h"

#include <algorithm>

namespace verifactu {

namespace {

// The agency's limits on the texts of an alta.
constexpr std::size_t kMaxNumSerie = 60;
constexpr std::size_t kMaxNombre = 120;
constexpr std::size_t kMaxDescripcion = 500;

// The series and number travel in the QR code's address too: printable ASCII only.
bool AsciiImprimible(const std::string& s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= 32 && c <= 126; });
}

// Characters, not bytes, of a UTF-8 text.
std::size_t Caracteres(const std::string& s) {
    return std::size_t(
        std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string MotivoDatos(const DatosAlta& d) {
    if (const std::string m = MotivoIdentificador(d.factura.emisor); !m.empty())
        return "NIF del emisor: " + m;
    if (d.factura.numSerie.empty() || d.factura.numSerie.size() > kMaxNumSerie ||
        !AsciiImprimible(d.factura.numSerie))
        return "El número del recibo debe tener de 1 a 60 caracteres, sin acentos ni eñes.";
    if (d.factura.fecha.empty())
        return "Falta la fecha de expedición del recibo.";
    if (d.nombreEmisor.empty() || Caracteres(d.nombreEmisor) > kMaxNombre)
        return "El nombre del emisor debe tener de 1 a 120 caracteres.";
    if (d.descripcion.empty() || Caracteres(d.descripcion) > kMaxDescripcion)
        return "La descripción del recibo debe tener de 1 a 500 caracteres.";
    if (!d.pagador.nif.empty()) {
        if (const std::string m = MotivoIdentificador(d.pagador.nif); !m.empty())
            return "NIF del pagador: " + m;
        if (d.pagador.nombreRazon.empty() || Caracteres(d.pagador.nombreRazon) > kMaxNombre)
            return "El nombre del pagador debe tener de 1 a 120 caracteres.";
    }
    return {};
}

} // namespace

ResultadoAlta AltaDeRecibo(const DatosAlta& d, const ImportesRecibo& importes) {
    ResultadoAlta r;
    if (r.motivo = MotivoDatos(d); !r.motivo.empty())
        return r;
    const Desglose desglose = Desglosar(importes, d.ivaCero);
    if (r.motivo = desglose.motivo; !r.motivo.empty())
        return r;
    const bool conNif = !d.pagador.nif.empty();
    const TipoFactura tipo = ElegirTipoFactura(conNif, desglose.importe);
    if (r.motivo = tipo.motivo; !r.motivo.empty())
        return r;
    RegistroAlta& a = r.registro;
    a.factura = d.factura;
    a.factura.emisor = NormalizarIdentificador(d.factura.emisor);
    a.nombreRazonEmisor = d.nombreEmisor;
    a.tipoFactura = tipo.tipo;
    a.descripcion = d.descripcion;
    if (conNif)
        a.destinatario =
            Destinatario{d.pagador.nombreRazon, NormalizarIdentificador(d.pagador.nif)};
    a.desglose = {desglose.linea};
    a.cuotaTotal = desglose.cuotaTotal;
    a.importeTotal = desglose.importeTotal;
    a.sistema = d.sistema;
    return r;
}

} // namespace verifactu
