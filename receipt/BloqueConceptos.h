// The block of concept lines, tax lines and the "TOTAL" line inside the concepts box.
//
// How many lines there are decides the font, the line pitch and the first line: a short
// block stands lower and larger, a full one fills the box, and with eight or nine lines
// the three taxes share one line.
#pragma once

#include "amounts/moneda.h"
#include "receipt/PageSurface.h"

class CRecibo;

namespace recibo {

struct PasoBloque {
    int inicio; // index of the line before the first one drawn
    int paso;   // line pitch
    int altura; // cell height of the line font
};

// The number of lines to print: present concept lines plus present taxes, and one more
// for "TOTAL" when that makes more than one; so 0, 1 or 3 to 9.
int ContarLineas(const CRecibo& recibo);

// Start, pitch and font height for a line count (counts outside 0..9 take the nearest row).
PasoBloque PasoParaLineas(int lineas);

// Draws the block and writes the three tax labels ("+16% IVA") into the record's
// percentage texts. Leaves the value font selected.
void DibujarBloqueConceptos(page::PageSurface& page, CRecibo& recibo,
                            const moneda::Currency& total);

} // namespace recibo
