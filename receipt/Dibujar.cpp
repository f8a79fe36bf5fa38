// Draws one receipt on a started page: an invoice's QR code at the top, when it has one,
// and the form in the order it is built up.
#include "receipt/Recibo.h"

#include "receipt/BloqueConceptos.h"
#include "receipt/BloqueQr.h"
#include "receipt/PageSurface.h"
#include "receipt/ReciboLayout.h"
#include "receipt/ReciboTexto.h"
#include "receipt/SuperficieDesplazada.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace {

// A device whose printable size is not a positive number of millimetres and pixels (or is
// too large to express in 0.1 mm) cannot be mapped; nothing is drawn on it.
bool TamanoUtil(const page::DeviceSize& t) {
    constexpr int limite = std::numeric_limits<int>::max() / 10;
    return t.widthMm > 0 && t.heightMm > 0 && t.widthPixels > 0 && t.heightPixels > 0 &&
           t.widthMm <= limite && t.heightMm <= limite;
}

// The logical window mapped onto the printable area.
struct Ventana {
    int ancho;
    int alto;
};

// 0.1 mm a unit when `alto` units fit in the printable height; on a shorter area (a QR
// code above the form on small paper) more units, the same on both axes, so that the whole
// page shrinks as one and nothing falls off its foot.
Ventana VentanaParaAlto(const page::DeviceSize& t, int alto) {
    const std::int64_t ancho = std::int64_t(t.widthMm) * 10;
    const std::int64_t disponible = std::int64_t(t.heightMm) * 10;
    if (alto <= disponible) {
        return {int(ancho), int(disponible)};
    }
    const std::int64_t escalado = (ancho * alto + disponible - 1) / disponible;
    return {int(std::min<std::int64_t>(escalado, std::numeric_limits<int>::max())), alto};
}

// The form: frame, boxes, texts, and the logo strip last, over everything.
void DibujarFormulario(page::PageSurface& page, CRecibo& datos, const moneda::Currency& total) {
    const page::Font anterior = page.SelectFont(recibo::FuenteValor());
    page.SelectFont(recibo::FuenteTitulo());

    recibo::DibujarMarco(page, datos.m_ColorFondo, datos.m_Solido != 0);
    recibo::DibujarCajas(page);

    page.SetTextColor(page::RgbColor(0, 0, 0));
    recibo::DibujarTitulos(page);
    page.SelectFont(recibo::FuenteValor());
    recibo::DibujarValores(page, datos, total);
    recibo::DibujarBloqueConceptos(page, datos, total);
    recibo::DibujarTextosInferiores(page, datos);

    page.SelectFont(anterior);

    if (datos.m_Logotipo == 1) {
        recibo::DibujarLogotipo(page);
    }
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
    if (m_Qr.Vacia()) {
        page.SetMapping(tamano.widthMm * 10, tamano.heightMm * 10, tamano.widthPixels,
                        tamano.heightPixels);
        DibujarFormulario(page, *this, total);
        return;
    }

    // An invoice: its QR code first, at the top, and the whole form below it.
    const int abajo = recibo::AltoBloqueQr(m_Qr);
    const Ventana ventana = VentanaParaAlto(tamano, abajo + recibo::ALTO_MARCO);
    page.SetMapping(ventana.ancho, ventana.alto, tamano.widthPixels, tamano.heightPixels);
    const page::Font anterior = page.SelectFont(recibo::FuenteValor());
    recibo::DibujarBloqueQr(page, m_Qr);
    page.SelectFont(anterior);
    recibo::SuperficieDesplazada formulario(page, abajo);
    DibujarFormulario(formulario, *this, total);
}

bool CRecibo::CargarLogotipo(page::PageSurface& page, int recurso,
                             std::unique_ptr<page::Picture>& imagen) {
    imagen = page.LoadPicture(recurso);
    return imagen != nullptr;
}
