// The form's side of the register of issued receipts: every receipt that leaves the
// program is recorded, and "Recibos emitidos…" reprints an old one or starts a new one
// from it.
#include "form/CopiarRecibo.h"
#include "form/ReciboPdf.h"
#include "form/TalveroDlg.h"
#include "receipt/Recibo.h"
#include "salida/Emitidos.h"
#include "salida/Impresion.h"
#include "salida/Modulo.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPointer>

const salida::Modulo* CTalveroDlg::Modulo() {
    QString problema;
    const salida::Modulo* modulo = salida::CargarModulo(&problema);
    if (modulo == nullptr)
        MessageBoxExclamation(problema.toStdString());
    return modulo;
}

void CTalveroDlg::Emitido(const CRecibo& comoSeRelleno, const QString& destino) {
    const salida::Modulo* modulo = Modulo();
    if (modulo == nullptr)
        return;
    modulo->emitidos.Anotar(comoSeRelleno, destino, this);
    registro_.Refrescar();
    ArrancarEnvios();
}

void CTalveroDlg::Imprimir(const CRecibo& rec) {
    const salida::Modulo* modulo = Modulo();
    if (modulo == nullptr)
        return;
    // A job that the server takes only after the user was told it did not answer is recorded
    // then, and the user told once; the form may have closed by that time.
    const QPointer<CTalveroDlg> formulario(this);
    const auto impresaTarde = [formulario, modulo, rec](const std::string& impresora) {
        const QString destino = QString::fromStdString(impresora);
        const bool anotado = modulo->emitidos.Anotar(rec, destino, formulario);
        if (!formulario.isNull())
            formulario->registro_.Refrescar();
        const QString numero = QString::fromStdString(rec.m_Numero);
        auto* aviso = new QMessageBox(
            QMessageBox::Information, QStringLiteral("Talvero"),
            anotado ? QStringLiteral("El recibo %1 se imprimió finalmente en «%2» y se ha anotado "
                                     "en el registro.")
                          .arg(numero, destino)
                    : QStringLiteral("El recibo %1 se imprimió finalmente en «%2».")
                          .arg(numero, destino),
            QMessageBox::Ok, formulario);
        aviso->setObjectName(QStringLiteral("impresoFinalmente"));
        aviso->setAttribute(Qt::WA_DeleteOnClose);
        aviso->setModal(false);
        aviso->show();
    };
    const ResultadoImpresion resultado = modulo->impresion.Imprimir(rec, impresaTarde);
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
    if (!registro_.Abierta()) {
        const salida::Modulo* modulo = Modulo();
        if (modulo == nullptr)
            return;
        salida::AccionesRegistro acciones;
        acciones.imprimir = [this](const CRecibo& rec) { Imprimir(rec); };
        acciones.guardarPdf = [this](const CRecibo& rec) { GuardarPdf(rec); };
        acciones.copiarAlFormulario = [this](const CRecibo& rec) { CopiarReciboAlFormulario(rec); };
        registro_ = modulo->emitidos.Abrir(std::move(acciones), this);
        registro_.Widget()->setAttribute(Qt::WA_DeleteOnClose);
    }
    registro_.AlFrente();
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
