// "&Imprimir": bring the members up to date, print them as one receipt, and show them
// again. The form stays open; nothing is saved or numbered.
#include "form/LlenarRecibo.h"
#include "form/TalveroDlg.h"
#include "receipt/Recibo.h"

void CTalveroDlg::OnImprimir() {
    Recalculate();
    if (!AmountsFitForPrinting() || !ReceiptFontAvailable())
        return; // nothing goes to paper, and the form is left as it was
    CollectAmounts();
    UpdateData(true); // a failed rule has shown its message; print what was read

    CRecibo rec;
    LlenarRecibo(*this, rec);
    Imprimir(rec);

    UpdateData(false);
    RefreshBanner();
}
