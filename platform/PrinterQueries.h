// What the print server is asked, each a plain function so that it can run off the
// user-interface thread (see BoundedTask.h): the printers, and one printer set up for a
// receipt.
#pragma once

#include <QMarginsF>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;

namespace platform {

struct PrinterListing {
    QStringList names;
    QString defaultName;
    // The default printer's minimum margins on A4, which a PDF copies; none without printers.
    std::optional<QMarginsF> defaultMargins; // millimetres
};

PrinterListing ListPrinters();

// A printer object on `name` whose printable area is what the printer itself can reach,
// not a margin of our choosing.
std::shared_ptr<QPrinter> SetUpPrinter(const QString& name);

// The page the default printer (or the first one) gives a receipt; `none` without printers.
QPageLayout DefaultPrinterLayout(const QPageLayout& none);

// What the default printer can reach on A4, in millimetres; none without printers.
std::optional<QMarginsF> DefaultPrinterA4Margins();

} // namespace platform
