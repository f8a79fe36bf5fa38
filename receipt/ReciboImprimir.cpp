// The print command's half that belongs to the receipt: one page, drawn by Dibujar, on the
// printer the user picks.
#include "receipt/Recibo.h"

#include "receipt/PageSurface.h"
#include "platform/PrintJob.h"

void CRecibo::Imprimir() {
    platform::PrintOnePage(NOMBRE_TRABAJO, [this](page::PageSurface& page) { Dibujar(page); });
}
