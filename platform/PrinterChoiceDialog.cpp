#include "platform/PrinterChoiceDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

PrinterChoiceDialog::PrinterChoiceDialog(QWidget* parent)
    : QDialog(parent), printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setWindowTitle(QStringLiteral("Configurar impresión"));
    setModal(true);

    printers_ = new QComboBox(this);
    printers_->setMinimumContentsLength(30);
    settings_ = new QPushButton(QStringLiteral("Propiedades..."), this);

    auto* row = new QHBoxLayout;
    row->addWidget(printers_, 1);
    row->addWidget(settings_);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Impresora:"), row);

    auto* buttons = new QDialogButtonBox(this);
    accept_ = buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    accept_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);

    const QStringList names = QPrinterInfo::availablePrinterNames();
    printers_->addItems(names);
    const int preferred = names.indexOf(QPrinterInfo::defaultPrinterName());
    if (!names.isEmpty()) {
        printers_->setCurrentIndex(preferred >= 0 ? preferred : 0);
        ChoosePrinter(printers_->currentText());
    }
    const bool any = !names.isEmpty();
    printers_->setEnabled(any);
    settings_->setEnabled(any);
    accept_->setEnabled(any);

    connect(printers_, &QComboBox::currentTextChanged, this, &PrinterChoiceDialog::ChoosePrinter);
    connect(settings_, &QPushButton::clicked, this, &PrinterChoiceDialog::EditSettings);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

PrinterChoiceDialog::~PrinterChoiceDialog() = default;

void PrinterChoiceDialog::ChoosePrinter(const QString& name) {
    // A fresh printer object, so that settings made for the previous choice do not carry over.
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setPrinterName(name);
    // The printable area is what the printer itself can reach, not a margin of our choosing.
    const QPageLayout layout = printer_->pageLayout();
    printer_->setPageMargins(layout.minimumMargins(), layout.units());
}

void PrinterChoiceDialog::EditSettings() {
    QPageSetupDialog setup(printer_.get(), this);
    setup.setWindowTitle(QStringLiteral("Propiedades de %1").arg(printer_->printerName()));
    setup.exec();
}

} // namespace platform
