// Draws one receipt on a started page, in the order the form is built up: frame, boxes,
// texts, and the logo strip last, over everything.
#include "receipt/Recibo.h"

#include "receipt/BloqueConceptos.h"
#include "receipt/PageSurface.h"
#include "receipt/ReciboLayout.h"
#include "receipt/ReciboTexto.h"

#include <limits>

namespace {

// A device whose printable size is not a positive number of millimetres and pixels (or is
// too large to express in 0.1 mm) cannot be mapped; nothing is drawn on it.
bool TamanoUtil(const page::DeviceSize& t) {
    constexpr int limite = std::numeric_limits<int>::max() / 10;
    return t.widthMm > 0 && t.heightMm > 0 && t.widthPixels > 0 && t.heightPixels > 0 &&
           t.widthMm <= limite && t.heightMm <= limite;
}

} // namespace

void CRecibo::Dibujar(page::PageSurface& page) {
    const moneda::Currency total = recibo::TotalRecibo(*this);

    // One logical unit is 0.1 mm, as exact as the device's whole millimetres allow; each
    // axis is scaled on its own and the receipt sits in the top-left corner.
    const page::DeviceSize tamano = page.Size();
    if (!TamanoUtil(tamano)) {
        return;
    }
    page.SetMapping(tamano.widthMm * 10, tamano.heightMm * 10, tamano.widthPixels,
                    tamano.heightPixels);

    const page::Font anterior = page.SelectFont(recibo::FuenteValor());
    page.SelectFont(recibo::FuenteTitulo());

    recibo::DibujarMarco(page, m_ColorFondo, m_Solido != 0);
    recibo::DibujarCajas(page);

    page.SetTextColor(page::RgbColor(0, 0, 0));
    recibo::DibujarTitulos(page);
    page.SelectFont(recibo::FuenteValor());
    recibo::DibujarValores(page, *this, total);
    recibo::DibujarBloqueConceptos(page, *this, total);
    recibo::DibujarTextosInferiores(page, *this);

    page.SelectFont(anterior);

    if (m_Logotipo == 1) {
        recibo::DibujarLogotipo(page);
    }
}

bool CRecibo::CargarLogotipo(page::PageSurface& page, int recurso,
                             std::unique_ptr<page::Picture>& imagen) {
    imagen = page.LoadPicture(recurso);
    return imagen != nullptr;
}
