#include "platform/PrintDialog.h"

#include "platform/BoundedTask.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrinter>
#include <QPushButton>
#include <QVBoxLayout>

namespace platform {

namespace {

const QString kSearching = QStringLiteral("Buscando impresoras…");
const QString kNoPrinter = QStringLiteral("No hay ninguna impresora instalada.");
const QString kServerSilent =
    QStringLiteral("El servidor de impresión no responde; puede guardar el recibo como PDF.");

} // namespace

PrintDialog::PrintDialog(DrawPage draw, QWidget* parent) : QDialog(parent), draw_(std::move(draw)) {
    setObjectName(QStringLiteral("imprimirRecibo"));
    setWindowTitle(QStringLiteral("Imprimir recibo"));
    setModal(true);

    destination_ = new QComboBox(this);
    destination_->setObjectName(QStringLiteral("destino"));
    destination_->setMinimumContentsLength(30);
    settings_ = new QPushButton(QStringLiteral("Propiedades..."), this);
    status_ = new QLabel(kSearching, this);
    status_->setObjectName(QStringLiteral("estado"));
    status_->setWordWrap(true);
    preview_ = new PagePreview(this);
    preview_->SetDrawing(draw_);
    preview_->setMinimumSize(260, 340);

    auto* row = new QHBoxLayout;
    row->addWidget(destination_, 1);
    row->addWidget(settings_);
    auto* label = new QLabel(QStringLiteral("&Destino:"), this);
    label->setBuddy(destination_);
    auto* form = new QFormLayout;
    form->addRow(label, row);

    auto* buttons = new QDialogButtonBox(this);
    accept_ = buttons->addButton(QStringLiteral("Aceptar"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancelar"), QDialogButtonBox::RejectRole);
    accept_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(status_);
    layout->addWidget(preview_, 1);
    layout->addWidget(buttons);

    connect(destination_, &QComboBox::currentIndexChanged, this, &PrintDialog::DestinationChanged);
    connect(settings_, &QPushButton::clicked, this, &PrintDialog::EditSettings);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    UpdateButtons();
    BoundedTask<PrinterListing>::Start(
        this, kPrintServerLimit, &ListPrinters, [this](PrinterListing l) { Listed(std::move(l)); },
        [this] { ServerSilent(); });
}

PrintDialog::~PrintDialog() = default;

PrintDialog::Destination PrintDialog::Chosen() const {
    return destination_->currentIndex() == destination_->count() - 1 ? Destination::PdfFile
                                                                     : Destination::Printer;
}

void PrintDialog::Listed(PrinterListing listing) {
    listing_ = std::move(listing);
    searching_ = false;
    const QSignalBlocker quiet(destination_);
    destination_->addItems(listing_.names);
    destination_->addItem(PdfEntry());
    const int preferred = listing_.names.indexOf(listing_.defaultName);
    destination_->setCurrentIndex(listing_.names.isEmpty() ? destination_->count() - 1
                                  : preferred >= 0         ? preferred
                                                           : 0);
    status_->setText(listing_.names.isEmpty() ? kNoPrinter : QString());
    status_->setVisible(listing_.names.isEmpty());
    DestinationChanged();
    destination_->setFocus(Qt::OtherFocusReason);
}

void PrintDialog::ServerSilent() {
    searching_ = false;
    const QSignalBlocker quiet(destination_);
    destination_->clear();
    destination_->addItem(PdfEntry());
    status_->setText(kServerSilent);
    status_->setVisible(true);
    DestinationChanged();
    destination_->setFocus(Qt::OtherFocusReason);
}

void PrintDialog::DestinationChanged() {
    printer_.reset();
    if (Chosen() == Destination::PdfFile) {
        settingUp_ = false;
        ShowPreview();
        UpdateButtons();
        return;
    }
    // Reading a printer's settings asks the server too: in the background, bounded.
    const QString name = destination_->currentText();
    settingUp_ = true;
    UpdateButtons();
    preview_->SetLayout(QPageLayout());
    BoundedTask<std::shared_ptr<QPrinter>>::Start(
        this, kPrintServerLimit, [name] { return SetUpPrinter(name); },
        [this, name](std::shared_ptr<QPrinter> p) { PrinterReady(name, std::move(p)); },
        [this, name] {
            if (destination_->currentText() != name)
                return;
            settingUp_ = false;
            status_->setText(kServerSilent);
            status_->setVisible(true);
            UpdateButtons();
        });
}

void PrintDialog::PrinterReady(const QString& name, std::shared_ptr<QPrinter> printer) {
    if (destination_->currentText() != name || Chosen() != Destination::Printer)
        return; // the user has moved on to another destination
    settingUp_ = false;
    printer_ = std::move(printer);
    ShowPreview();
    UpdateButtons();
}

void PrintDialog::EditSettings() {
    if (!printer_)
        return;
    QPageSetupDialog setup(printer_.get(), this);
    setup.setWindowTitle(QStringLiteral("Propiedades de %1").arg(printer_->printerName()));
    if (setup.exec() == QDialog::Accepted)
        ShowPreview();
}

void PrintDialog::ShowPreview() {
    if (Chosen() == Destination::PdfFile)
        preview_->SetLayout(PdfLayout());
    else if (printer_)
        preview_->SetLayout(printer_->pageLayout());
    else
        preview_->SetLayout(QPageLayout());
}

void PrintDialog::UpdateButtons() {
    const bool pdf = !searching_ && Chosen() == Destination::PdfFile;
    const bool printer = !searching_ && !pdf && printer_ != nullptr;
    destination_->setEnabled(!searching_);
    settings_->setEnabled(printer);
    accept_->setEnabled(pdf || printer);
}

} // namespace platform
