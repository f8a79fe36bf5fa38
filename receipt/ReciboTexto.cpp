#include "receipt/ReciboTexto.h"

#include "receipt/Recibo.h"

#include <array>
#include <cstdint>
#include <limits>
#include <string_view>

namespace recibo {

namespace {
// Eight 64-bit amounts always add up exactly in 128 bits, whatever their order.
__extension__ typedef __int128 Suma;

// The blanks beyond the ASCII ones that a title leaves out, those Qt trims a text of: U+0085
// and the characters Unicode calls space, line or paragraph separators, in UTF-8.
constexpr std::array<std::string_view, 19> kBlancos{
    "\u0085", "\u00A0", "\u1680", "\u2000", "\u2001", "\u2002", "\u2003",
    "\u2004", "\u2005", "\u2006", "\u2007", "\u2008", "\u2009", "\u200A",
    "\u2028", "\u2029", "\u202F", "\u205F", "\u3000"};

// The length in bytes of the blank that `texto` (UTF-8) starts with, or 0.
std::size_t Blanco(std::string_view texto) {
    if (texto.empty())
        return 0;
    if (texto[0] == ' ' || (texto[0] >= '\t' && texto[0] <= '\r'))
        return 1;
    for (const std::string_view blanco : kBlancos)
        if (texto.starts_with(blanco))
            return blanco.size();
    return 0;
}

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

std::string TituloPdf(const CRecibo& recibo) {
    std::string numero;
    bool hueco = false; // blanks after some text: one space, if more text follows
    const std::string_view texto = recibo.m_Numero;
    for (std::size_t i = 0; i < texto.size();) {
        if (const std::size_t blanco = Blanco(texto.substr(i))) {
            hueco = !numero.empty();
            i += blanco;
            continue;
        }
        if (hueco)
            numero += ' ';
        hueco = false;
        numero += texto[i++];
    }
    return numero.empty() ? "Recibo" : "Recibo " + numero;
}

} // namespace recibo
