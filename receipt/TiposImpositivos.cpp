#include "receipt/TiposImpositivos.h"

#include <algorithm>
#include <unordered_set>

namespace tipos {
namespace {

bool SoloDigitos(std::string_view texto) {
    return !texto.empty() &&
           std::all_of(texto.begin(), texto.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view Recortar(std::string_view texto) {
    const auto blanco = [](char c) { return c == ' ' || c == '\t'; };
    while (!texto.empty() && blanco(texto.front()))
        texto.remove_prefix(1);
    while (!texto.empty() && blanco(texto.back()))
        texto.remove_suffix(1);
    return texto;
}

// A whole number from 0 to 99 without its leading zeros, or nothing.
std::optional<std::string> Entero(std::string_view digitos) {
    if (!SoloDigitos(digitos))
        return std::nullopt;
    while (digitos.size() > 1 && digitos.front() == '0')
        digitos.remove_prefix(1);
    if (digitos.size() > 2)
        return std::nullopt;
    return std::string(digitos);
}

std::string_view Nombre(Impuesto impuesto) {
    switch (impuesto) {
    case Impuesto::Iva:
        return "El IVA";
    case Impuesto::Re:
        return "El RE";
    case Impuesto::Irpf:
        return "El IRPF";
    }
    return "El porcentaje";
}

} // namespace

std::vector<std::string> Originales(Impuesto impuesto) {
    switch (impuesto) {
    case Impuesto::Iva:
        return {"0", "4", "7", "16"};
    case Impuesto::Re:
        return {"0", "0,5", "1", "1,75", "4"};
    case Impuesto::Irpf:
        return {"0", "15", "18"};
    }
    return {"0"};
}

std::vector<std::string> Vigentes(Impuesto impuesto) {
    switch (impuesto) {
    case Impuesto::Iva:
        return {"0", "4", "10", "21"};
    case Impuesto::Re:
        return {"0", "0,5", "1,4", "1,75", "5,2"};
    case Impuesto::Irpf:
        return {"0", "1", "2", "7", "15", "19"};
    }
    return {"0"};
}

std::optional<std::string> Normalizar(Impuesto impuesto, std::string_view item) {
    item = Recortar(item);
    if (impuesto != Impuesto::Re)
        return Entero(item);
    const auto coma = item.find(',');
    auto entero = Entero(item.substr(0, coma));
    if (!entero || coma == std::string_view::npos)
        return entero;
    std::string_view decimales = item.substr(coma + 1);
    if (!SoloDigitos(decimales) || decimales.size() > 2)
        return std::nullopt;
    while (!decimales.empty() && decimales.back() == '0')
        decimales.remove_suffix(1);
    if (!decimales.empty())
        *entero += ',' + std::string(decimales);
    return entero;
}

bool SonOriginales(Impuesto impuesto, const std::vector<std::string>& items) {
    std::vector<std::string> a = items;
    std::vector<std::string> b = Originales(impuesto);
    std::sort(a.begin(), a.end());
    std::sort(b.begin(), b.end());
    return a == b;
}

std::string Motivo(Impuesto impuesto, std::string_view item) {
    if (Normalizar(impuesto, item))
        return {};
    item = Recortar(item);
    const std::string nombre(Nombre(impuesto));
    if (item.empty())
        return "Escriba un porcentaje.";
    if (item.find('.') != std::string_view::npos)
        return "Los decimales se separan con coma (5,2), no con punto.";
    const auto coma = item.find(',');
    if (coma != std::string_view::npos && impuesto != Impuesto::Re)
        return nombre + " es un número entero, sin decimales.";
    const std::string_view entero = item.substr(0, coma);
    if (entero.empty())
        return "Falta la parte entera antes de la coma (0,5).";
    if (!SoloDigitos(entero))
        return "Escriba solo cifras, sin signos ni letras.";
    if (!Entero(entero))
        return nombre + " va de 0 a 99.";
    const std::string_view decimales = item.substr(coma + 1);
    if (!SoloDigitos(decimales))
        return decimales.empty() ? "Faltan los decimales tras la coma."
                                 : "Escriba solo cifras, sin signos ni letras.";
    return nombre + " admite como mucho dos decimales.";
}

std::optional<std::int32_t> Centesimas(Impuesto impuesto, std::string_view item) {
    const auto texto = Normalizar(impuesto, item);
    if (!texto)
        return std::nullopt;
    std::int32_t centesimas = 0;
    int decimales = -1; // digits read after the comma; -1 before it
    for (const char c : *texto) {
        if (c == ',') {
            decimales = 0;
            continue;
        }
        centesimas = centesimas * 10 + (c - '0');
        if (decimales >= 0)
            ++decimales;
    }
    for (int d = std::max(decimales, 0); d < 2; ++d)
        centesimas *= 10;
    return centesimas;
}

std::vector<std::string> DesdeTexto(Impuesto impuesto, std::string_view texto) {
    std::vector<std::string> items;
    // A damaged key can hold hundreds of thousands of items: repeats are found in a set.
    std::unordered_set<std::string> vistos;
    bool alguno = false;
    while (true) {
        const auto fin = texto.find(';');
        if (auto item = Normalizar(impuesto, texto.substr(0, fin))) {
            alguno = true;
            if (vistos.insert(*item).second)
                items.push_back(std::move(*item));
        }
        if (fin == std::string_view::npos)
            break;
        texto.remove_prefix(fin + 1);
    }
    if (!alguno)
        return Originales(impuesto);
    if (!vistos.contains("0"))
        items.insert(items.begin(), "0");
    return items;
}

std::string ATexto(const std::vector<std::string>& items) {
    std::string texto;
    for (const auto& item : items) {
        if (!texto.empty())
            texto += ';';
        texto += item;
    }
    return texto;
}

} // namespace tipos
