// The money part of the form: euro and peseta edits kept in step, taxes and totals
// recomputed on every change, and amounts moved between edits and members.
#include "form/TalveroDlg.h"
#include "receipt/Impuestos.h"
#include "resources/templates/Recursos.h"

#include <string>

using namespace res;
using moneda::Currency;

namespace {

struct AmountPair {
    int euros;
    int pesetas;
};

constexpr AmountPair kPairs[] = {
    {IDC_EUROS1, IDC_PESETAS1}, {IDC_EUROS2, IDC_PESETAS2}, {IDC_EUROS3, IDC_PESETAS3},
    {IDC_EUROS4, IDC_PESETAS4}, {IDC_EUROS5, IDC_PESETAS5},
};

int PesetasEditOf(int eurosId) {
    for (const AmountPair& p : kPairs) {
        if (p.euros == eurosId)
            return p.pesetas;
    }
    return 0;
}

int EurosEditOf(int pesetasId) {
    for (const AmountPair& p : kPairs) {
        if (p.pesetas == pesetasId)
            return p.euros;
    }
    return 0;
}

std::string EurosText(Currency v) {
    return v.isValid() ? moneda::FormatEuros(v) : kDesbordamiento;
}

std::string PesetasText(Currency v) {
    return v.isValid() ? moneda::EurosToPesetasText(v) : kDesbordamiento;
}

} // namespace

Currency CTalveroDlg::ReadAmountField(int id) const {
    return moneda::ParseAmount(ItemText(id));
}

void CTalveroDlg::OnChangeEuros() {
    const int focused = FocusedItemId();
    const int pesetas = PesetasEditOf(focused);
    if (pesetas == 0)
        return; // the change came from the program, or the focus is on the other column
    SetItemText(pesetas, moneda::EurosToPesetasText(ReadAmountField(focused)));
    Recalculate();
}

void CTalveroDlg::OnChangePesetas() {
    const int focused = FocusedItemId();
    const int euros = EurosEditOf(focused);
    if (euros == 0)
        return;
    const std::string eurosText = moneda::PesetasToEurosText(ReadAmountField(focused));
    SetItemText(euros, moneda::FormatPlainEuros(moneda::ParseAmount(eurosText)));
    Recalculate();
}

void CTalveroDlg::Recalculate() {
    m_Importe1 = ReadAmountField(IDC_EUROS1);
    m_Importe2 = ReadAmountField(IDC_EUROS2);
    m_Importe3 = ReadAmountField(IDC_EUROS3);
    m_Importe4 = ReadAmountField(IDC_EUROS4);
    m_Importe5 = ReadAmountField(IDC_EUROS5);
    const recibo::Impuestos calculo = recibo::CalcularImpuestos(
        {m_Importe1, m_Importe2, m_Importe3, m_Importe4, m_Importe5}, ListSelectedText(IDC_IVA),
        ListSelectedText(IDC_RE), ListSelectedText(IDC_IRPF));
    m_ImporteIva = calculo.iva;
    m_ImporteRe = calculo.re;
    m_ImporteIrpf = calculo.irpf;
    m_Total = calculo.total;
    m_Importe = m_Total;

    SetItemText(IDC_IVA_EUROS, EurosText(m_ImporteIva));
    SetItemText(IDC_IRPF_EUROS, EurosText(m_ImporteIrpf));
    SetItemText(IDC_RE_EUROS, EurosText(m_ImporteRe));
    SetItemText(IDC_IMPORTE, EurosText(m_Importe));
    SetItemText(IDC_TOTAL_EUROS, EurosText(m_Total));
    SetItemText(IDC_IVA_PESETAS, PesetasText(m_ImporteIva));
    SetItemText(IDC_RE_PESETAS, PesetasText(m_ImporteRe));
    SetItemText(IDC_IRPF_PESETAS, PesetasText(m_ImporteIrpf));
    SetItemText(IDC_TOTAL_PESETAS, PesetasText(m_Total));
}

void CTalveroDlg::ShowAmounts() {
    // Pesetas first: with the focus on a peseta edit, its change rewrites the paired euro
    // edit in plain euros ("0" instead of "0,00"); written after it, the euro text stands as
    // written whichever edit has the focus. That change also recalculates, which reads the
    // members back from the edits, so the amounts to show are copied first.
    const Currency amounts[] = {m_Importe1, m_Importe2, m_Importe3, m_Importe4, m_Importe5};
    for (int i = 0; i < 5; ++i)
        SetItemText(kPairs[i].pesetas, moneda::EurosToPesetasText(amounts[i]));
    for (int i = 0; i < 5; ++i)
        SetItemText(kPairs[i].euros, moneda::FormatEuros(amounts[i]));
    Recalculate();
}

void CTalveroDlg::CollectAmounts() {
    Recalculate();
    m_Importe1 = ReadAmountField(IDC_EUROS1);
    m_Importe2 = ReadAmountField(IDC_EUROS2);
    m_Importe3 = ReadAmountField(IDC_EUROS3);
    m_Importe4 = ReadAmountField(IDC_EUROS4);
    m_Importe5 = ReadAmountField(IDC_EUROS5);
    // The tax amounts as shown, rounded to the cent. A tax that overflowed keeps its
    // invalid value rather than reading its "Desbordamiento" back as a zero, so that the
    // receipt does not print a total that leaves it out.
    if (m_ImporteIva.isValid())
        m_ImporteIva = ReadAmountField(IDC_IVA_EUROS);
    if (m_ImporteRe.isValid())
        m_ImporteRe = ReadAmountField(IDC_RE_EUROS);
    if (m_ImporteIrpf.isValid())
        m_ImporteIrpf = ReadAmountField(IDC_IRPF_EUROS);
}

void CTalveroDlg::OnChangePercentage() {
    Recalculate();
}

void CTalveroDlg::OnKillFocusAmount() {}
