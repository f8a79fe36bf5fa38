// The form's side of the sending of the invoicing records: with VERI*FACTU in force the
// module's background sender is started once the form is up (and whenever a receipt leaves
// the program, in case the mode was switched on meanwhile); the form shows how many records
// are still to be sent, asks the certificate's password when the sender first needs it and
// reports each refused record once. With the mode off none of this loads anything.
#include "form/TalveroDlg.h"
#include "platform/SettingsStore.h"
#include "platform/Today.h"
#include "salida/Envios.h"
#include "salida/Modulo.h"
#include "verifactu/Ajustes.h"

#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>

std::string CTalveroDlg::HoyIso(const platform::LocalDate& d) {
    return QStringLiteral("%1-%2-%3")
        .arg(d.anio, 4, 10, QLatin1Char('0'))
        .arg(d.mes, 2, 10, QLatin1Char('0'))
        .arg(d.dia, 2, 10, QLatin1Char('0'))
        .toStdString();
}

void CTalveroDlg::ArrancarEnvios() {
    if (!verifactu::LeerAjustes(platform::SettingsStore()).VigenteEl(HoyIso(platform::Today())))
        return;
    const salida::Modulo* modulo = Modulo();
    if (modulo == nullptr)
        return;
    const QPointer<CTalveroDlg> formulario(this);
    salida::AvisosEnvio avisos;
    avisos.pendientes = [formulario](qint64 n, const QString& motivo) {
        if (formulario)
            formulario->MostrarPendientes(n, motivo);
    };
    avisos.pedirClave = [formulario]() -> std::optional<QString> {
        bool ok = false;
        const QString clave = QInputDialog::getText(
            formulario, QStringLiteral("Certificado de VERI*FACTU"),
            QStringLiteral("Para enviar los registros de facturación a la AEAT, escriba la "
                           "contraseña del certificado.\nNo se guarda: se pide una vez cada vez "
                           "que se abre Talvero."),
            QLineEdit::Password, QString(), &ok);
        return ok ? std::optional<QString>(clave) : std::nullopt;
    };
    avisos.rechazo = [formulario](const QString& texto) {
        auto* aviso = new QMessageBox(QMessageBox::Warning, QStringLiteral("Talvero"),
                                      texto + QStringLiteral("\nCorríjalo desde Recibos → "
                                                             "Recibos emitidos…."),
                                      QMessageBox::Ok, formulario);
        aviso->setObjectName(QStringLiteral("rechazoVerifactu"));
        aviso->setAttribute(Qt::WA_DeleteOnClose);
        aviso->setModal(false);
        aviso->show();
    };
    modulo->envios.Arrancar(std::move(avisos)); // once: later calls change nothing
    modulo->envios.Enviar();
}

void CTalveroDlg::MostrarPendientes(qint64 pendientes, const QString& motivo) {
    if (pendientes_ == nullptr) {
        if (pendientes == 0)
            return;
        pendientes_ = new QLabel(this);
        pendientes_->setObjectName(QStringLiteral("pendientesVerifactu"));
        pendientes_->setContentsMargins(8, 0, 8, 0);
        MenuBar()->setCornerWidget(pendientes_, Qt::TopRightCorner);
    }
    pendientes_->setText(
        pendientes == 1
            ? QStringLiteral("1 registro VERI*FACTU pendiente de envío")
            : QStringLiteral("%1 registros VERI*FACTU pendientes de envío").arg(pendientes));
    pendientes_->setToolTip(motivo.isEmpty()
                                ? QStringLiteral("Se envían a la AEAT en segundo plano.")
                                : QStringLiteral("El último envío no ha podido hacerse: %1 Se "
                                                 "volverá a intentar.")
                                      .arg(motivo));
    pendientes_->setVisible(pendientes > 0);
}
