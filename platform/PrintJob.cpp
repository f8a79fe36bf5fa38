#include "platform/PrintJob.h"

#include "platform/BoundedTask.h"
#include "platform/PrintDialog.h"
#include "platform/PrinterQueries.h"
#include "platform/QtPageSurface.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>

#include <cups/cups.h>

namespace platform {

namespace {

struct Handover {
    bool done = false;
    QString reason; // empty when the server took the job
};

// Runs on a worker: a painter on a printer may live outside the user-interface thread.
// Qt hands the spooled page to the server inside QPainter::end() on this same thread, so
// the server's last answer on this thread is the answer to this job.
// `draw` may stop the job (false): it is then aborted, and `done` stays false with no reason.
Handover HandOver(const std::shared_ptr<QPrinter>& printer, std::ptrdiff_t count,
                  const std::function<bool(std::ptrdiff_t, PageSurface&)>& draw) {
    QPainter painter;
    if (!painter.begin(printer.get()))
        return {false, QStringLiteral("no se pudo iniciar el trabajo de impresión.")};
    for (std::ptrdiff_t i = 0; i < count; ++i) {
        if (i > 0)
            printer->newPage();
        QtPageSurface surface(painter);
        if (!draw(i, surface)) {
            printer->abort();
            painter.end();
            return {false, {}};
        }
    }
    if (!painter.end() || printer->printerState() == QPrinter::Error)
        return {false, QStringLiteral("no se pudo terminar el trabajo de impresión.")};
    if (cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        const char* text = cupsLastErrorString();
        return {false, text != nullptr && *text != '\0'
                           ? QString::fromUtf8(text)
                           : QStringLiteral("la impresora no aceptó el trabajo.")};
    }
    return {true, {}};
}

// Straight to the printer, one copy of every page, drawn inside the printable area.
void PrepareJob(QPrinter& printer, std::string_view jobName) {
    printer.setDocName(QString::fromUtf8(jobName.data(), qsizetype(jobName.size())));
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setOutputFileName(QString());
    printer.setCopyCount(1);
    printer.setCollateCopies(false);
    printer.setPrintRange(QPrinter::AllPages);
    printer.setFullPage(false);
}

void Report(QWidget* parent, const QString& printer, const QString& reason) {
    QMessageBox box(
        QMessageBox::Warning, QStringLiteral("Talvero"),
        QStringLiteral("No se pudo imprimir el recibo en «%1»: %2").arg(printer, reason),
        QMessageBox::Ok, parent);
    box.exec();
}

} // namespace

PrintOutcome PrintOnePage(std::string_view jobName, std::function<void(PageSurface&)> draw) {
    QWidget* parent = QApplication::activeWindow();
    PrintDialog choice(draw, parent);
    if (choice.exec() != QDialog::Accepted)
        return {};
    if (choice.Chosen() == PrintDialog::Destination::PdfFile)
        return {PrintOutcome::Kind::PdfFile, {}};

    const std::shared_ptr<QPrinter> printer = choice.Printer();
    const QString name = printer->printerName();
    PrepareJob(*printer, jobName);

    // The window keeps painting while the job is handed over, but takes no input: the
    // form must not print again or close under a job that is still on its way.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<Handover> result = WaitBounded<Handover>([printer, draw] {
        return HandOver(printer, 1, [&draw](std::ptrdiff_t, PageSurface& page) {
            draw(page);
            return true;
        });
    });
    QApplication::restoreOverrideCursor();

    if (!result) {
        Report(parent, name, QStringLiteral("el servidor de impresión no responde."));
        return {PrintOutcome::Kind::Failed, name.toStdString()};
    }
    if (!result->done) {
        Report(parent, name, result->reason);
        return {PrintOutcome::Kind::Failed, name.toStdString()};
    }
    return {PrintOutcome::Kind::Printed, name.toStdString()};
}

PagesOutcome PrintPages(const std::string& printer, std::string_view jobName, std::ptrdiff_t count,
                        const std::function<bool(std::ptrdiff_t, PageSurface&)>& draw,
                        std::string& reason) {
    const std::shared_ptr<QPrinter> job = SetUpPrinter(QString::fromStdString(printer));
    if (!job->isValid()) {
        reason = "la impresora no existe o no está disponible.";
        return PagesOutcome::Failed;
    }
    PrepareJob(*job, jobName);
    bool stopped = false;
    const Handover result = HandOver(job, count, [&](std::ptrdiff_t i, PageSurface& page) {
        stopped = !draw(i, page);
        return !stopped;
    });
    if (stopped)
        return PagesOutcome::Cancelled;
    if (!result.done) {
        reason = result.reason.toStdString();
        return PagesOutcome::Failed;
    }
    return PagesOutcome::Printed;
}

} // namespace platform
