// The private CUPS server of the printing tests, and the PDF files its queues write, seen
// through the real tools: ipptool for the jobs, poppler's pdfinfo, pdffonts, pdftotext and
// pdftoppm for the pages.
#pragma once

#include <QImage>
#include <QList>
#include <QMap>
#include <QRectF>
#include <QString>
#include <QStringList>

namespace printtest {

// The server's folder (TALVERO_CUPS_DIR), or empty when the tests run without it.
QString ServerDir();
// Why the server was not started, when the start script chose to skip; else empty.
QString SkipReason();
// Why a printing test cannot run here (no server, or the start script's SkipReason), or empty.
QString WhyNoServer();

struct ToolResult {
    int exitCode = -1;
    QString output;
};
// Runs a program to its end (bounded), capturing standard output.
ToolResult Run(const QString& program, const QStringList& arguments);

// Job ids of a queue, finished jobs included.
QList<int> JobIds(const QString& queue);
// job-name, job-state and the other attributes of one job, by name.
QMap<QString, QString> JobAttributes(const QString& queue, int job);
// Waits (bounded) until the job is completed, aborted or cancelled; returns its last state.
QString WaitForJobEnd(const QString& queue, int job);
// The PDF that the queue wrote for the job (waits a bounded while for it), or empty.
QString PdfOfJob(int job);
// How many PDF files the queues have written so far.
int PdfCount();

// --- PDF pages ---------------------------------------------------------------------------

struct Word {
    QString text;
    QRectF box; // millimetres from the top-left corner of the page
};
// The words of every page, or of page `page` (from 1) only.
QList<Word> Words(const QString& pdf, int page = 0);
int PageCount(const QString& pdf);
// pdffonts' lines for the fonts of the file.
QStringList Fonts(const QString& pdf);
// The first page rendered at `dpi`, without anti-aliasing.
QImage Render(const QString& pdf, int dpi);

} // namespace printtest
