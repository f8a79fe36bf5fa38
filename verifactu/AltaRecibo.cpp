#include "verifactu/AltaRecibo.h"

#include "verifactu/IdentificadorFiscal.h"

#include <algorithm>
#include <string_view>

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

// The agency reads every value without its surrounding spaces, and so does the huella:
// the record holds them so from the start.
std::string Recortado(std::string_view s) {
    const std::size_t inicio = s.find_first_not_of(' ');
    if (inicio == std::string_view::npos)
        return {};
    return std::string(s.substr(inicio, s.find_last_not_of(' ') - inicio + 1));
}

DatosAlta Limpios(DatosAlta d) {
    d.factura.emisor = NormalizarIdentificador(d.factura.emisor);
    d.factura.numSerie = Recortado(d.factura.numSerie);
    d.nombreEmisor = Recortado(d.nombreEmisor);
    d.descripcion = Recortado(d.descripcion);
    d.pagador.nombreRazon = Recortado(d.pagador.nombreRazon);
    d.pagador.nif = NormalizarIdentificador(d.pagador.nif);
    return d;
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

ResultadoAlta AltaDeRecibo(const DatosAlta& datos, const ImportesRecibo& importes) {
    const DatosAlta d = Limpios(datos);
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
    a.nombreRazonEmisor = d.nombreEmisor;
    a.tipoFactura = tipo.tipo;
    a.descripcion = d.descripcion;
    if (conNif)
        a.destinatario = d.pagador;
    a.desglose = {desglose.linea};
    a.cuotaTotal = desglose.cuotaTotal;
    a.importeTotal = desglose.importeTotal;
    a.sistema = d.sistema;
    return r;
}

} // namespace verifactu
