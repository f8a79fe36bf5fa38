#include "receipt/ReciboLayout.h"

#include "receipt/Recibo.h"
#include "receipt/ReciboTexto.h"

#include <array>
#include <string_view>

namespace recibo {

namespace {

using page::Align;
using page::Rect;
using page::RgbColor;

constexpr page::Color GRIS_MARCO = RgbColor(200, 200, 200);
constexpr page::Color NEGRO = RgbColor(0, 0, 0);
constexpr page::Color BLANCO = RgbColor(255, 255, 255);

constexpr std::array<Rect, 8> CAJAS{{
    {350, 30, 630, 115},    // number
    {630, 30, 1400, 115},   // place
    {1400, 30, 1770, 115},  // amount
    {350, 115, 1050, 200},  // issue date
    {1050, 115, 1770, 200}, // due date
    {350, 200, 1770, 450},  // concepts
    {350, 450, 1770, 535},  // address
    {350, 560, 1230, 780},  // payer
}};

struct Titulo {
    std::string_view texto;
    int x;
    int y;
};
constexpr std::array<Titulo, 6> TITULOS{{
    {"RECIBO NUMERO", 365, 35},
    {"LOCALIDAD DE EXPEDICION", 675, 35},
    {"IMPORTE EUROS", 1445, 35},
    {"FECHA DE EXPEDICION", 395, 120},
    {"VENCIMIENTO", 1095, 120},
    {"DOMICILIO", 395, 455},
}};

constexpr Rect LOGOTIPO{20, 30, 320, 780};
constexpr Rect AREA_LOGOTIPO{0, 0, 300, 750};

} // namespace

page::Font FuenteTitulo() {
    return {CARA, ALTO_TITULO};
}
page::Font FuenteValor() {
    return {CARA, ALTO_VALOR};
}

void DibujarMarco(page::PageSurface& page, page::Color fondo, bool solido) {
    const page::Pen pen{GRIS_MARCO, 1};
    const page::Brush brush{fondo, solido ? page::Fill::Solid : page::Fill::DiagonalCross};
    page.DrawRectangle({0, 0, ANCHO_MARCO, ALTO_MARCO}, pen, brush);
}

void DibujarCajas(page::PageSurface& page) {
    const page::Pen pen{NEGRO, 0};
    const page::Brush brush{BLANCO, page::Fill::Solid};
    for (const Rect& caja : CAJAS) {
        page.DrawRectangle(caja, pen, brush);
    }
}

void DibujarTitulos(page::PageSurface& page) {
    for (const Titulo& titulo : TITULOS) {
        page.DrawPointText(titulo.x, titulo.y, titulo.texto);
    }
}

void DibujarValores(page::PageSurface& page, const CRecibo& r, const moneda::Currency& total) {
    page.DrawBoxText({420, 65, 580, 110}, Align::Right, r.m_Numero);
    page.DrawBoxText({700, 65, 1400, 110}, Align::Center, r.m_Localidad);
    page.DrawBoxText({1400, 65, 1750, 110}, Align::Right, moneda::FormatEuros(total));
    page.DrawBoxText({1100, 150, 1690, 195}, Align::Center, r.m_Vencimiento);
    page.DrawBoxText({350, 150, 1050, 195}, Align::Center, TextoFecha(r.m_Fecha));
}

void DibujarTextosInferiores(page::PageSurface& page, const CRecibo& r) {
    page.DrawBoxText({420, 480, 1720, 520}, Align::Left, r.m_Direccion);
    page.DrawBoxText({420, 590, 1170, 640}, Align::Left, "Pagador:");
    page.DrawBoxText({420, 630, 1170, 680}, Align::Left, r.m_Pagador1);
    page.DrawBoxText({420, 670, 1170, 720}, Align::Left, r.m_Pagador2);
    page.DrawBoxText({1320, 590, 1820, 640}, Align::Left, "Cobrador:");
    page.DrawBoxText({1320, 630, 1820, 680}, Align::Left, r.m_Cobrador1);
    page.DrawBoxText({1320, 670, 1820, 720}, Align::Left, r.m_Cobrador2);
}

void DibujarLogotipo(page::PageSurface& page) {
    std::unique_ptr<page::Picture> imagen;
    if (!CRecibo::CargarLogotipo(page, CRecibo::IDB_LOGOTIPO, imagen)) {
        return;
    }
    page.CopyPicture(*imagen, AREA_LOGOTIPO, LOGOTIPO);
}

} // namespace recibo
