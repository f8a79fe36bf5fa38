// The tax agency's QR code at the top of an invoice's page, in 0.1 mm units: "QR tributario:"
// above the code, the code centred over the form with a white quiet zone around it, and
// "VERI*FACTU" below, both in the font of the receipt's data. The form follows below the
// block, moved down as one piece.
#pragma once

#include "receipt/MarcaQr.h"
#include "receipt/PageSurface.h"

#include <vector>

namespace recibo {

// The white the reader needs around the code: at least 2 mm, 6 mm recommended.
inline constexpr int MARGEN_QR = 60;
// Between the legend under the code and the top of the form's frame.
inline constexpr int SEPARACION_FORMULARIO = 50;

// The side of one module, chosen so that the code measures between 30 and 40 mm without its
// quiet zone, as near 35 mm as whole tenths of a millimetre allow.
int LadoModulo(int modulos);

// The code's place: its top-left corner and its side, centred over the form's width.
page::Rect RectanguloQr(const MarcaQr& qr);

// How far the form moves down: the whole block, captions and quiet zone included.
int AltoBloqueQr(const MarcaQr& qr);

// The dark modules as few rectangles: runs along each row, stacked where the rows below
// repeat them. Modules are `lado` units a side, from (x, y).
std::vector<page::Rect> RectangulosOscuros(const MarcaQr& qr, int x, int y, int lado);

// Draws the block from the top of the page, in the caption font it selects.
void DibujarBloqueQr(page::PageSurface& page, const MarcaQr& qr);

} // namespace recibo
