#include "receipt/BloqueQr.h"

#include "receipt/ReciboLayout.h"

#include <map>
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
    // The runs of the row above, by their first and last column, and their rectangle.
    std::map<std::pair<int, int>, std::size_t> abiertos;
    for (int fila = 0; fila < qr.lado; ++fila) {
        std::map<std::pair<int, int>, std::size_t> siguen;
        for (int columna = 0; columna < qr.lado;) {
            if (!EsOscuro(qr, fila, columna)) {
                ++columna;
                continue;
            }
            const int desde = columna;
            while (columna < qr.lado && EsOscuro(qr, fila, columna)) {
                ++columna;
            }
            const std::pair<int, int> tramo{desde, columna};
            const int bajo = y + (fila + 1) * lado;
            if (const auto it = abiertos.find(tramo); it != abiertos.end()) {
                hechos[it->second].bottom = bajo;
                siguen.emplace(tramo, it->second);
            } else {
                hechos.push_back({x + desde * lado, y + fila * lado, x + columna * lado, bajo});
                siguen.emplace(tramo, hechos.size() - 1);
            }
        }
        abiertos = std::move(siguen);
    }
    return hechos;
}

void DibujarBloqueQr(page::PageSurface& page, const MarcaQr& qr) {
    const page::Rect codigo = RectanguloQr(qr);
    page.SelectFont(FuenteValor());
    page.SetTextColor(page::RgbColor(0, 0, 0));
    page.DrawBoxText({0, 0, ANCHO_MARCO, ALTO_VALOR}, page::Align::Center, TITULO_QR);

    // Outlined in the fill's own colour: a hairline edge adds less than a device pixel.
    const page::Pen borde{page::RgbColor(0, 0, 0), 0};
    const page::Brush negro{page::RgbColor(0, 0, 0), page::Fill::Solid};
    for (const page::Rect& r :
         RectangulosOscuros(qr, codigo.left, codigo.top, LadoModulo(qr.lado))) {
        page.DrawRectangle(r, borde, negro);
    }

    const int leyenda = codigo.bottom + MARGEN_QR;
    page.DrawBoxText({0, leyenda, ANCHO_MARCO, leyenda + ALTO_VALOR}, page::Align::Center,
                     LEYENDA_QR);
}

} // namespace recibo
