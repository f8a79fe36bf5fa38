// The record's rules: colour and fill names, month names.
#include "receipt/Recibo.h"

#include <array>

ColorRef ColorDeNombre(std::string_view nombre) {
    struct Fila {
        std::string_view nombre;
        ColorRef color;
    };
    static constexpr std::array<Fila, 4> colores{{
        {"AZUL", Rgb(200, 255, 255)},
        {"GRIS", Rgb(200, 200, 200)},
        {"MARRÓN", Rgb(248, 236, 152)},
        {"VERDE", Rgb(187, 244, 179)},
    }};
    for (const Fila& fila : colores) {
        if (fila.nombre == nombre) {
            return fila.color;
        }
    }
    return Rgb(200, 255, 255);
}

bool EsRellenoSolido(std::string_view relleno) {
    return relleno == "SOLIDO";
}

// The renderer's own copy of the month table, so that drawing needs nothing from the form;
// it gives what moneda::NumeroAMes gives for every number.
CRecibo::~CRecibo() = default;

std::string CRecibo::NombreMes(std::int32_t numero) {
    static constexpr std::array<std::string_view, 12> meses{
        "ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
        "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE",
    };
    if (numero < 1 || numero > 12) {
        return "ERROR";
    }
    return std::string(meses[static_cast<std::size_t>(numero - 1)]);
}
