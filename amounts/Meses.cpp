#include "amounts/moneda.h"

#include <array>

namespace moneda {

namespace {

constexpr std::array<std::string_view, 12> kMeses = {
    "ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
    "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE",
};

} // namespace

std::int32_t MesANumero(std::string_view name)
{
    for (std::size_t i = 0; i < kMeses.size(); ++i) {
        if (name == kMeses[i])
            return static_cast<std::int32_t>(i + 1);
    }
    return 0;
}

std::string NumeroAMes(std::int32_t numero)
{
    if (numero < 1 || numero > 12)
        return "ERROR";
    return std::string(kMeses[static_cast<std::size_t>(numero - 1)]);
}

} // namespace moneda
