#include "platform/PrinterQueries.h"

#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace platform {

PrinterListing ListPrinters() {
    PrinterListing listing;
    listing.names = QPrinterInfo::availablePrinterNames();
    listing.defaultName = QPrinterInfo::defaultPrinterName();
    if (!listing.names.isEmpty())
        listing.defaultMargins = DefaultPrinterA4Margins();
    return listing;
}

std::shared_ptr<QPrinter> SetUpPrinter(const QString& name) {
    auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
    printer->setPrinterName(name);
    const QPageLayout layout = printer->pageLayout();
    printer->setPageMargins(layout.minimumMargins(), layout.units());
    return printer;
}

QPageLayout DefaultPrinterLayout(const QPageLayout& none) {
    const PrinterListing listing = ListPrinters();
    const QString name =
        listing.names.contains(listing.defaultName) ? listing.defaultName : listing.names.value(0);
    return name.isEmpty() ? none : SetUpPrinter(name)->pageLayout();
}

std::optional<QMarginsF> DefaultPrinterA4Margins() {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return std::nullopt;
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    QPageLayout layout = printer.pageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    return layout.minimumMargins();
}

} // namespace platform
