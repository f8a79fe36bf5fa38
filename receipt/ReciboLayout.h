// The fixed form of the receipt, in 0.1 mm units from the top-left corner of the printable
// area: the coloured frame, the eight white boxes, the captions and the places of the texts.
#pragma once

#include "amounts/moneda.h"
#include "receipt/PageSurface.h"

class CRecibo;

namespace recibo {

inline constexpr int ANCHO_MARCO = 1939;
inline constexpr int ALTO_MARCO = 859;

inline constexpr char CARA[] = "Times New Roman";
inline constexpr int ALTO_TITULO = 20; // box captions
inline constexpr int ALTO_VALOR = 50;  // values, address, payer and collector

page::Font FuenteTitulo();
page::Font FuenteValor();

// The frame (0, 0)-(1939, 859): a 0.1 mm grey outline around a fill of the record's colour,
// solid or diagonally cross-hatched.
void DibujarMarco(page::PageSurface& page, page::Color fondo, bool solido);

// The eight boxes: one-pixel black outlines around white insides, over the frame fill.
void DibujarCajas(page::PageSurface& page);

// The six box captions, in the caption font the caller has selected.
void DibujarTitulos(page::PageSurface& page);

// Number, place, total, due date and issue date, in the value font.
void DibujarValores(page::PageSurface& page, const CRecibo& recibo, const moneda::Currency& total);

// Address, payer block and collector block, in the value font.
void DibujarTextosInferiores(page::PageSurface& page, const CRecibo& recibo);

// The logo strip (20, 30)-(320, 780), one picture pixel to 0.1 mm. Left out when the
// picture cannot be loaded.
void DibujarLogotipo(page::PageSurface& page);

} // namespace recibo
