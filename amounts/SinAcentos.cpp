#include "amounts/SinAcentos.h"

#include "amounts/TablaSinAcentos.h"

#include <algorithm>
#include <iterator>

namespace moneda {

namespace {

using sin_acentos::Descompuesta;
using sin_acentos::kDescompuestas;
using sin_acentos::kMarcas;
using sin_acentos::RangoDeMarcas;

// Hangul syllables are taken apart by arithmetic into their two or three letters (jamo),
// none of them a mark, as Unicode's standard describes.
constexpr char32_t kSilabaBase = 0xAC00, kInicialBase = 0x1100, kVocalBase = 0x1161,
                   kFinalBase = 0x11A7;
constexpr char32_t kVocales = 21, kFinales = 28, kSilabas = 19 * kVocales * kFinales;

void AnadirLetra(std::u16string& destino, char32_t c) {
    if (c <= 0xFFFF) {
        destino += char16_t(c);
        return;
    }
    c -= 0x10000;
    destino += char16_t(0xD800 + (c >> 10));
    destino += char16_t(0xDC00 + (c & 0x3FF));
}

bool MarcaQueSeQuita(char32_t c, Marcas marcas) {
    const auto rango =
        std::upper_bound(std::begin(kMarcas), std::end(kMarcas), c,
                         [](char32_t c, const RangoDeMarcas& r) { return c < r.desde; });
    if (rango == std::begin(kMarcas))
        return false;
    const RangoDeMarcas& r = *std::prev(rango);
    return c <= r.hasta && (r.noEspaciadas || marcas == Marcas::Todas);
}

// The parts of `c`, or empty when it is not taken apart.
std::u16string_view Partes(char32_t c, Descomposicion descomposicion) {
    const auto e = std::lower_bound(std::begin(kDescompuestas), std::end(kDescompuestas), c,
                                    [](const Descompuesta& d, char32_t c) { return d.letra < c; });
    if (e == std::end(kDescompuestas) || e->letra != c)
        return {};
    if (descomposicion == Descomposicion::Compatibilidad && !e->compatible.empty())
        return e->compatible;
    return e->canonica;
}

// The next character of `texto` from `i`, which moves past it; an unpaired surrogate is a
// character of its own.
char32_t SiguienteLetra(std::u16string_view texto, std::size_t& i) {
    const char32_t alta = texto[i++];
    if (alta >= 0xD800 && alta <= 0xDBFF && i < texto.size() && texto[i] >= 0xDC00 &&
        texto[i] <= 0xDFFF)
        return 0x10000 + ((alta - 0xD800) << 10) + (texto[i++] - 0xDC00);
    return alta;
}

} // namespace

std::u16string SinAcentos(std::u16string_view texto, Descomposicion descomposicion, Marcas marcas) {
    std::u16string plano;
    plano.reserve(texto.size());
    for (std::size_t i = 0; i < texto.size();) {
        const char32_t c = SiguienteLetra(texto, i);
        if (c < 0xA0) { // nothing below the no-break space is taken apart or a mark
            plano += char16_t(c);
            continue;
        }
        if (c - kSilabaBase < kSilabas) {
            const char32_t s = c - kSilabaBase;
            AnadirLetra(plano, kInicialBase + s / (kVocales * kFinales));
            AnadirLetra(plano, kVocalBase + s % (kVocales * kFinales) / kFinales);
            if (s % kFinales != 0)
                AnadirLetra(plano, kFinalBase + s % kFinales);
            continue;
        }
        const std::u16string_view partes = Partes(c, descomposicion);
        if (partes.empty()) {
            if (!MarcaQueSeQuita(c, marcas))
                AnadirLetra(plano, c);
            continue;
        }
        for (std::size_t j = 0; j < partes.size();) {
            const char32_t p = SiguienteLetra(partes, j);
            if (!MarcaQueSeQuita(p, marcas))
                AnadirLetra(plano, p);
        }
    }
    return plano;
}

} // namespace moneda
