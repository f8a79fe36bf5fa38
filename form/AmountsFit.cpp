// Whether the amounts on the form can go on paper. A result that overflowed the amount
// type shows "Desbordamiento"; printed, it would come out as a huge negative tax and a
// total of 0,00, a receipt that looks right and is not.
#include "form/TalveroDlg.h"
#include "resources/templates/Recursos.h"

using namespace res;

namespace {

constexpr int kResultEdits[] = {
    IDC_IVA_EUROS,   IDC_RE_EUROS,   IDC_IRPF_EUROS,   IDC_TOTAL_EUROS,   IDC_IMPORTE,
    IDC_IVA_PESETAS, IDC_RE_PESETAS, IDC_IRPF_PESETAS, IDC_TOTAL_PESETAS,
};

} // namespace

bool CTalveroDlg::AmountsFitForPrinting() {
    bool fit = m_ImporteIva.isValid() && m_ImporteRe.isValid() && m_ImporteIrpf.isValid() &&
               m_Total.isValid() && m_Importe.isValid();
    for (int id : kResultEdits) {
        if (ItemText(id) == kDesbordamiento)
            fit = false;
    }
    if (!fit) {
        MessageBoxExclamation("Los importes son demasiado grandes para imprimir el recibo. "
                              "Corrija los importes antes de imprimir.");
    }
    return fit;
}
