// Saving one page as a PDF file instead of printing it: the page the PDF gets, the writing
// of the file, and the choice of its name.
//
// The PDF is the page a printer would get: the same drawing through QtPageSurface, with
// the receipt at the top-left corner of a printable area whose margins are those of the
// default printer, so that a receipt saved and a receipt printed are the same page. Text
// stays text, with its font embedded, and the file is PDF/A-1b for archiving.
#pragma once

#include "amounts/Fecha.h"

#include <QPageLayout>
#include <QString>

#include <functional>
#include <optional>
#include <string>

class QWidget;

namespace page {
class PageSurface;
}

class QIODevice;

namespace platform {

// A4 portrait with the default printer's minimum margins, or 5 mm on every side when no
// printer is installed. The page every PDF gets, and so the page to preview for one.
QPageLayout PdfPageLayout();
// The same with the default printer's margins on A4 already known (none: no printer).
QPageLayout PdfPageLayout(const std::optional<QMarginsF>& printerMarginsMm);

// Dots per inch of the PDF's device: the fine resolution a printer is opened with, so that
// the page's size figures, and with them the receipt's mapping, match a printer's.
inline constexpr int kPdfResolution = 1200;

// Writes one page drawn by `draw` to the PDF file `path`, on `layout`, with `title` in its
// metadata and "Talvero <version>" as its creator. The file is written to a temporary file in the
// same folder and renamed over `path` only when complete: on failure neither a half-written PDF nor
// a temporary file is left, and a file already at `path` keeps its content. Returns an empty text
// on success, or a Spanish message that names the file and the reason.
QString WritePdfPage(const QString& path, const QString& title,
                     const std::function<void(page::PageSurface&)>& draw,
                     const QPageLayout& layout = PdfPageLayout());

// Draws `count` pages, `draw(i, page)` the i-th, into one PDF in memory, on `layout`, with
// the same metadata. `draw` returns false to stop: the result is then empty, as it is when
// a page cannot be begun (with `error` set, in Spanish, naming `path` for the message).
QByteArray RenderPdfPages(const QString& path, const QString& title, qsizetype count,
                          const std::function<bool(qsizetype, page::PageSurface&)>& draw,
                          const QPageLayout& layout, QString& error);

// The same, written as it is made into `device` (open for writing), which the caller checks
// for write errors: a list's PDF of thousands of pages never has to be held, and grown, in
// memory. False when `draw` stopped or a page could not be begun (with `error` set).
bool RenderPdfPagesTo(QIODevice& device, const QString& path, const QString& title, qsizetype count,
                      const std::function<bool(qsizetype, page::PageSurface&)>& draw,
                      const QPageLayout& layout, QString& error);

// Writes `bytes` to `path` complete or not at all, through a temporary file in the same
// folder renamed over `path`. Empty on success, else the Spanish message.
QString WriteWholeFile(const QString& path, const QByteArray& bytes);

// The file name proposed for a receipt: "Recibo <número> <aaaa-mm-dd>.pdf", leaving out a
// number that is empty and a date that is not valid. Characters that a file name cannot
// hold on some desktop ("/", "\", ":", "*", "?", quotes, "<", ">", "|", control
// characters) become "-".
QString ProposedPdfName(const std::string& numero, const moneda::Fecha& fecha);

// Asks for the PDF's file name with the desktop's save dialog, "Guardar como PDF", starting
// in `folder` with `proposedFileName`. Replacing an existing file needs the user's
// confirmation. ".pdf" is added to a name without it. Empty when the user cancels.
QString AskPdfPath(QWidget* parent, const QString& proposedFileName, const QString& folder);

} // namespace platform
