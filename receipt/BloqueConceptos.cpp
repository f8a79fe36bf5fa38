#include "receipt/BloqueConceptos.h"

#include "receipt/Recibo.h"
#include "receipt/ReciboLayout.h"
#include "receipt/ReciboTexto.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <string>

namespace recibo {

namespace {

using page::Align;

constexpr int ARRIBA_BLOQUE = 235; // 35 below the top edge of the concepts box
constexpr int X_TEXTO = 370;
constexpr int X_IMPORTE = 1400;
constexpr int X_FIN = 1750;

struct Concepto {
    const std::string* texto;
    const moneda::Currency* importe;
};

std::array<Concepto, 5> Conceptos(const CRecibo& r) {
    return {{
        {&r.m_Concepto1, &r.m_Importe1},
        {&r.m_Concepto2, &r.m_Importe2},
        {&r.m_Concepto3, &r.m_Importe3},
        {&r.m_Concepto4, &r.m_Importe4},
        {&r.m_Concepto5, &r.m_Importe5},
    }};
}

bool ConceptoPresente(const Concepto& c) {
    return !EsCeroValido(*c.importe) || !c.texto->empty();
}

struct Impuesto {
    const std::string* etiqueta;
    const moneda::Currency* importe;
};

// One band of the block: line i spans [top + (i - 1) * pitch, top + i * pitch).
class Bandas {
public:
    explicit Bandas(const PasoBloque& paso) : paso_(paso), i_(paso.inicio) {}

    void Siguiente() { ++i_; }
    int Indice() const { return i_; }
    int Arriba() const { return ARRIBA_BLOQUE + (i_ - 1) * paso_.paso; }
    int Abajo() const { return ARRIBA_BLOQUE + i_ * paso_.paso; }

private:
    PasoBloque paso_;
    int i_;
};

void DibujarLinea(page::PageSurface& page, const Bandas& banda, std::string_view texto,
                  const std::string* importe) {
    page.DrawBoxText({X_TEXTO, banda.Arriba(), X_IMPORTE, banda.Abajo()}, Align::Left, texto);
    if (importe != nullptr) {
        page.DrawBoxText({X_IMPORTE, banda.Arriba(), X_FIN, banda.Abajo()}, Align::Right, *importe);
    }
}

} // namespace

int ContarLineas(const CRecibo& r) {
    int lineas = 0;
    for (const Concepto& c : Conceptos(r)) {
        lineas += ConceptoPresente(c) ? 1 : 0;
    }
    for (const moneda::Currency* importe : {&r.m_ImporteIva, &r.m_ImporteRe, &r.m_ImporteIrpf}) {
        lineas += EsCeroValido(*importe) ? 0 : 1;
    }
    return lineas > 1 ? lineas + 1 : lineas;
}

PasoBloque PasoParaLineas(int lineas) {
    // One row for each count from 0 to 9; a count of 2 cannot happen and reads like 1 and 3.
    static constexpr std::array<PasoBloque, 10> tabla{{
        {1, 50, 50}, // 0
        {1, 50, 45}, // 1
        {1, 50, 45}, // 2
        {1, 50, 45}, // 3
        {1, 45, 45}, // 4
        {0, 40, 45}, // 5
        {0, 35, 40}, // 6
        {0, 30, 35}, // 7
        {0, 27, 32}, // 8
        {0, 27, 32}, // 9
    }};
    return tabla[static_cast<std::size_t>(std::clamp(lineas, 0, 9))];
}

void DibujarBloqueConceptos(page::PageSurface& page, CRecibo& r, const moneda::Currency& total) {
    const int lineas = ContarLineas(r);
    const PasoBloque paso = PasoParaLineas(lineas);
    page.SelectFont({CARA, paso.altura});
    Bandas banda(paso);

    for (const Concepto& c : Conceptos(r)) {
        if (!ConceptoPresente(c)) {
            continue;
        }
        banda.Siguiente();
        const std::string importe = moneda::FormatEuros(*c.importe);
        DibujarLinea(page, banda, *c.texto, EsCeroValido(*c.importe) ? nullptr : &importe);
    }

    r.m_Iva = EtiquetaImpuesto(r.m_Iva, "IVA");
    r.m_Re = EtiquetaImpuesto(r.m_Re, "RE");
    r.m_Irpf = EtiquetaImpuesto(r.m_Irpf, "IRPF");
    const std::array<Impuesto, 3> impuestos{{
        {&r.m_Iva, &r.m_ImporteIva},
        {&r.m_Re, &r.m_ImporteRe},
        {&r.m_Irpf, &r.m_ImporteIrpf},
    }};

    if (lineas <= 7) {
        for (const Impuesto& imp : impuestos) {
            if (EsCeroValido(*imp.importe)) {
                continue;
            }
            banda.Siguiente();
            const std::string importe = moneda::FormatEuros(*imp.importe);
            DibujarLinea(page, banda, *imp.etiqueta, &importe);
        }
    } else {
        // Eight or nine lines: the present taxes share one line, in columns 400 apart.
        banda.Siguiente();
        int columna = 0;
        for (const Impuesto& imp : impuestos) {
            if (EsCeroValido(*imp.importe)) {
                continue;
            }
            const int dx = 400 * columna;
            page.DrawBoxText({370 + dx, banda.Arriba(), 520 + dx, banda.Abajo()}, Align::Left,
                             *imp.etiqueta);
            page.DrawBoxText({545 + dx, banda.Arriba(), 745 + dx, banda.Abajo()}, Align::Right,
                             moneda::FormatEuros(*imp.importe));
            ++columna;
        }
    }

    if (banda.Indice() > 2) {
        banda.Siguiente();
        const std::string importe = moneda::FormatEuros(total);
        DibujarLinea(page, banda, "TOTAL", &importe);
    }

    page.SelectFont(FuenteValor());
}

} // namespace recibo
