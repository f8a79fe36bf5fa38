#include "receipt/BloqueQr.h"

#include "receipt/ReciboLayout.h"

#include <utility>

namespace recibo {

namespace {

constexpr int LADO_DESEADO = 350;
constexpr int LADO_MINIMO = 300;
constexpr int LADO_MAXIMO = 400;

// Above the code; below it the legend of an invoice sent to the agency as it is issued.
constexpr char TITULO_QR[] = "QR tributario:";
constexpr char LEYENDA_QR[] = "VERI*FACTU";

bool EsOscuro(const MarcaQr& qr, int fila, int columna) {
    const std::size_t i = std::size_t(fila) * std::size_t(qr.lado) + std::size_t(columna);
    // A mark filled short reads as light where it has no modules, rather than past its end.
    return i < qr.oscuros.size() && qr.oscuros[i] != 0;
}

} // namespace

int LadoModulo(int modulos) {
    if (modulos <= 0) {
        return 0;
    }
    int lado = (LADO_DESEADO + modulos / 2) / modulos;
    if (lado * modulos > LADO_MAXIMO) {
        --lado;
    }
    if (lado * modulos < LADO_MINIMO) {
        ++lado;
    }
    return lado < 1 ? 1 : lado;
}

page::Rect RectanguloQr(const MarcaQr& qr) {
    const int lado = LadoModulo(qr.lado) * qr.lado;
    const int izquierda = (ANCHO_MARCO - lado) / 2;
    const int arriba = ALTO_VALOR + MARGEN_QR;
    return {izquierda, arriba, izquierda + lado, arriba + lado};
}

int AltoBloqueQr(const MarcaQr& qr) {
    return RectanguloQr(qr).bottom + MARGEN_QR + ALTO_VALOR + SEPARACION_FORMULARIO;
}

std::vector<page::Rect> RectangulosOscuros(const MarcaQr& qr, int x, int y, int lado) {
    std::vector<page::Rect> hechos;
    // A run of the row: its first and one-past-last column, and the rectangle it grows.
    struct Tramo {
        int desde, hasta;
        std::size_t hecho;
    };
    // The runs of the row above, left to right, and those of this row.
    std::vector<Tramo> abiertos, siguen;
    for (int fila = 0; fila < qr.lado; ++fila) {
        siguen.clear();
        std::size_t arriba = 0;
        for (int columna = 0; columna < qr.lado;) {
            if (!EsOscuro(qr, fila, columna)) {
                ++columna;
                continue;
            }
            const int desde = columna;
            while (columna < qr.lado && EsOscuro(qr, fila, columna)) {
                ++columna;
            }
            const int bajo = y + (fila + 1) * lado;
            while (arriba < abiertos.size() && abiertos[arriba].desde < desde) {
                ++arriba;
            }
            if (arriba < abiertos.size() && abiertos[arriba].desde == desde &&
                abiertos[arriba].hasta == columna) {
                hechos[abiertos[arriba].hecho].bottom = bajo;
                siguen.push_back(abiertos[arriba]);
            } else {
                hechos.push_back({x + desde * lado, y + fila * lado, x + columna * lado, bajo});
                siguen.push_back({desde, columna, hechos.size() - 1});
            }
        }
        std::swap(abiertos, siguen);
    }
    return hechos;
}

void DibujarBloqueQr(page::PageSurface& page, const MarcaQr& qr) {
    const page::Rect codigo = RectanguloQr(qr);
    page.SelectFont(FuenteValor());
    page.SetTextColor(page::RgbColor(0, 0, 0));
    page.DrawBoxText({0, 0, ANCHO_MARCO, ALTO_VALOR}, page::Align::Center, TITULO_QR);

    // One shape rather than hundreds of outlined rectangles: a list of a thousand invoices
    // otherwise spends most of its time writing and compressing the code's drawing.
    page.FillRectangles(RectangulosOscuros(qr, codigo.left, codigo.top, LadoModulo(qr.lado)),
                        page::RgbColor(0, 0, 0));

    const int leyenda = codigo.bottom + MARGEN_QR;
    page.DrawBoxText({0, leyenda, ANCHO_MARCO, leyenda + ALTO_VALOR}, page::Align::Center,
                     LEYENDA_QR);
}

} // namespace recibo
