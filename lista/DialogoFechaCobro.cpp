#include "lista/DialogoFechaCobro.h"

#include "lista/RemesaLista.h"

#include <QDateEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

namespace lista {

std::optional<QDate> PedirFechaCobro(QWidget* padre, const QDate& hoy) {
    QDialog dialogo(padre);
    dialogo.setObjectName(QStringLiteral("fechaCobro"));
    dialogo.setWindowTitle(QStringLiteral("Remesa SEPA"));
    const sepa::Fecha dia = FechaDe(hoy);
    auto* fecha = new QDateEdit(FechaDe(sepa::PrimerDiaValido(dia, dia)), &dialogo);
    fecha->setObjectName(QStringLiteral("fecha"));
    fecha->setCalendarPopup(true);
    fecha->setDisplayFormat(QStringLiteral("dd/MM/yyyy"));
    fecha->setMinimumDate(hoy.addDays(1));
    // A later date is taken for a typing mistake: the calendar offers none.
    fecha->setMaximumDate(FechaDe(sepa::UltimoDiaValido(dia)));
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialogo);
    auto* capas = new QFormLayout(&dialogo);
    capas->addRow(
        new QLabel(QStringLiteral("El banco cobra los recibos con IBAN el día:"), &dialogo));
    capas->addRow(QStringLiteral("Fecha de &cobro:"), fecha);
    capas->addRow(botones);
    QObject::connect(botones, &QDialogButtonBox::rejected, &dialogo, &QDialog::reject);
    QObject::connect(botones, &QDialogButtonBox::accepted, &dialogo, [&] {
        const std::string motivo = sepa::ComprobarFechaCobro(FechaDe(fecha->date()), dia);
        if (motivo.empty()) {
            dialogo.accept();
            return;
        }
        QMessageBox::warning(
            &dialogo, dialogo.windowTitle(),
            QStringLiteral("No se puede cobrar ese día: %1").arg(QString::fromStdString(motivo)));
        fecha->setDate(
            FechaDe(sepa::PrimerDiaValido(FechaDe(fecha->date()), dia))); // the one proposed
    });
    if (dialogo.exec() != QDialog::Accepted)
        return std::nullopt;
    return fecha->date();
}

} // namespace lista
