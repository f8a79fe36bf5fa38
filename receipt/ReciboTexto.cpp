#include "receipt/ReciboTexto.h"

#include "receipt/Recibo.h"

#include <array>
#include <cstdint>
#include <limits>

namespace recibo {

namespace {
// Eight 64-bit amounts always add up exactly in 128 bits, whatever their order.
__extension__ typedef __int128 Suma;
} // namespace

bool EsCeroValido(const moneda::Currency& importe) {
    return importe.isValid() && importe.value() == 0;
}

moneda::Currency TotalRecibo(const CRecibo& r) {
    const std::array<const moneda::Currency*, 8> sumandos{
        &r.m_Importe1, &r.m_Importe2,   &r.m_Importe3,  &r.m_Importe4,
        &r.m_Importe5, &r.m_ImporteIva, &r.m_ImporteRe, &r.m_ImporteIrpf,
    };
    Suma suma = 0;
    for (const moneda::Currency* importe : sumandos) {
        if (!importe->isValid()) {
            return moneda::Currency(0);
        }
        suma += importe->value();
    }
    if (suma > std::numeric_limits<std::int64_t>::max() ||
        suma < std::numeric_limits<std::int64_t>::min()) {
        return moneda::Currency(0);
    }
    return moneda::Currency(static_cast<std::int64_t>(suma));
}

std::string TextoFecha(const moneda::Fecha& fecha) {
    return moneda::FormatThousands(fecha.Dia()) + " DE " + CRecibo::NombreMes(fecha.Mes()) +
           " DEL " + moneda::FormatThousands(fecha.Anio());
}

std::string EtiquetaImpuesto(std::string_view porcentaje, std::string_view impuesto) {
    std::string etiqueta = "+";
    etiqueta += porcentaje;
    etiqueta += "% ";
    etiqueta += impuesto;
    return etiqueta;
}

} // namespace recibo
