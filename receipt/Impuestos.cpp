#include "receipt/Impuestos.h"

#include <cmath>
#include <cstdint>
#include <limits>

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
    const double pRe = moneda::ParseDecimal(re, 0.0, 0);
    const std::int32_t pIrpf = moneda::ParseInteger(irpf);
    const moneda::Currency base =
        importes[0] + importes[1] + importes[2] + importes[3] + importes[4];
    Impuestos r;
    r.iva = base * Hundredths(double(pIva)) / 10000;
    r.re = base * Hundredths(pRe) / 10000;
    r.irpf = moneda::Currency(0) - base * pIrpf / 100;
    r.total = base + r.iva + r.re + r.irpf;
    return r;
}

moneda::Currency AlCentimo(moneda::Currency importe) {
    return importe.isValid() ? moneda::ParseAmount(moneda::FormatEuros(importe)) : importe;
}

} // namespace recibo
