#include "receipt/TiposImpositivos.h"

#include <algorithm>

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

std::vector<std::string> DesdeTexto(Impuesto impuesto, std::string_view texto) {
    std::vector<std::string> items;
    bool alguno = false;
    while (true) {
        const auto fin = texto.find(';');
        if (const auto item = Normalizar(impuesto, texto.substr(0, fin))) {
            alguno = true;
            if (std::find(items.begin(), items.end(), *item) == items.end())
                items.push_back(*item);
        }
        if (fin == std::string_view::npos)
            break;
        texto.remove_prefix(fin + 1);
    }
    if (!alguno)
        return Originales(impuesto);
    if (std::find(items.begin(), items.end(), "0") == items.end())
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
