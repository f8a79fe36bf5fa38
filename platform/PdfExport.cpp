#include "platform/PdfExport.h"

#include "platform/BoundedTask.h"
#include "platform/PrinterQueries.h"
#include "platform/QtPageSurface.h"
#include "platform/SaveFailure.h"

#include <QBuffer>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QSaveFile>

namespace platform {

namespace {

constexpr qreal kMarginWithoutPrinterMm = 5;

// Long enough for any receipt number a person types, short enough that the whole name stays
// well under the 255 bytes a file name may have.
constexpr qsizetype kMaxNumberLength = 100;

QString Failure(const QString& path, const QString& reason) {
    return QStringLiteral("No se pudo guardar el recibo en \"%1\": %2.")
        .arg(QDir::toNativeSeparators(path), reason);
}

bool IsForbiddenInFileName(QChar c) {
    return c.unicode() < 0x20 || c.unicode() == 0x7f || QStringView(u"/\\:*?\"<>|").contains(c);
}

} // namespace

QPageLayout PdfPageLayout(const std::optional<QMarginsF>& printerMarginsMm) {
    const QMarginsF margins =
        printerMarginsMm.value_or(QMarginsF(kMarginWithoutPrinterMm, kMarginWithoutPrinterMm,
                                            kMarginWithoutPrinterMm, kMarginWithoutPrinterMm));
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins,
                       QPageLayout::Millimeter);
}

QPageLayout PdfPageLayout() {
    // The print server is asked off the user-interface thread; one that does not answer
    // leaves the PDF with the margins of a machine without printers.
    return PdfPageLayout(
        WaitBounded<std::optional<QMarginsF>>(&DefaultPrinterA4Margins).value_or(std::nullopt));
}

QByteArray RenderPdfPages(const QString& path, const QString& title, qsizetype count,
                          const std::function<bool(qsizetype, page::PageSurface&)>& draw,
                          const QPageLayout& layout, QString& error) {
    // The pages are made in memory, then written with one call whose count is checked and
    // flushed before the rename: the PDF writer ignores what its device accepts, and
    // QSaveFile::commit() does not check its own last flush, so a disk that fills up would
    // otherwise put a cut PDF in place of the old one.
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    if (!RenderPdfPagesTo(buffer, path, title, count, draw, layout, error))
        return {};
    buffer.close();
    return pdf;
}

bool RenderPdfPagesTo(QIODevice& device, const QString& path, const QString& title, qsizetype count,
                      const std::function<bool(qsizetype, page::PageSurface&)>& draw,
                      const QPageLayout& layout, QString& error) {
    QPdfWriter writer(&device);
    writer.setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    writer.setResolution(kPdfResolution);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("Talvero " TALVERO_VERSION));
    writer.setPageLayout(layout);

    // As on a printer: the painter's origin is the corner of the printable area.
    QPainter painter;
    if (!painter.begin(&writer)) {
        error = Failure(path, QStringLiteral("no se pudo empezar la página"));
        return false;
    }
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0) {
            writer.newPage();
        }
        QtPageSurface surface(painter);
        if (!draw(i, surface)) {
            painter.end();
            return false;
        }
    }
    painter.end();
    return true;
}

QString WriteWholeFile(const QString& path, const QByteArray& bytes) {
    // The temporary file replaces `path` only in commit(); until then, and whenever this
    // returns early, it is removed and the old file is untouched.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return Failure(path, OpenFailureReason(path));
    }
    if (file.write(bytes) != bytes.size() || !file.flush() || !file.commit()) {
        file.cancelWriting();
        return Failure(path, CommitFailureReason(file));
    }
    return {};
}

QString WritePdfPage(const QString& path, const QString& title,
                     const std::function<void(page::PageSurface&)>& draw,
                     const QPageLayout& layout) {
    QString error;
    const QByteArray pdf = RenderPdfPages(
        path, title, 1,
        [&draw](qsizetype, page::PageSurface& page) {
            draw(page);
            return true;
        },
        layout, error);
    return error.isEmpty() ? WriteWholeFile(path, pdf) : error;
}

QString ProposedPdfName(const std::string& numero, const moneda::Fecha& fecha) {
    QString number = QString::fromStdString(numero).left(kMaxNumberLength);
    for (QChar& c : number) {
        if (IsForbiddenInFileName(c)) {
            c = u'-';
        }
    }
    number = number.simplified();

    QString name = QStringLiteral("Recibo");
    if (!number.isEmpty()) {
        name += u' ' + number;
    }
    // A date that does not exist, or a year that does not take four digits, says nothing
    // useful about the receipt: the name goes without it.
    if (fecha.EsValida() && fecha.Anio() >= 1 && fecha.Anio() <= 9999) {
        name += u' ' + QString::fromStdString(fecha.TextoIso());
    }
    return name + QStringLiteral(".pdf");
}

QString AskPdfPath(QWidget* parent, const QString& proposedFileName, const QString& folder) {
    const QString title = QStringLiteral("Guardar como PDF");
    QFileDialog dialog(parent, title, folder, QStringLiteral("Documentos PDF (*.pdf)"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The dialog adds the suffix itself before it asks about replacing an existing file.
    dialog.setDefaultSuffix(QStringLiteral("pdf"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("&Guardar"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Cancelar"));
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Guardar en:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nombre:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Tipo:"));
    dialog.selectFile(QDir(folder).filePath(proposedFileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }

    QString path = dialog.selectedFiles().constFirst();
    if (!path.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive)) {
        // A name with another suffix ("recibo.v2") gets ".pdf" here, after the dialog's own
        // question, so a file it would replace is asked about once more.
        path += QStringLiteral(".pdf");
        if (QFileInfo::exists(path) &&
            QMessageBox::question(parent, title,
                                  QStringLiteral("«%1» ya existe.\n¿Desea reemplazarlo?")
                                      .arg(QFileInfo(path).fileName()),
                                  QMessageBox::Yes | QMessageBox::No,
                                  QMessageBox::No) != QMessageBox::Yes) {
            return {};
        }
    }
    return path;
}

} // namespace platform
