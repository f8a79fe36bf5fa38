#include "verifactu/Huella.h"

#include <QtCore/QCryptographicHash>

#include <initializer_list>
#include <utility>

namespace verifactu {

namespace {

std::string_view SinEspacios(std::string_view v) {
    while (!v.empty() && v.front() == ' ')
        v.remove_prefix(1);
    while (!v.empty() && v.back() == ' ')
        v.remove_suffix(1);
    return v;
}

using Par = std::pair<std::string_view, std::string_view>;

std::string Unir(std::initializer_list<Par> pares) {
    std::string texto;
    for (const auto& [nombre, valor] : pares) {
        if (!texto.empty())
            texto += '&';
        texto += nombre;
        texto += '=';
        texto += SinEspacios(valor);
    }
    return texto;
}

// The previous record's huella; nothing for the first record of a chain.
std::string_view HuellaAnterior(const std::optional<RegistroAnterior>& anterior) {
    return anterior ? std::string_view(anterior->huella) : std::string_view();
}

} // namespace

std::string TextoHuella(const RegistroAlta& r) {
    return Unir({
        {"IDEmisorFactura", r.factura.emisor},
        {"NumSerieFactura", r.factura.numSerie},
        {"FechaExpedicionFactura", r.factura.fecha},
        {"TipoFactura", r.tipoFactura},
        {"CuotaTotal", r.cuotaTotal},
        {"ImporteTotal", r.importeTotal},
        {"Huella", HuellaAnterior(r.anterior)},
        {"FechaHoraHusoGenRegistro", r.fechaHoraHuso},
    });
}

std::string TextoHuella(const RegistroAnulacion& r) {
    return Unir({
        {"IDEmisorFacturaAnulada", r.anulada.emisor},
        {"NumSerieFacturaAnulada", r.anulada.numSerie},
        {"FechaExpedicionFacturaAnulada", r.anulada.fecha},
        {"Huella", HuellaAnterior(r.anterior)},
        {"FechaHoraHusoGenRegistro", r.fechaHoraHuso},
    });
}

std::string Sha256Hex(std::string_view texto) {
    const QByteArray hash = QCryptographicHash::hash(
        QByteArrayView(texto.data(), qsizetype(texto.size())), QCryptographicHash::Sha256);
    return hash.toHex().toUpper().toStdString();
}

std::string CalcularHuella(const Registro& registro) {
    return std::visit([](const auto& r) { return Sha256Hex(TextoHuella(r)); }, registro);
}

void Encadenar(Registro& nuevo, const Registro* anterior) {
    std::optional<RegistroAnterior> enlace;
    if (anterior)
        enlace = RegistroAnterior{FacturaDe(*anterior), HuellaDe(*anterior)};
    std::visit([&](auto& r) { r.anterior = enlace; }, nuevo);
    const std::string huella = CalcularHuella(nuevo);
    std::visit([&](auto& r) { r.huella = huella; }, nuevo);
}

} // namespace verifactu
