// The taxes and total of a receipt from its five amounts and three percentage texts, as the
// form computes them while the user types: IVA and RE are the base times the percentage in
// hundredths, IRPF is subtracted, every quotient truncated toward zero. Rounding to the
// cent happens only when the result is written as text.
#pragma once

#include "amounts/moneda.h"

#include <array>
#include <string_view>

namespace recibo {

struct Impuestos {
    moneda::Currency iva, re, irpf; // irpf is negative (or zero)
    moneda::Currency total;         // base plus the three, unrounded
};

Impuestos CalcularImpuestos(const std::array<moneda::Currency, 5>& importes, std::string_view iva,
                            std::string_view re, std::string_view irpf);

// An amount as its euro text shows it, rounded to the cent half away from zero; a value
// that is not valid stays as it is.
moneda::Currency AlCentimo(moneda::Currency importe);

} // namespace recibo
