// A receipt saved as PDF is the page a printer gets: the same filled form printed on the
// default queue of the tests' own CUPS server and saved through "Guardar como PDF", both
// files read back with poppler's tools.
#include "ChoiceDriver.h"
#include "FormFixture.h"
#include "PrintTestSupport.h"
#include "SaveDialogDriver.h"

#include <QRegularExpression>
#include <QTest>

namespace {

const QString QUEUE = QStringLiteral("TalveroPDF");

// Each font's name, without the subset tag every writer picks for itself, and "emb" column.
QStringList EmbeddedFonts(const QString& pdf) {
    QStringList fonts;
    for (const QString& line : printtest::Fonts(pdf)) {
        const QStringList c = line.split(u' ', Qt::SkipEmptyParts);
        fonts << c.value(0).remove(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+"))) +
                     QStringLiteral(" embedded: ") + c.value(c.size() - 5);
    }
    fonts.removeDuplicates();
    return fonts;
}

} // namespace

class TestPdfMatchesPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void savedFileSays_data();
    void savedFileSays();
    void samePageFontsAndWords();

private:
    SettingsSandbox settings_{QStringLiteral("talvero-test-pdf-matches-print")};
    QTemporaryDir dir_;
    QString printed_, saved_;
};

void TestPdfMatchesPrint::initTestCase() {
    if (const QString por = printtest::WhyNoServer(); !por.isEmpty())
        QSKIP(qPrintable(por));
    settings_.Clear();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    // clang-format off
    const QList<std::pair<int, QString>> typed = {
        {1003, "17"}, {1004, "Zaragoza"}, {1013, "5"}, {1030, "2004"},
        {1006, "Reparación de la caldera"}, {1007, "120"}, {1020, "Piezas & material"},
        {1021, "34,56"}, {1000, "C/ Mayor, 12"}, {1001, "Comunidad"}, {1011, "Juan Pérez"}};
    // clang-format on
    for (const auto& [id, text] : typed) {
        TypeInto(dlg, id, text);
    }
    Choose(dlg, 1036, QStringLiteral("16"));
    Choose(dlg, 1039, QStringLiteral("15"));

    const QList<int> before = printtest::JobIds(QUEUE);
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        dlg.OnImprimir();
    }
    const QList<int> after = printtest::JobIds(QUEUE);
    QCOMPARE(after.size(), before.size() + 1);
    QCOMPARE(printtest::WaitForJobEnd(QUEUE, after.last()), QStringLiteral("completed"));
    printed_ = printtest::PdfOfJob(after.last());
    QVERIFY2(!printed_.isEmpty(), "the queue wrote the PDF");

    saved_ = dir_.filePath(QStringLiteral("Recibo 17 2004-03-05.pdf"));
    SaveDialogDriver driver(saved_);
    dlg.OnGuardarPdf();
    QCOMPARE(driver.messages, QStringList());
    QVERIFY(QFile::exists(saved_));
}

void TestPdfMatchesPrint::savedFileSays_data() {
    QTest::addColumn<QStringList>("pdfinfoArguments");
    QTest::addColumn<QString>("pattern");
    const QStringList info, meta{QStringLiteral("-meta")};
    // clang-format off
    QTest::newRow("one page") << info << "^Pages:\\s+1$";
    QTest::newRow("title") << info << "^Title:\\s+Recibo 17$";
    QTest::newRow("creator and version") << info << "^Creator:\\s+Talvero " TALVERO_VERSION "$";
    QTest::newRow("A4") << info << "^Page size:\\s+595 x 842 pts \\(A4\\)$";
    QTest::newRow("PDF/A part 1") << meta << "pdfaid:part=\"1\"";
    QTest::newRow("PDF/A conformance B") << meta << "pdfaid:conformance=\"B\"";
    // clang-format on
}

void TestPdfMatchesPrint::savedFileSays() {
    QFETCH(QStringList, pdfinfoArguments);
    QFETCH(QString, pattern);
    const QString out =
        printtest::Run(QStringLiteral("pdfinfo"), pdfinfoArguments << saved_).output;
    QVERIFY2(QRegularExpression(pattern, QRegularExpression::MultilineOption).match(out).hasMatch(),
             qPrintable(out));
}

void TestPdfMatchesPrint::samePageFontsAndWords() {
    QCOMPARE(printtest::PageCount(printed_), 1);
    const QStringList fonts = EmbeddedFonts(saved_);
    QCOMPARE(fonts, QStringList{QStringLiteral("LiberationSerif embedded: yes")});
    QCOMPARE(fonts, EmbeddedFonts(printed_));

    // Left, right and bottom edges within 0.1 mm: where the glyphs are. The top of a word's
    // box is its baseline less the ascent that the file declares for the font, and the print
    // system's filters re-embed the font with an ascent of their own.
    const QList<printtest::Word> printed = printtest::Words(printed_);
    QList<printtest::Word> saved = printtest::Words(saved_);
    QVERIFY(printed.size() > 30);
    QStringList misplaced;
    for (const printtest::Word& p : printed) {
        const auto near = [&p](const printtest::Word& s) {
            return s.text == p.text && qAbs(s.box.left() - p.box.left()) <= 0.1 &&
                   qAbs(s.box.right() - p.box.right()) <= 0.1 &&
                   qAbs(s.box.bottom() - p.box.bottom()) <= 0.1;
        };
        const auto match = std::find_if(saved.begin(), saved.end(), near);
        if (match == saved.end()) {
            misplaced << QStringLiteral("%1 at %2, %3 mm")
                             .arg(p.text)
                             .arg(p.box.left())
                             .arg(p.box.bottom());
        } else {
            saved.erase(match);
        }
    }
    QCOMPARE(misplaced, QStringList());
    QCOMPARE(saved.size(), 0); // nothing on the saved page that the printer did not get
}

QTEST_MAIN(TestPdfMatchesPrint)
#include "test_pdf_matches_print.moc"
