// "Vista previa…": the receipt that "&Imprimir" would print, in a window of its own, drawn
// again as the user types.
#include "form/LlenarRecibo.h"
#include "form/TalveroDlg.h"
#include "platform/DataExchange.h"
#include "receipt/Recibo.h"
#include "resources/templates/Recursos.h"
#include "salida/Emitidos.h"
#include "salida/Modulo.h"
#include "salida/VistaPrevia.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <memory>

using namespace res;

CRecibo CTalveroDlg::ReciboDeLosControles() {
    // The exchange works on the members; they are put back as they were afterwards.
    const ReceiptFields kept = *this;
    auto dx = platform::DataExchange::Quiet(*this);
    DoDataExchange(dx);
    ReceiptFields seen = *this;
    static_cast<ReceiptFields&>(*this) = kept;

    // The amounts as the print command reads them; the result edits are current, since
    // every change recomputes them.
    seen.m_Importe1 = ReadAmountField(IDC_EUROS1);
    seen.m_Importe2 = ReadAmountField(IDC_EUROS2);
    seen.m_Importe3 = ReadAmountField(IDC_EUROS3);
    seen.m_Importe4 = ReadAmountField(IDC_EUROS4);
    seen.m_Importe5 = ReadAmountField(IDC_EUROS5);
    if (seen.m_ImporteIva.isValid())
        seen.m_ImporteIva = ReadAmountField(IDC_IVA_EUROS);
    if (seen.m_ImporteRe.isValid())
        seen.m_ImporteRe = ReadAmountField(IDC_RE_EUROS);
    if (seen.m_ImporteIrpf.isValid())
        seen.m_ImporteIrpf = ReadAmountField(IDC_IRPF_EUROS);

    CRecibo rec;
    LlenarRecibo(seen, rec);
    return rec;
}

void CTalveroDlg::OnVistaPrevia() {
    if (!preview_.Abierta()) {
        const salida::Modulo* modulo = Modulo();
        if (modulo == nullptr)
            return;
        preview_ = modulo->vistaPrevia.Abrir(
            this,
            [this] {
                if (auto* button = qobject_cast<QAbstractButton*>(Item(IDOK)))
                    button->click();
            },
            [this] { OnGuardarPdf(); });
        WatchForPreview();
    }
    UpdatePreview();
    preview_.AlFrente();
}

void CTalveroDlg::WatchForPreview() {
    for (QLineEdit* edit : ClientArea()->findChildren<QLineEdit*>())
        connect(edit, &QLineEdit::textChanged, preview_.Widget(), [this] { SchedulePreview(); });
    for (QComboBox* list : ClientArea()->findChildren<QComboBox*>())
        connect(list, &QComboBox::currentIndexChanged, preview_.Widget(),
                [this] { SchedulePreview(); });
}

void CTalveroDlg::SchedulePreview() {
    // One keystroke rewrites up to eleven edits; the page is drawn once for all of them.
    if (previewPending_)
        return;
    previewPending_ = true;
    QTimer::singleShot(0, this, [this] { UpdatePreview(); });
}

void CTalveroDlg::UpdatePreview() {
    previewPending_ = false;
    if (!preview_.Abierta())
        return;
    CRecibo recibo = ReciboDeLosControles();
    // With VERI*FACTU the receipt shows the QR code it would leave with.
    if (const salida::Modulo* modulo = Modulo())
        modulo->emitidos.PonerQr(recibo);
    auto rec = std::make_shared<const CRecibo>(std::move(recibo));
    preview_.Mostrar([rec](page::PageSurface& page) {
        CRecibo copia = *rec; // drawing rewrites the percentage texts
        copia.Dibujar(page);
    });
}
