#include "platform/PrinterQueries.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

PrinterListing ListPrinters() {
    PrinterListing listing;
    listing.names = QPrinterInfo::availablePrinterNames();
    listing.defaultName = QPrinterInfo::defaultPrinterName();
    const QString name =
        listing.names.contains(listing.defaultName) ? listing.defaultName : listing.names.value(0);
    if (!name.isEmpty()) {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(name);
        QPageLayout layout = printer.pageLayout();
        layout.setUnits(QPageLayout::Millimeter);
        listing.defaultMargins = layout.minimumMargins();
    }
    return listing;
}

std::shared_ptr<QPrinter> SetUpPrinter(const QString& name) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(name);
    const QPageLayout layout = printer->pageLayout();
    printer->setPageMargins(layout.minimumMargins(), layout.units());
    return printer;
}

QPageLayout PdfPageLayout(const std::optional<QMarginsF>& printerMargins) {
    const QMarginsF margins = printerMargins.value_or(QMarginsF(5, 5, 5, 5));
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
}

} // namespace platform
