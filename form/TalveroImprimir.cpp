// "&Imprimir" and "Guardar como PDF…": bring the members up to date, hand them over as one
// receipt, and show them again. The form stays open; nothing is saved or numbered.
#include "form/LlenarRecibo.h"
#include "form/TalveroDlg.h"
#include "receipt/Recibo.h"

void CTalveroDlg::OnImprimir() {
    ConElReciboDelFormulario(&CTalveroDlg::Imprimir);
}

// The same steps with a PDF file as the page, so a saved receipt is the receipt that would
// have been printed.
void CTalveroDlg::OnGuardarPdf() {
    ConElReciboDelFormulario(&CTalveroDlg::GuardarPdf);
}

void CTalveroDlg::ConElReciboDelFormulario(void (CTalveroDlg::*salida)(const CRecibo&, bool)) {
    Recalculate();
    if (!AmountsFitForPrinting() || !ReceiptFontAvailable())
        return; // nothing leaves the program, and the form is left as it was
    CollectAmounts();
    UpdateData(true); // a failed rule has shown its message; go on with what was read

    CRecibo rec;
    LlenarRecibo(*this, rec);
    (this->*salida)(rec, false);

    UpdateData(false);
    RefreshBanner();
}
