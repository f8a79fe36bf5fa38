#include "PrintTestSupport.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>
#include <QXmlStreamReader>

namespace printtest {

namespace {

constexpr int TOOL_MS = 60000; // no tool of the tests may run longer than a minute
constexpr int JOB_MS = 90000;  // a job must pass the filters and the PDF backend in this time

QString IppUri(const QString& queue) {
    QFile portFile(ServerDir() + QStringLiteral("/port"));
    if (!portFile.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString port = QString::fromUtf8(portFile.readAll()).trimmed();
    return QStringLiteral("ipp://127.0.0.1:%1/printers/%2").arg(port, queue);
}

QString IppTest(const char* name) {
    return qEnvironmentVariable("TALVERO_IPP_TESTS") + QLatin1Char('/') + QLatin1String(name);
}

// ipptool -c prints a header line and then one line of comma-separated values per record.
QList<QStringList> IppRecords(const QString& output) {
    QList<QStringList> records;
    const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        records << lines[i].split(QLatin1Char(','));
    }
    return records;
}

} // namespace

QString ServerDir() {
    return qEnvironmentVariable("TALVERO_CUPS_DIR");
}

QString SkipReason() {
    QFile skipped(ServerDir() + QStringLiteral("/skipped"));
    if (!skipped.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(skipped.readAll()).trimmed();
}

QString WhyNoServer() {
    if (ServerDir().isEmpty())
        return QStringLiteral("TALVERO_CUPS_DIR is not set: run through ctest");
    return SkipReason();
}

ToolResult Run(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(TOOL_MS)) {
        process.kill();
        process.waitForFinished(5000);
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput())};
}

QList<int> JobIds(const QString& queue) {
    const ToolResult r = Run(QStringLiteral("ipptool"),
                             {QStringLiteral("-c"), IppUri(queue), IppTest("get-jobs.test")});
    QList<int> ids;
    for (const QStringList& record : IppRecords(r.output)) {
        bool ok = false;
        const int id = record.value(0).toInt(&ok);
        if (ok) {
            ids << id;
        }
    }
    return ids;
}

QMap<QString, QString> JobAttributes(const QString& queue, int job) {
    const ToolResult r =
        Run(QStringLiteral("ipptool"),
            {QStringLiteral("-c"), QStringLiteral("-d"), QStringLiteral("job=%1").arg(job),
             IppUri(queue), IppTest("get-job-attributes.test")});
    const QStringList lines = r.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QMap<QString, QString> attributes;
    if (lines.size() < 2) {
        return attributes;
    }
    const QStringList names = lines[0].split(QLatin1Char(','));
    const QStringList values = lines[1].split(QLatin1Char(','));
    for (qsizetype i = 0; i < names.size() && i < values.size(); ++i) {
        attributes.insert(names[i], values[i]);
    }
    return attributes;
}

QString WaitForJobEnd(const QString& queue, int job) {
    const QDeadlineTimer deadline(JOB_MS);
    QString state;
    while (!deadline.hasExpired()) {
        state = JobAttributes(queue, job).value(QStringLiteral("job-state"));
        if (state == QLatin1String("completed") || state == QLatin1String("aborted") ||
            state == QLatin1String("canceled")) {
            break;
        }
        QThread::msleep(100);
    }
    return state;
}

QString PdfOfJob(int job) {
    const QDir folder(ServerDir() + QStringLiteral("/pdf"));
    const QString pattern = QStringLiteral("*-job_%1.pdf").arg(job);
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        const QStringList found = folder.entryList({pattern}, QDir::Files);
        if (!found.isEmpty()) {
            return folder.filePath(found.first());
        }
        QThread::msleep(100);
    }
    return {};
}

int PdfCount() {
    const QDir folder(ServerDir() + QStringLiteral("/pdf"));
    return int(folder.entryList({QStringLiteral("*.pdf")}, QDir::Files).size());
}

QList<Word> Words(const QString& pdf, int page) {
    QStringList arguments{QStringLiteral("-bbox")};
    if (page > 0) {
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
                  << QString::number(page);
    }
    const ToolResult r = Run(QStringLiteral("pdftotext"), arguments << pdf << QStringLiteral("-"));
    constexpr double MM_PER_POINT = 25.4 / 72.0;
    QList<Word> words;
    QXmlStreamReader xml(r.output);
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement || xml.name() != u"word") {
            continue;
        }
        const auto attributes = xml.attributes();
        const double x0 = attributes.value(QLatin1String("xMin")).toDouble() * MM_PER_POINT;
        const double y0 = attributes.value(QLatin1String("yMin")).toDouble() * MM_PER_POINT;
        const double x1 = attributes.value(QLatin1String("xMax")).toDouble() * MM_PER_POINT;
        const double y1 = attributes.value(QLatin1String("yMax")).toDouble() * MM_PER_POINT;
        words << Word{xml.readElementText(), QRectF(QPointF(x0, y0), QPointF(x1, y1))};
    }
    return words;
}

int PageCount(const QString& pdf) {
    const ToolResult r = Run(QStringLiteral("pdfinfo"), {pdf});
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = pages.match(r.output);
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList Fonts(const QString& pdf) {
    const ToolResult r = Run(QStringLiteral("pdffonts"), {pdf});
    return r.output.split(QLatin1Char('\n'), Qt::SkipEmptyParts).mid(2);
}

QImage Render(const QString& pdf, int dpi) {
    QTemporaryDir dir;
    const QString prefix = dir.filePath(QStringLiteral("page"));
    Run(QStringLiteral("pdftoppm"),
        {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-aa"), QStringLiteral("no"),
         QStringLiteral("-aaVector"), QStringLiteral("no"), QStringLiteral("-singlefile"),
         QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"), QStringLiteral("1"), pdf,
         prefix});
    return QImage(prefix + QStringLiteral(".ppm"));
}

} // namespace printtest
