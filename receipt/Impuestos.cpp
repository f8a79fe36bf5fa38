#include "receipt/Impuestos.h"

#include "receipt/TiposImpositivos.h"

#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

namespace recibo {

namespace {

// A percentage times 100, cut toward zero. The lists only hold small percentages; a value
// that could not be a 32-bit integer (never produced by them) counts as 0 %.
std::int32_t Hundredths(double percentage) {
    const double scaled = std::trunc(percentage * 100.0);
    if (!std::isfinite(scaled) || scaled < double(std::numeric_limits<std::int32_t>::min()) ||
        scaled > double(std::numeric_limits<std::int32_t>::max()))
        return 0;
    return std::int32_t(scaled);
}

} // namespace

Impuestos CalcularImpuestos(const std::array<moneda::Currency, 5>& importes, std::string_view iva,
                            std::string_view re, std::string_view irpf) {
    const std::int32_t pIva = moneda::ParseInteger(iva);
    // An item of the RE list is read exactly from its digits; anything else as it always was.
    const std::optional<std::int32_t> reExacto = tipos::Centesimas(tipos::Impuesto::Re, re);
    const std::int32_t pRe = reExacto ? *reExacto : Hundredths(moneda::ParseDecimal(re, 0.0, 0));
    const std::int32_t pIrpf = moneda::ParseInteger(irpf);
    const moneda::Currency base =
        importes[0] + importes[1] + importes[2] + importes[3] + importes[4];
    Impuestos r;
    r.iva = base * Hundredths(double(pIva)) / 10000;
    r.re = base * pRe / 10000;
    r.irpf = moneda::Currency(0) - base * pIrpf / 100;
    r.total = base + r.iva + r.re + r.irpf;
    return r;
}

moneda::Currency AlCentimo(moneda::Currency importe) {
    return importe.isValid() ? moneda::ParseAmount(moneda::FormatEuros(importe)) : importe;
}

} // namespace recibo
