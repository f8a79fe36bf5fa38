// Printing a receipt end to end through a real CUPS server whose default queue writes PDF
// files: the printer choice, the job and its name, the one page, and what is on it.
#include "ChoiceDriver.h"
#include "PrintTestSupport.h"

#include "../receipt/SampleRecords.h"

#include "platform/PrintJob.h"
#include "receipt/PageSurface.h"
#include "receipt/Recibo.h"
#include "salida/ImprimirRecibo.h"

#include <QApplication>
#include <QRadioButton>
#include <QTest>
#include <QThread>

#include <atomic>

namespace {

const QString DEFAULT_QUEUE = QStringLiteral("TalveroPDF");
const QString OTHER_QUEUE = QStringLiteral("TalveroOtra");
const QString REFUSING_QUEUE = QStringLiteral("TalveroRechaza");
const QString JOB_NAME = QStringLiteral("Talvero: Imprimiento Recibo");

// The PDF queue's printable area is its whole page (its PPD's imageable area is the paper),
// so the receipt's logical (0, 0) is the page corner and one unit is 0.1 mm.
constexpr double TOLERANCE_MM = 0.5;

struct Printed {
    int job = -1;
    QString state;
    QString pdf;
};

// Prints the record with the choice confirmed, and waits for the job it made.
Printed PrintAndWait(CRecibo& record, const QString& queue = DEFAULT_QUEUE) {
    const QList<int> before = printtest::JobIds(queue);
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept, queue);
        salida::ImprimirRecibo(record);
    }
    Printed printed;
    for (int id : printtest::JobIds(queue)) {
        if (!before.contains(id)) {
            printed.job = id;
        }
    }
    if (printed.job > 0) {
        printed.state = printtest::WaitForJobEnd(queue, printed.job);
        printed.pdf = printtest::PdfOfJob(printed.job);
    }
    return printed;
}

// Counts the pages drawn for a job; the preview draws on the user-interface thread, a job
// on a worker.
std::function<void(page::PageSurface&)> CountJobPages(std::atomic<int>& pages) {
    return [&pages](page::PageSurface&) {
        if (QThread::currentThread() != qApp->thread())
            ++pages;
    };
}

int JobCount() {
    return int(printtest::JobIds(DEFAULT_QUEUE).size() + printtest::JobIds(OTHER_QUEUE).size() +
               printtest::JobIds(REFUSING_QUEUE).size());
}

// The word with this text nearest to a point, in millimetres.
const printtest::Word* Nearest(const QList<printtest::Word>& words, const QString& text,
                               QPointF near) {
    const printtest::Word* best = nullptr;
    double bestDistance = 1e9;
    for (const printtest::Word& w : words) {
        if (w.text != text) {
            continue;
        }
        const double d = QLineF(w.box.topLeft(), near).length();
        if (d < bestDistance) {
            bestDistance = d;
            best = &w;
        }
    }
    return best;
}

// The first word with this text after `from` on the same line.
const printtest::Word* NextOnLine(const QList<printtest::Word>& words, const QString& text,
                                  const printtest::Word& from) {
    const printtest::Word* next = nullptr;
    for (const printtest::Word& w : words) {
        if (w.text == text && qAbs(w.box.top() - from.box.top()) < 0.1 &&
            w.box.left() > from.box.left() &&
            (next == nullptr || w.box.left() < next->box.left())) {
            next = &w;
        }
    }
    return next;
}

} // namespace

class TestPrintReceipt : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();

    // --- The job -------------------------------------------------------------------------
    void jobIsListedUnderTheReceiptName_data();
    void jobIsListedUnderTheReceiptName();
    void jobHasExactlyOnePage_data();
    void jobHasExactlyOnePage();
    void pdfEmbedsTheMetricTwinOfTheFace();

    // --- The page ------------------------------------------------------------------------
    void textsAtTheirPlaces_data();
    void textsAtTheirPlaces();
    void ampersandIsPrinted();
    void frameFill_data();
    void frameFill();

    // --- The choice ----------------------------------------------------------------------
    void choiceOffersPrintersOnly();
    void choiceStartsOnTheDefaultPrinterEveryTime();
    void printersOwnSettingsApply();
    void cancellingPrintsNothing();
    void refusedJobIsReported();

private:
    Printed hatched_;
    Printed solid_;
};

void TestPrintReceipt::initTestCase() {
    if (const QString por = printtest::WhyNoServer(); !por.isEmpty())
        QSKIP(qPrintable(por));
    CRecibo blue = sample::Filled();
    blue.m_ColorFondo = ColorDeNombre("AZUL");
    blue.m_Solido = 0;
    hatched_ = PrintAndWait(blue);

    CRecibo grey = sample::Filled();
    grey.m_ColorFondo = ColorDeNombre("GRIS");
    grey.m_Solido = 1;
    solid_ = PrintAndWait(grey);

    QVERIFY2(hatched_.job > 0 && solid_.job > 0, "both prints made a job");
    QCOMPARE(hatched_.state, QStringLiteral("completed"));
    QCOMPARE(solid_.state, QStringLiteral("completed"));
    QVERIFY2(!hatched_.pdf.isEmpty() && !solid_.pdf.isEmpty(), "the queue wrote both PDFs");
}

void TestPrintReceipt::jobIsListedUnderTheReceiptName_data() {
    QTest::addColumn<int>("job");
    QTest::newRow("hatched receipt") << hatched_.job;
    QTest::newRow("solid receipt") << solid_.job;
}

void TestPrintReceipt::jobIsListedUnderTheReceiptName() {
    QFETCH(int, job);
    const QMap<QString, QString> attributes = printtest::JobAttributes(DEFAULT_QUEUE, job);
    QCOMPARE(attributes.value(QStringLiteral("job-name")), JOB_NAME);
}

void TestPrintReceipt::jobHasExactlyOnePage_data() {
    QTest::addColumn<QString>("pdf");
    QTest::newRow("hatched receipt") << hatched_.pdf;
    QTest::newRow("solid receipt") << solid_.pdf;
}

void TestPrintReceipt::jobHasExactlyOnePage() {
    QFETCH(QString, pdf);
    QCOMPARE(printtest::PageCount(pdf), 1);
}

void TestPrintReceipt::pdfEmbedsTheMetricTwinOfTheFace() {
    const QStringList fonts = printtest::Fonts(hatched_.pdf);
    QVERIFY2(!fonts.isEmpty(), "the page has fonts");
    for (const QString& line : fonts) {
        // name  type  encoding  emb sub uni ...: every font is Liberation Serif, embedded.
        const QStringList columns = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        QVERIFY2(columns.value(0).contains(QStringLiteral("LiberationSerif")), qPrintable(line));
        QVERIFY2(columns.contains(QStringLiteral("yes")), qPrintable(line));
    }
}

void TestPrintReceipt::textsAtTheirPlaces_data() {
    // A text is found by its first and last word; its place is checked at the edge its
    // alignment fixes (left edge, right edge or middle) and at the top of its cell.
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QChar>("align");
    QTest::addColumn<double>("x");   // mm: left edge, right edge or middle
    QTest::addColumn<double>("top"); // mm
    const auto Row = [](const char* name, const char* first, const char* last, char align, double x,
                        double top) {
        QTest::newRow(name) << QString::fromUtf8(first) << QString::fromUtf8(last)
                            << QChar::fromLatin1(align) << x << top;
    };

    // Captions, point text from the top-left of the cell.
    Row("RECIBO NUMERO", "RECIBO", "NUMERO", 'L', 36.5, 3.5);
    Row("LOCALIDAD DE EXPEDICION", "LOCALIDAD", "EXPEDICION", 'L', 67.5, 3.5);
    Row("IMPORTE EUROS", "IMPORTE", "EUROS", 'L', 144.5, 3.5);
    Row("FECHA DE EXPEDICION", "FECHA", "EXPEDICION", 'L', 39.5, 12.0);
    Row("VENCIMIENTO", "VENCIMIENTO", "VENCIMIENTO", 'L', 109.5, 12.0);
    Row("DOMICILIO", "DOMICILIO", "DOMICILIO", 'L', 39.5, 45.5);
    // Upper values.
    Row("number, right", "17", "17", 'R', 58.0, 6.5);
    Row("place, centred", "ZARAGOZA", "ZARAGOZA", 'C', 105.0, 6.5);
    Row("total, right", "156,11", "156,11", 'R', 175.0, 6.5);
    Row("due date, centred", "A", "VISTA", 'C', 139.5, 15.0);
    Row("issue date, centred", "5", "2.004", 'C', 70.0, 15.0);
    // Concept block: two concepts, IVA, IRPF and TOTAL make 5 lines from 23.5 mm, 4 mm apart.
    Row("concept 1", "Reparación", "caldera", 'L', 37.0, 23.5);
    Row("amount 1", "120,00", "120,00", 'R', 175.0, 23.5);
    Row("concept 2, with an ampersand", "Piezas", "material", 'L', 37.0, 27.5);
    Row("amount 2", "34,56", "34,56", 'R', 175.0, 27.5);
    Row("IVA label", "+16%", "IVA", 'L', 37.0, 31.5);
    Row("IVA amount", "24,73", "24,73", 'R', 175.0, 31.5);
    Row("IRPF label", "+15%", "IRPF", 'L', 37.0, 35.5);
    Row("IRPF amount", "-23,18", "-23,18", 'R', 175.0, 35.5);
    Row("TOTAL", "TOTAL", "TOTAL", 'L', 37.0, 39.5);
    Row("TOTAL amount", "156,11", "156,11", 'R', 175.0, 39.5);
    // Lower texts.
    Row("address", "C/", "ZARAGOZA", 'L', 42.0, 48.0);
    Row("Pagador:", "Pagador:", "Pagador:", 'L', 42.0, 59.0);
    Row("payer 1", "COMUNIDAD", "PROPIETARIOS", 'L', 42.0, 63.0);
    Row("payer 2", "C/", "12", 'L', 42.0, 67.0);
    Row("Cobrador:", "Cobrador:", "Cobrador:", 'L', 132.0, 59.0);
    Row("collector 1", "JUAN", "GARCÍA", 'L', 132.0, 63.0);
    Row("collector 2", "NIF", "12345678-Z", 'L', 132.0, 67.0);
}

void TestPrintReceipt::textsAtTheirPlaces() {
    QFETCH(QString, first);
    QFETCH(QString, last);
    QFETCH(QChar, align);
    QFETCH(double, x);
    QFETCH(double, top);

    const QList<printtest::Word> words = printtest::Words(hatched_.pdf);
    QVERIFY(!words.isEmpty());
    // The first word nearest the expected place; the last word the next of its kind on the line.
    const QPointF guess(align == u'R' ? x - 20 : align == u'C' ? x - 10 : x, top);
    const printtest::Word* a = Nearest(words, first, guess);
    QVERIFY2(a != nullptr, qPrintable(first));
    const printtest::Word* b = last == first ? a : NextOnLine(words, last, *a);
    QVERIFY2(b != nullptr, qPrintable(last));
    double measured = a->box.left();
    if (align == u'R') {
        measured = b->box.right();
    } else if (align == u'C') {
        measured = (a->box.left() + b->box.right()) / 2;
    }
    QVERIFY2(qAbs(measured - x) <= TOLERANCE_MM,
             qPrintable(QStringLiteral("x %1 mm, expected %2 mm").arg(measured).arg(x)));
    QVERIFY2(qAbs(a->box.top() - top) <= TOLERANCE_MM,
             qPrintable(QStringLiteral("top %1 mm, expected %2 mm").arg(a->box.top()).arg(top)));
}

void TestPrintReceipt::ampersandIsPrinted() {
    // "Piezas & material": the ampersand is a word of its own on the second concept line.
    const QList<printtest::Word> words = printtest::Words(hatched_.pdf);
    const printtest::Word* piezas = Nearest(words, QStringLiteral("Piezas"), QPointF(37, 27.5));
    const printtest::Word* ampersand = Nearest(words, QStringLiteral("&"), QPointF(50, 27.5));
    QVERIFY(piezas != nullptr && ampersand != nullptr);
    QVERIFY(qAbs(ampersand->box.top() - piezas->box.top()) < 0.1);
    QVERIFY(ampersand->box.left() > piezas->box.right());
}

void TestPrintReceipt::frameFill_data() {
    QTest::addColumn<QString>("pdf");
    QTest::addColumn<bool>("solid");
    QTest::addColumn<QColor>("colour");

    QTest::newRow("AZUL hatched") << hatched_.pdf << false << QColor(200, 255, 255);
    QTest::newRow("GRIS solid") << solid_.pdf << true << QColor(200, 200, 200);
}

void TestPrintReceipt::frameFill() {
    QFETCH(QString, pdf);
    QFETCH(bool, solid);
    QFETCH(QColor, colour);

    constexpr int dpi = 300;
    const QImage page = printtest::Render(pdf, dpi);
    QVERIFY(!page.isNull());
    auto px = [](double mm) { return int(mm / 25.4 * dpi); };

    // The band left of the boxes (5 to 30 mm across, 10 to 70 mm down) shows only the fill.
    int fill = 0, white = 0, other = 0;
    for (int y = px(10); y < px(70); ++y) {
        for (int x = px(5); x < px(30); ++x) {
            const QColor c = page.pixelColor(x, y);
            const bool nearFill = qAbs(c.red() - colour.red()) <= 8 &&
                                  qAbs(c.green() - colour.green()) <= 8 &&
                                  qAbs(c.blue() - colour.blue()) <= 8;
            const bool isWhite = c.red() >= 250 && c.green() >= 250 && c.blue() >= 250;
            fill += nearFill ? 1 : 0;
            white += isWhite && !nearFill ? 1 : 0;
            other += !nearFill && !isWhite ? 1 : 0;
        }
    }
    const int total = fill + white + other;
    if (solid) {
        QCOMPARE(fill, total);
    } else {
        // Lines in the colour over the bare page, about half and half.
        QVERIFY2(fill > total / 5 && white > total / 5,
                 qPrintable(QStringLiteral("%1 fill, %2 white, %3 other of %4")
                                .arg(fill)
                                .arg(white)
                                .arg(other)
                                .arg(total)));
    }
    // The frame ends at 193.9 mm and 85.9 mm: beyond it the page is bare.
    const QColor beyondRight = page.pixelColor(px(196), px(40));
    const QColor beyondBottom = page.pixelColor(px(100), px(88));
    QCOMPARE(beyondRight, QColor(Qt::white));
    QCOMPARE(beyondBottom, QColor(Qt::white));
}

void TestPrintReceipt::choiceOffersPrintersOnly() {
    CRecibo r = sample::Filled();
    ChoiceDriver driver(ChoiceDriver::Press::Cancel);
    salida::ImprimirRecibo(r);
    QCOMPARE(driver.choicesSeen, 1);
    QVERIFY(driver.printers.contains(DEFAULT_QUEUE));
    QVERIFY(driver.printers.contains(OTHER_QUEUE));
    QVERIFY(driver.acceptEnabled);
    // No page range, copy count or print-to-file.
    QCOMPARE(driver.spinBoxes, 0);
    QCOMPARE(driver.checkBoxes, 0);
    QCOMPARE(driver.lineEdits, 0);
    QCOMPARE(driver.radioButtons, 0);
}

void TestPrintReceipt::choiceStartsOnTheDefaultPrinterEveryTime() {
    CRecibo first = sample::Filled();
    const Printed onOther = PrintAndWait(first, OTHER_QUEUE);
    QVERIFY2(onOther.job > 0, "printed on the other queue");
    QCOMPARE(printtest::JobAttributes(OTHER_QUEUE, onOther.job).value(QStringLiteral("job-name")),
             JOB_NAME);

    CRecibo second = sample::Filled();
    ChoiceDriver driver(ChoiceDriver::Press::Cancel);
    salida::ImprimirRecibo(second);
    QCOMPARE(driver.startPrinter, DEFAULT_QUEUE);
}

void TestPrintReceipt::printersOwnSettingsApply() {
    // Landscape, chosen in the printer's own settings: still one page. The queue puts a
    // landscape page on its portrait A4 sheet turned a quarter anticlockwise, as a printer
    // feeds it: the page's (x, y) lands at (y, 297 mm - x) on the sheet, and lines of text
    // run up the sheet.
    CRecibo r = sample::Filled();
    const QList<int> before = printtest::JobIds(DEFAULT_QUEUE);
    bool landscapeFound = false;
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        driver.EditSettings([&](QDialog& settings) {
            for (QRadioButton* b : settings.findChildren<QRadioButton*>()) {
                if (b->objectName() == QStringLiteral("landscape")) {
                    b->click();
                    landscapeFound = true;
                }
            }
        });
        salida::ImprimirRecibo(r);
        QCOMPARE(driver.settingsSeen, 1);
    }
    QVERIFY2(landscapeFound, "the settings offer the orientation");
    int job = -1;
    for (int id : printtest::JobIds(DEFAULT_QUEUE)) {
        job = before.contains(id) ? job : id;
    }
    QVERIFY(job > 0);
    QCOMPARE(printtest::WaitForJobEnd(DEFAULT_QUEUE, job), QStringLiteral("completed"));
    const QString pdf = printtest::PdfOfJob(job);
    QCOMPARE(printtest::PageCount(pdf), 1);

    // "RECIBO NUMERO" starts at (36.5, 3.5) mm on the landscape page.
    const QList<printtest::Word> words = printtest::Words(pdf);
    const printtest::Word* caption =
        Nearest(words, QStringLiteral("RECIBO"), QPointF(3.5, 297 - 36.5 - 5));
    QVERIFY(caption != nullptr);
    QVERIFY2(caption->box.height() > caption->box.width(), "the text runs up the sheet");
    QVERIFY2(qAbs(caption->box.left() - 3.5) <= TOLERANCE_MM,
             qPrintable(QString::number(caption->box.left())));
    QVERIFY2(qAbs(caption->box.bottom() - (297 - 36.5)) <= TOLERANCE_MM,
             qPrintable(QString::number(caption->box.bottom())));
}

void TestPrintReceipt::cancellingPrintsNothing() {
    const int jobs = JobCount();
    const int pdfs = printtest::PdfCount();
    std::atomic<int> pages = 0;
    {
        ChoiceDriver driver(ChoiceDriver::Press::Cancel);
        platform::PrintOnePage("Talvero: Imprimiento Recibo", CountJobPages(pages));
        QCOMPARE(driver.choicesSeen, 1);
        QCOMPARE(driver.startPrinter, DEFAULT_QUEUE);
        QCOMPARE(driver.otherModals, QStringList{});
    }
    CRecibo r = sample::Filled();
    {
        ChoiceDriver driver(ChoiceDriver::Press::Cancel);
        salida::ImprimirRecibo(r);
    }
    QCOMPARE(pages.load(), 0);
    QCOMPARE(r.m_Iva, std::string("16")); // the record itself is never drawn
    QCOMPARE(JobCount(), jobs);
    QCOMPARE(printtest::PdfCount(), pdfs);
}

void TestPrintReceipt::refusedJobIsReported() {
    const int refused = int(printtest::JobIds(REFUSING_QUEUE).size());
    std::atomic<int> pages = 0;
    ChoiceDriver driver(ChoiceDriver::Press::Accept, REFUSING_QUEUE);
    const platform::PrintOutcome outcome =
        platform::PrintOnePage("Talvero: Imprimiento Recibo", CountJobPages(pages));
    QCOMPARE(driver.choicesSeen, 1);
    QCOMPARE(pages.load(), 1); // drawn, then refused by the queue
    QCOMPARE(int(printtest::JobIds(REFUSING_QUEUE).size()), refused);
    QCOMPARE(outcome.kind, platform::PrintOutcome::Kind::Failed);
    QCOMPARE(outcome.printer, REFUSING_QUEUE.toStdString());
    // One message, naming the printer and the server's reason.
    QCOMPARE(driver.messages.size(), 1);
    QVERIFY2(driver.messages[0].startsWith(
                 QStringLiteral("No se pudo imprimir el recibo en «%1»: ").arg(REFUSING_QUEUE)),
             qPrintable(driver.messages[0]));
    QVERIFY2(driver.messages[0].size() > 45, qPrintable(driver.messages[0]));
}

QTEST_MAIN(TestPrintReceipt)
#include "test_print_receipt.moc"
