// The form's side of the register of issued receipts: every receipt that leaves the
// program is recorded, and "Recibos emitidos…" reprints an old one or starts a new one
// from it.
#include "form/CopiarRecibo.h"
#include "form/ReciboPdf.h"
#include "form/TalveroDlg.h"
#include "receipt/Recibo.h"
#include "register/AnotarEmitido.h"
#include "register/RecibosEmitidos.h"
#include "register/Registro.h"

#include <QFileInfo>

void CTalveroDlg::Emitido(const CRecibo& comoSeRelleno, const QString& destino) {
    registro::AnotarEmitido(comoSeRelleno, destino, this);
    if (!registro_.isNull())
        registro_->Refrescar();
}

void CTalveroDlg::Imprimir(const CRecibo& rec) {
    const ResultadoImpresion resultado = rec.Imprimir();
    if (resultado.estado == ResultadoImpresion::Estado::Impresa)
        Emitido(rec, QString::fromStdString(resultado.impresora));
    else if (resultado.estado == ResultadoImpresion::Estado::ArchivoPdf)
        GuardarPdf(rec);
}

void CTalveroDlg::GuardarPdf(const CRecibo& rec) {
    const QString path = GuardarReciboPdf(this, rec);
    if (!path.isEmpty())
        Emitido(rec, QFileInfo(path).absoluteFilePath());
}

void CTalveroDlg::OnRecibosEmitidos() {
    if (registro_.isNull()) {
        registro::AccionesRegistro acciones;
        acciones.imprimir = [this](const CRecibo& rec) { Imprimir(rec); };
        acciones.guardarPdf = [this](const CRecibo& rec) { GuardarPdf(rec); };
        acciones.copiarAlFormulario = [this](const CRecibo& rec) { CopiarReciboAlFormulario(rec); };
        registro_ = new registro::RecibosEmitidos(registro::Registro::RutaPorDefecto(),
                                                  std::move(acciones), this);
        registro_->setAttribute(Qt::WA_DeleteOnClose);
    }
    registro_->show();
    registro_->raise();
    registro_->activateWindow();
}

void CTalveroDlg::CopiarReciboAlFormulario(const CRecibo& rec) {
    // As the form opens: members into the controls, then every amount written and the
    // totals recomputed.
    CopiarAlFormulario(rec, *this);
    UpdateData(false);
    ConservarPorcentajesCargados(true);
    ShowAmounts();
    RefreshBanner();
}
