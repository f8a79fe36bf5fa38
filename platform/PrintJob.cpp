#include "platform/PrintJob.h"

#include "platform/PrinterChoiceDialog.h"
#include "platform/QtPageSurface.h"

#include <QApplication>
#include <QPainter>
#include <QPrinter>

namespace platform {

void PrintOnePage(std::string_view jobName, const std::function<void(PageSurface&)>& draw) {
    PrinterChoiceDialog choice(QApplication::activeWindow());
    if (choice.exec() != QDialog::Accepted) {
        return;
    }

    QPrinter& printer = choice.Printer();
    printer.setDocName(QString::fromUtf8(jobName.data(), qsizetype(jobName.size())));
    // Straight to the printer, one copy of the one page, drawn inside the printable area.
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setOutputFileName(QString());
    printer.setCopyCount(1);
    printer.setCollateCopies(false);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFullPage(false);

    QPainter painter;
    if (!painter.begin(&printer)) {
        return;
    }
    QtPageSurface surface(painter);
    draw(surface);
    painter.end();
}

} // namespace platform
