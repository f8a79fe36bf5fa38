#include "platform/PrintJob.h"

#include "platform/BoundedTask.h"
#include "platform/PrintDialog.h"
#include "platform/PrintServerAnswer.h"
#include "platform/PrinterQueries.h"
#include "platform/QtPageSurface.h"

#include <QApplication>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>

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
    if (const std::optional<QString> refusal = LastServerRefusal()) {
        return {false, !refusal->isEmpty() ? *refusal
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

// What the server did with a job after the user had been told that it did not answer. Not
// modal: the user may be typing the next receipt by now.
void TellLate(const QString& text, QMessageBox::Icon icon) {
    auto* box = new QMessageBox(icon, QStringLiteral("Talvero"), text, QMessageBox::Ok,
                                QApplication::activeWindow());
    box->setObjectName(QStringLiteral("avisoImpresionTardia"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setModal(false);
    box->show();
}

// Follows a job whose hand-over outlived the wait, to its end.
std::function<void(Handover)> FollowLate(const QString& name, PrintedLate printedLate) {
    return [name, printedLate = std::move(printedLate)](Handover late) {
        if (!late.done)
            TellLate(QStringLiteral("El servidor de impresión ha respondido por fin: el recibo no "
                                    "se ha imprimido en «%1»: %2")
                         .arg(name, late.reason),
                     QMessageBox::Warning);
        else if (printedLate)
            printedLate(name.toStdString());
        else
            TellLate(QStringLiteral("El recibo se imprimió finalmente en «%1».").arg(name),
                     QMessageBox::Information);
    };
}

} // namespace

PrintOutcome PrintOnePage(std::string_view jobName, std::function<void(PageSurface&)> draw,
                          PrintedLate printedLate, const BeforeJob& beforeJob) {
    QWidget* parent = QApplication::activeWindow();
    PrintDialog choice(draw, parent);
    if (choice.exec() != QDialog::Accepted)
        return {};
    if (choice.Chosen() == PrintDialog::Destination::PdfFile)
        return {PrintOutcome::Kind::PdfFile, {}};

    const std::shared_ptr<QPrinter> printer = choice.Printer();
    const QString name = printer->printerName();
    if (beforeJob && !beforeJob(name.toStdString()))
        return {};
    PrepareJob(*printer, jobName);

    // The window keeps painting while the job is handed over, but takes no input: the
    // form must not print again or close under a job that is still on its way.
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const std::optional<Handover> result = WaitBounded<Handover>(
        [printer, draw] {
            return HandOver(printer, 1, [&draw](std::ptrdiff_t, PageSurface& page) {
                draw(page);
                return true;
            });
        },
        kPrintServerLimit, FollowLate(name, std::move(printedLate)));
    QApplication::restoreOverrideCursor();

    if (!result) {
        Report(parent, name,
               QStringLiteral("el servidor de impresión no responde. Si lo acepta más tarde, el "
                              "recibo se imprimirá, se anotará en el registro y se le avisará: no "
                              "lo vuelva a imprimir hasta entonces."));
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
