// Saving a page as PDF with no printer installed: the proposed file name, the page the PDF
// gets, what the file says about itself, the save dialog, and every way writing the file
// can fail, with real files in a temporary folder read back by poppler's tools.
#include "SaveDialogDriver.h"
#include "Unwritable.h"

#include "../print/PrintTestSupport.h"
#include "../receipt/SampleRecords.h"

#include "platform/PdfExport.h"
#include "receipt/Recibo.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>

namespace {

constexpr double TOLERANCE_MM = 0.1;
const QByteArray OLD_CONTENT = "el PDF de antes\n";

QString WriteSample(const QString& path, const QPageLayout& layout = platform::PdfPageLayout()) {
    return platform::WritePdfPage(
        path, QStringLiteral("Recibo 17"),
        [](page::PageSurface& page) {
            CRecibo record = sample::Filled();
            record.Dibujar(page);
        },
        layout);
}

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void Put(const QString& path, const QByteArray& content) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(content), content.size());
}

// Files may grow only to `bytes` for the test's lifetime: a write past it fails as on a full
// disk (the signal it would raise is ignored, as the write's error is what counts).
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        previous_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, previous_);
    }

private:
    rlimit old_{};
    void (*previous_)(int) = nullptr;
};

} // namespace

class TestPdfExport : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- The proposed file name ----------------------------------------------------------
    void proposedName_data();
    void proposedName();

    // --- The page and the file -----------------------------------------------------------
    void pageWithoutPrinterIsA4WithFiveMillimetreMargins();
    void fileDescribesItself_data();
    void fileDescribesItself();
    void oneVectorPageWithEmbeddedFonts();
    void receiptSitsAtTheCornerOfThePrintableArea();
    void completeFileReplacesTheOldOne();

    // --- Failures ------------------------------------------------------------------------
    void failureLeavesNothingBehind_data();
    void failureLeavesNothingBehind();

    // --- The save dialog -----------------------------------------------------------------
    void dialogProposesNameFolderAndFilter();
    void dialogAnswers_data();
    void dialogAnswers();
};

void TestPdfExport::proposedName_data() {
    QTest::addColumn<QString>("numero");
    QTest::addColumn<int>("anio");
    QTest::addColumn<int>("mes");
    QTest::addColumn<int>("dia");
    QTest::addColumn<QString>("expected");

    // clang-format off
    QTest::newRow("number and date") << "17" << 2004 << 3 << 5 << "Recibo 17 2004-03-05.pdf";
    QTest::newRow("no number") << "" << 2004 << 3 << 5 << "Recibo 2004-03-05.pdf";
    QTest::newRow("blank number") << "   " << 2004 << 3 << 5 << "Recibo 2004-03-05.pdf";
    QTest::newRow("spaces around and inside the number") << "  A  7 " << 2026 << 12 << 31 << "Recibo A 7 2026-12-31.pdf";
    QTest::newRow("day and month padded") << "1" << 2026 << 1 << 2 << "Recibo 1 2026-01-02.pdf";
    QTest::newRow("slash of a yearly series") << "2004/117" << 2004 << 3 << 5 << "Recibo 2004-117 2004-03-05.pdf";
    QTest::newRow("every forbidden character") << "a\\b:c*d?e\"f<g>h|i" << 2004 << 3 << 5 << "Recibo a-b-c-d-e-f-g-h-i 2004-03-05.pdf";
    QTest::newRow("tab and line break") << "1\t2\n3" << 2004 << 3 << 5 << "Recibo 1-2-3 2004-03-05.pdf";
    QTest::newRow("letters beyond ASCII kept") << "Nº 5-Ñ" << 2004 << 3 << 5 << "Recibo Nº 5-Ñ 2004-03-05.pdf";
    QTest::newRow("dots kept inside the name") << "../17" << 2004 << 3 << 5 << "Recibo ..-17 2004-03-05.pdf";
    QTest::newRow("31 April has no date") << "17" << 2004 << 4 << 31 << "Recibo 17.pdf";
    QTest::newRow("29 February of a common year") << "17" << 2003 << 2 << 29 << "Recibo 17.pdf";
    QTest::newRow("29 February of a leap year") << "17" << 2004 << 2 << 29 << "Recibo 17 2004-02-29.pdf";
    QTest::newRow("month 13") << "17" << 2004 << 13 << 1 << "Recibo 17.pdf";
    QTest::newRow("year 0") << "17" << 0 << 1 << 1 << "Recibo 17.pdf";
    QTest::newRow("negative year") << "17" << -5 << 1 << 1 << "Recibo 17.pdf";
    QTest::newRow("neither number nor date") << "" << 2004 << 2 << 30 << "Recibo.pdf";
    QTest::newRow("number of 150 digits cut to 100") << QString(150, u'7') << 2004 << 3 << 5 << "Recibo " + QString(100, u'7') + " 2004-03-05.pdf";
    // clang-format on
}

void TestPdfExport::proposedName() {
    QFETCH(QString, numero);
    QFETCH(int, anio);
    QFETCH(int, mes);
    QFETCH(int, dia);
    QFETCH(QString, expected);
    QCOMPARE(
        platform::ProposedPdfName(numero.toStdString(), moneda::Fecha(anio, mes, dia, 1, 1, 1)),
        expected);
}

void TestPdfExport::pageWithoutPrinterIsA4WithFiveMillimetreMargins() {
    QPageLayout layout = platform::PdfPageLayout();
    layout.setUnits(QPageLayout::Millimeter);
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(layout.margins(), QMarginsF(5, 5, 5, 5));
}

void TestPdfExport::fileDescribesItself_data() {
    // Patterns over pdfinfo's report followed by the file's XMP metadata (pdfinfo -meta).
    QTest::addColumn<QString>("pattern");
    const QString version = QRegularExpression::escape(QStringLiteral(TALVERO_VERSION));
    // clang-format off
    QTest::newRow("title") << "^Title:\\s+Recibo 17$";
    QTest::newRow("title in the XMP metadata") << "<dc:title>\\s*<rdf:Alt>\\s*<rdf:li[^>]*>Recibo 17</rdf:li>";
    QTest::newRow("creator and version") << "^Creator:\\s+Talvero " + version + "$";
    QTest::newRow("PDF/A part 1") << "pdfaid:part=\"1\"";
    QTest::newRow("PDF/A conformance B") << "pdfaid:conformance=\"B\"";
    QTest::newRow("PDF 1.4, as PDF/A-1 requires") << "^PDF version:\\s+1\\.4$";
    QTest::newRow("A4 page") << "^Page size:\\s+595 x 842 pts \\(A4\\)$";
    QTest::newRow("one page") << "^Pages:\\s+1$";
    // clang-format on
}

void TestPdfExport::fileDescribesItself() {
    QFETCH(QString, pattern);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    QCOMPARE(WriteSample(pdf), QString());
    const QString report =
        printtest::Run(QStringLiteral("pdfinfo"), {pdf}).output +
        printtest::Run(QStringLiteral("pdfinfo"), {QStringLiteral("-meta"), pdf}).output;
    const QRegularExpression re(pattern, QRegularExpression::MultilineOption);
    QVERIFY(re.isValid());
    QVERIFY2(re.match(report).hasMatch(), qPrintable(report));
}

void TestPdfExport::oneVectorPageWithEmbeddedFonts() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
    QCOMPARE(WriteSample(pdf), QString());
    QCOMPARE(printtest::PageCount(pdf), 1);
    // Text stays text: the words can be found and read back.
    QStringList texts;
    for (const printtest::Word& w : printtest::Words(pdf)) {
        texts << w.text;
    }
    QVERIFY2(texts.contains(QStringLiteral("ZARAGOZA")), qPrintable(texts.join(u' ')));
    QVERIFY2(texts.contains(QStringLiteral("Reparación")), qPrintable(texts.join(u' ')));
    const QStringList fonts = printtest::Fonts(pdf);
    QVERIFY(!fonts.isEmpty());
    for (const QString& line : fonts) {
        // name type encoding emb sub uni object: the "emb" column says yes.
        const QStringList columns = line.split(u' ', Qt::SkipEmptyParts);
        QVERIFY2(columns.size() >= 7, qPrintable(line));
        QCOMPARE(columns.at(columns.size() - 5), QStringLiteral("yes"));
    }
}

void TestPdfExport::receiptSitsAtTheCornerOfThePrintableArea() {
    // The same receipt without margins and with 5 mm ones: every word moves by the margin.
    QTemporaryDir dir;
    const QString bare = dir.filePath(QStringLiteral("bare.pdf"));
    const QString framed = dir.filePath(QStringLiteral("framed.pdf"));
    const QPageSize a4(QPageSize::A4);
    QCOMPARE(WriteSample(bare, QPageLayout(a4, QPageLayout::Portrait, QMarginsF())), QString());
    QCOMPARE(WriteSample(framed), QString());
    const QList<printtest::Word> a = printtest::Words(bare);
    const QList<printtest::Word> b = printtest::Words(framed);
    QVERIFY(a.size() > 30);
    QCOMPARE(b.size(), a.size());
    for (qsizetype i = 0; i < a.size(); ++i) {
        QCOMPARE(b[i].text, a[i].text);
        const QPointF shift = b[i].box.topLeft() - a[i].box.topLeft();
        QVERIFY2(qAbs(shift.x() - 5) <= TOLERANCE_MM && qAbs(shift.y() - 5) <= TOLERANCE_MM,
                 qPrintable(QStringLiteral("%1 moved by %2, %3 mm")
                                .arg(a[i].text)
                                .arg(shift.x())
                                .arg(shift.y())));
    }
    // The bare page's receipt starts at the corner: "RECIBO NUMERO" at 36.5 mm, 3.5 mm.
    QVERIFY(qAbs(a[0].box.left() - 36.5) < 0.5 && qAbs(a[0].box.top() - 3.5) < 0.5);
}

void TestPdfExport::completeFileReplacesTheOldOne() {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("Recibo 17 2004-03-05.pdf"));
    Put(pdf, OLD_CONTENT);
    QCOMPARE(WriteSample(pdf), QString());
    QVERIFY(Content(pdf).startsWith("%PDF-"));
    QCOMPARE(printtest::PageCount(pdf), 1);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("Recibo 17 2004-03-05.pdf")});
}

void TestPdfExport::failureLeavesNothingBehind_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<bool>("oldFile");
    // clang-format off
    QTest::newRow("folder does not exist") << "missing folder" << "la carpeta no existe" << false;
    QTest::newRow("folder is a file") << "file as folder" << "la carpeta no existe" << false;
    QTest::newRow("name is a folder") << "folder as name" << "ya hay una carpeta con ese nombre" << false;
    QTest::newRow("folder cannot be written") << "read-only folder" << "no hay permiso para escribir en la carpeta" << false;
    QTest::newRow("folder cannot be written, old PDF kept") << "read-only folder" << "no hay permiso para escribir en la carpeta" << true;
    QTest::newRow("old PDF cannot be replaced") << "read-only file" << "el archivo que ya existe está protegido contra escritura" << true;
    QTest::newRow("disk fills up while writing") << "full disk" << "el archivo no se pudo escribir entero (puede que el disco esté lleno)" << false;
    QTest::newRow("disk fills up, old PDF kept") << "full disk" << "el archivo no se pudo escribir entero (puede que el disco esté lleno)" << true;
    // clang-format on
}

void TestPdfExport::failureLeavesNothingBehind() {
    QFETCH(QString, situation);
    QFETCH(QString, reason);
    QFETCH(bool, oldFile);

    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("recibos"));
    QVERIFY(QDir().mkdir(folder));
    QString pdf = folder + QStringLiteral("/Recibo 17.pdf");
    if (oldFile) {
        Put(pdf, OLD_CONTENT);
    }

    std::unique_ptr<Unwritable> readOnly;
    std::unique_ptr<FileSizeLimit> limit;
    if (situation == u"missing folder") {
        pdf = folder + QStringLiteral("/no/Recibo 17.pdf");
    } else if (situation == u"file as folder") {
        Put(folder + QStringLiteral("/notas.txt"), "texto");
        pdf = folder + QStringLiteral("/notas.txt/Recibo 17.pdf");
    } else if (situation == u"folder as name") {
        QVERIFY(QDir().mkdir(pdf));
    } else if (situation == u"read-only folder") {
        readOnly = std::make_unique<Unwritable>(folder);
    } else if (situation == u"read-only file") {
        readOnly = std::make_unique<Unwritable>(pdf);
    } else if (situation == u"full disk") {
        limit = std::make_unique<FileSizeLimit>(4096); // the page with its font is far larger
    }
    if (readOnly && !readOnly->Holds()) {
        QSKIP("the file system cannot refuse writing to an administrator here");
    }
    const QStringList before =
        QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);

    const QString message = WriteSample(pdf);
    limit.reset();
    readOnly.reset();

    QCOMPARE(message, QStringLiteral("No se pudo guardar el recibo en \"%1\": %2.")
                          .arg(QDir::toNativeSeparators(pdf), reason));
    // No temporary file, no half-written PDF, and the old PDF as it was.
    QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             before);
    if (oldFile) {
        QCOMPARE(Content(pdf), OLD_CONTENT);
    }
}

void TestPdfExport::dialogProposesNameFolderAndFilter() {
    QTemporaryDir dir;
    SaveDialogDriver driver{QString()};
    QCOMPARE(platform::AskPdfPath(nullptr, QStringLiteral("Recibo 17 2004-03-05.pdf"), dir.path()),
             QString());
    QCOMPARE(driver.dialogsSeen, 1);
    QCOMPARE(driver.title, QStringLiteral("Guardar como PDF"));
    QCOMPARE(driver.folder, QDir(dir.path()).absolutePath());
    QCOMPARE(driver.proposedName, QStringLiteral("Recibo 17 2004-03-05.pdf"));
    QCOMPARE(driver.filters, QStringList{QStringLiteral("Documentos PDF (*.pdf)")});
}

void TestPdfExport::dialogAnswers_data() {
    QTest::addColumn<QString>("existing"); // a file already in the folder, or none
    QTest::addColumn<QString>("answer");   // what the user enters; empty cancels
    QTest::addColumn<bool>("replace");     // the answer to "replace?"
    QTest::addColumn<QString>("expected"); // the path returned, relative; "" for none
    QTest::addColumn<int>("questions");    // how many times "replace?" was asked
    // clang-format off
    QTest::newRow("cancelled") << "" << "" << true << "" << 0;
    QTest::newRow("new name with .pdf") << "" << "a.pdf" << true << "a.pdf" << 0;
    QTest::newRow("suffix in capitals kept") << "" << "a.PDF" << true << "a.PDF" << 0;
    QTest::newRow("name without suffix gets .pdf") << "" << "a" << true << "a.pdf" << 0;
    QTest::newRow("other suffix gets .pdf after it") << "" << "a.v2" << true << "a.v2.pdf" << 0;
    QTest::newRow("existing file replaced when confirmed") << "a.pdf" << "a.pdf" << true << "a.pdf" << 1;
    QTest::newRow("existing file kept when refused") << "a.pdf" << "a.pdf" << false << "" << 1;
    QTest::newRow("suffix added onto an existing file, confirmed") << "a.pdf" << "a" << true << "a.pdf" << 1;
    QTest::newRow("suffix added onto an existing file, refused") << "a.pdf" << "a" << false << "" << 1;
    QTest::newRow("other suffix onto an existing file, refused") << "a.v2.pdf" << "a.v2" << false << "" << 1;
    // clang-format on
}

void TestPdfExport::dialogAnswers() {
    QFETCH(QString, existing);
    QFETCH(QString, answer);
    QFETCH(bool, replace);
    QFETCH(QString, expected);
    QFETCH(int, questions);

    QTemporaryDir dir;
    if (!existing.isEmpty()) {
        Put(dir.filePath(existing), OLD_CONTENT);
    }
    SaveDialogDriver driver(answer.isEmpty() ? QString() : dir.filePath(answer), replace);
    const QString path = platform::AskPdfPath(nullptr, QStringLiteral("Recibo.pdf"), dir.path());
    QCOMPARE(driver.dialogsSeen, 1);
    QCOMPARE(path, expected.isEmpty() ? QString() : QDir(dir.path()).absoluteFilePath(expected));
    QCOMPARE(driver.replaceQuestions.size(), questions);
    QCOMPARE(driver.messages, QStringList());
    if (!existing.isEmpty()) {
        QCOMPARE(Content(dir.filePath(existing)), OLD_CONTENT); // asking writes nothing
    }
}

QTEST_MAIN(TestPdfExport)
#include "test_pdf_export.moc"
