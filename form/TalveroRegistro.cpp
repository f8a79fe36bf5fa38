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

void CTalveroDlg::Imprimir(const CRecibo& rec, bool reimpresion) {
    const salida::Modulo* modulo = Modulo();
    if (modulo == nullptr)
        return;
    // With VERI*FACTU a receipt leaving for the first time is checked before the dialog
    // opens, and carries its QR code; with the mode off nothing changes.
    CRecibo aImprimir = rec;
    if (!reimpresion) {
        const salida::Factura factura = modulo->emitidos.PrepararFactura(aImprimir);
        if (!factura.motivo.isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("Imprimir"), factura.motivo);
            return;
        }
        if (factura.vigente) {
            ImprimirFactura(*modulo, aImprimir, rec);
            return;
        }
    }
    // An invoice reprinted from the register is already there, with its record.
    const bool anotar = aImprimir.m_Qr.Vacia();
    // A job that the server takes only after the user was told it did not answer is recorded
    // then, and the user told once; the form may have closed by that time.
    const QPointer<CTalveroDlg> formulario(this);
    const auto impresaTarde = [formulario, modulo, rec, anotar](const std::string& impresora) {
        const QString destino = QString::fromStdString(impresora);
        const bool anotado = anotar && modulo->emitidos.Anotar(rec, destino, formulario);
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
    const ResultadoImpresion resultado = modulo->impresion.Imprimir(aImprimir, impresaTarde);
    if (resultado.estado == ResultadoImpresion::Estado::Impresa && anotar)
        Emitido(rec, QString::fromStdString(resultado.impresora));
    else if (resultado.estado == ResultadoImpresion::Estado::ArchivoPdf)
        GuardarPdf(rec, reimpresion);
}

void CTalveroDlg::ImprimirFactura(const salida::Modulo& modulo, const CRecibo& conQr,
                                  const CRecibo& comoSeRelleno) {
    // The record comes first: once the printer is chosen, the receipt and its alta are
    // recorded, and only then is the job handed over.
    bool anotado = false;
    const auto antesDelTrabajo = [&](const std::string& impresora) {
        anotado =
            modulo.emitidos.AnotarFactura(comoSeRelleno, QString::fromStdString(impresora), this);
        registro_.Refrescar();
        return anotado;
    };
    const QPointer<CTalveroDlg> formulario(this);
    const QString numero = QString::fromStdString(comoSeRelleno.m_Numero).trimmed();
    const auto impresaTarde = [formulario, numero](const std::string& impresora) {
        auto* aviso = new QMessageBox(QMessageBox::Information, QStringLiteral("Talvero"),
                                      QStringLiteral("El recibo %1 se imprimió finalmente en «%2».")
                                          .arg(numero, QString::fromStdString(impresora)),
                                      QMessageBox::Ok, formulario);
        aviso->setObjectName(QStringLiteral("impresoFinalmente"));
        aviso->setAttribute(Qt::WA_DeleteOnClose);
        aviso->setModal(false);
        aviso->show();
    };
    const ResultadoImpresion resultado =
        modulo.impresion.Imprimir(conQr, impresaTarde, antesDelTrabajo);
    if (anotado)
        ArrancarEnvios(); // its record goes to the agency
    if (resultado.estado == ResultadoImpresion::Estado::ArchivoPdf) {
        GuardarPdf(comoSeRelleno);
    } else if (resultado.estado == ResultadoImpresion::Estado::Fallida && anotado) {
        auto* aviso = new QMessageBox(
            QMessageBox::Warning, QStringLiteral("Imprimir"),
            QStringLiteral("El recibo %1 ya está emitido: se anotó en el registro con su "
                           "registro VERI*FACTU antes de enviarlo a la impresora. Si no llega "
                           "a imprimirse, reimprímalo desde Recibos → Recibos emitidos, nunca "
                           "desde el formulario.")
                .arg(numero),
            QMessageBox::Ok, this);
        aviso->setObjectName(QStringLiteral("facturaSinImprimir"));
        aviso->setAttribute(Qt::WA_DeleteOnClose);
        aviso->setModal(false);
        aviso->show();
    }
}

void CTalveroDlg::GuardarPdf(const CRecibo& rec, bool reimpresion) {
    if (!reimpresion) {
        const salida::Modulo* modulo = Modulo();
        if (modulo == nullptr)
            return;
        CRecibo conQr = rec;
        const salida::Factura factura = modulo->emitidos.PrepararFactura(conQr);
        if (!factura.motivo.isEmpty()) {
            QMessageBox::warning(this, QStringLiteral("Guardar como PDF"), factura.motivo);
            return;
        }
        if (factura.vigente) {
            // Written under a temporary name, recorded with its alta, then put in place.
            if (!GuardarFacturaPdf(this, conQr, rec).isEmpty())
                ArrancarEnvios();
            registro_.Refrescar();
            return;
        }
    }
    const QString path = GuardarReciboPdf(this, rec);
    // An invoice reprinted from the register is already there, with its record.
    if (!path.isEmpty() && rec.m_Qr.Vacia())
        Emitido(rec, QFileInfo(path).absoluteFilePath());
}

void CTalveroDlg::OnRecibosEmitidos() {
    if (!registro_.Abierta()) {
        const salida::Modulo* modulo = Modulo();
        if (modulo == nullptr)
            return;
        salida::AccionesRegistro acciones;
        acciones.imprimir = [this](const CRecibo& rec) { Imprimir(rec, true); };
        acciones.guardarPdf = [this](const CRecibo& rec) { GuardarPdf(rec, true); };
        acciones.copiarAlFormulario = [this](const CRecibo& rec) { CopiarReciboAlFormulario(rec); };
        registro_ = modulo->emitidos.Abrir(std::move(acciones), this);
        registro_.Widget()->setAttribute(Qt::WA_DeleteOnClose);
    }
    registro_.AlFrente();
}

void CTalveroDlg::OnDevolucionesDelBanco() {
    const salida::Modulo* modulo = Modulo();
    if (modulo == nullptr)
        return;
    if (modulo->emitidos.ImportarDevoluciones(this))
        registro_.Refrescar();
}

void CTalveroDlg::OnRegistroCompartido() {
    const salida::Modulo* modulo = Modulo();
    if (modulo == nullptr)
        return;
    // "Recibos emitidos" shows the register it was opened on: opened again, it shows the new one.
    if (modulo->emitidos.RegistroCompartido(this) && registro_.Abierta())
        registro_.Widget()->close();
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
