// "Guardar como PDF...": the print command with a PDF file as the page. The same steps as
// "&Imprimir" (recompute, read the form with its messages, fill the record, show the form
// again), so a saved receipt is the receipt that would have been printed.
#include "form/LlenarRecibo.h"
#include "form/ReciboPdf.h"
#include "form/TalveroDlg.h"
#include "receipt/Recibo.h"

void CTalveroDlg::OnGuardarPdf() {
    Recalculate();
    if (!AmountsFitForPrinting() || !ReceiptFontAvailable())
        return; // no file gets a receipt that is wrong, and the form is left as it was
    CollectAmounts();
    UpdateData(true); // a failed rule has shown its message; save what was read

    CRecibo rec;
    LlenarRecibo(*this, rec);
    GuardarPdf(rec);

    UpdateData(false);
    RefreshBanner();
}
