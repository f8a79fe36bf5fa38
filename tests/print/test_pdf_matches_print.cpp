// A receipt saved as PDF is the page a printer gets: the same filled form printed on the
// default queue of the tests' own CUPS server and saved through "Guardar como PDF", then
// both files read back with poppler's tools and compared word by word.
#include "ChoiceDriver.h"
#include "FormFixture.h"
#include "PrintTestSupport.h"
#include "SaveDialogDriver.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString QUEUE = QStringLiteral("TalveroPDF");
constexpr double TOLERANCE_MM = 0.1;

// The word of `words` with this text nearest to `box` (by its left and bottom edges).
const printtest::Word* Counterpart(const QList<printtest::Word>& words, const printtest::Word& of) {
    const printtest::Word* best = nullptr;
    double bestDistance = 0;
    for (const printtest::Word& w : words) {
        const double d =
            qAbs(w.box.left() - of.box.left()) + qAbs(w.box.bottom() - of.box.bottom());
        if (w.text == of.text && (best == nullptr || d < bestDistance)) {
            best = &w;
            bestDistance = d;
        }
    }
    return best;
}

// pdffonts' name and embedding of each font, the subset tag ("ABCDEF+") left out since
// every writer picks its own.
QStringList EmbeddedFonts(const QString& pdf) {
    QStringList fonts;
    for (const QString& line : printtest::Fonts(pdf)) {
        const QStringList columns = line.split(u' ', Qt::SkipEmptyParts);
        if (columns.size() < 7) {
            continue;
        }
        QString name = columns.first();
        name.remove(QRegularExpression(QStringLiteral("^[A-Z]{6}\\+")));
        fonts << name + QStringLiteral(" embedded=") + columns.at(columns.size() - 5);
    }
    fonts.sort();
    fonts.removeDuplicates();
    return fonts;
}

} // namespace

class TestPdfMatchesPrint : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void onePageEach();
    void sameFontsEmbedded();
    void sameWords();
    void wordsAtTheSamePlaces_data();
    void wordsAtTheSamePlaces();

private:
    SettingsSandbox settings_{QStringLiteral("talvero-test-pdf-matches-print")};
    QTemporaryDir dir_;
    QString printed_;
    QString saved_;
    QList<printtest::Word> printedWords_;
    QList<printtest::Word> savedWords_;
};

void TestPdfMatchesPrint::initTestCase() {
    if (printtest::ServerDir().isEmpty()) {
        QSKIP("TALVERO_CUPS_DIR is not set: run through ctest");
    }
    if (!printtest::SkipReason().isEmpty()) {
        QSKIP(qPrintable(printtest::SkipReason()));
    }
    settings_.Clear();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    TypeInto(dlg, 1003, QStringLiteral("17"));
    TypeInto(dlg, 1004, QStringLiteral("zaragoza"));
    TypeInto(dlg, 1013, QStringLiteral("5"));
    Choose(dlg, 1029, QStringLiteral("MARZO"));
    TypeInto(dlg, 1030, QStringLiteral("2004"));
    TypeInto(dlg, 1006, QStringLiteral("Reparación de la caldera"));
    TypeInto(dlg, 1007, QStringLiteral("120"));
    TypeInto(dlg, 1020, QStringLiteral("Piezas & material"));
    TypeInto(dlg, 1021, QStringLiteral("34,56"));
    Choose(dlg, 1036, QStringLiteral("16"));
    Choose(dlg, 1039, QStringLiteral("15"));
    TypeInto(dlg, 1000, QStringLiteral("C/ Mayor, 12"));
    TypeInto(dlg, 1001, QStringLiteral("comunidad de propietarios"));
    TypeInto(dlg, 1011, QStringLiteral("juan pérez garcía"));
    TypeInto(dlg, 1012, QStringLiteral("NIF 12345678-Z"));

    const QList<int> before = printtest::JobIds(QUEUE);
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept);
        dlg.OnImprimir();
        QCOMPARE(driver.choicesSeen, 1);
    }
    int job = -1;
    for (int id : printtest::JobIds(QUEUE)) {
        if (!before.contains(id)) {
            job = id;
        }
    }
    QVERIFY2(job > 0, "the print made a job");
    QCOMPARE(printtest::WaitForJobEnd(QUEUE, job), QStringLiteral("completed"));
    printed_ = printtest::PdfOfJob(job);
    QVERIFY2(!printed_.isEmpty(), "the queue wrote the PDF");

    saved_ = dir_.filePath(QStringLiteral("Recibo 17 2004-03-05.pdf"));
    {
        SaveDialogDriver driver(saved_);
        dlg.OnGuardarPdf();
        QCOMPARE(driver.dialogsSeen, 1);
        QCOMPARE(driver.messages, QStringList());
    }
    QVERIFY(QFile::exists(saved_));

    printedWords_ = printtest::Words(printed_);
    savedWords_ = printtest::Words(saved_);
    QVERIFY(printedWords_.size() > 30);
}

void TestPdfMatchesPrint::onePageEach() {
    QCOMPARE(printtest::PageCount(saved_), 1);
    QCOMPARE(printtest::PageCount(printed_), 1);
}

void TestPdfMatchesPrint::sameFontsEmbedded() {
    const QStringList fonts = EmbeddedFonts(saved_);
    QVERIFY(!fonts.isEmpty());
    for (const QString& font : fonts) {
        QVERIFY2(font.endsWith(QStringLiteral(" embedded=yes")), qPrintable(font));
    }
    QCOMPARE(fonts, EmbeddedFonts(printed_));
}

void TestPdfMatchesPrint::sameWords() {
    QStringList printed, saved;
    for (const printtest::Word& w : printedWords_) {
        printed << w.text;
    }
    for (const printtest::Word& w : savedWords_) {
        saved << w.text;
    }
    // pdftotext orders the words of a line by their boxes, whose tops differ (see below).
    saved.sort();
    printed.sort();
    QCOMPARE(saved, printed);
}

void TestPdfMatchesPrint::wordsAtTheSamePlaces_data() {
    // One row per word of the printed page, named by its place in the page and its text.
    QTest::addColumn<int>("index");
    for (qsizetype i = 0; i < printedWords_.size(); ++i) {
        const QString name = QStringLiteral("word %1, %2").arg(i + 1).arg(printedWords_[i].text);
        QTest::newRow(qPrintable(name)) << int(i);
    }
}

void TestPdfMatchesPrint::wordsAtTheSamePlaces() {
    // Left, right and bottom edges: where the glyphs are. The top of a word's box is the
    // baseline minus the ascent that the PDF declares for its font, and the print system's
    // filters re-embed the font with an ascent of their own, so the tops say nothing about
    // where the text was drawn.
    QFETCH(int, index);
    const printtest::Word& printed = printedWords_[index];
    const printtest::Word* saved = Counterpart(savedWords_, printed);
    QVERIFY2(saved != nullptr, qPrintable(printed.text));
    const double edges[3][2] = {{saved->box.left(), printed.box.left()},
                                {saved->box.right(), printed.box.right()},
                                {saved->box.bottom(), printed.box.bottom()}};
    for (const auto& edge : edges) {
        QVERIFY2(
            qAbs(edge[0] - edge[1]) <= TOLERANCE_MM,
            qPrintable(QStringLiteral("saved %1 mm, printed %2 mm").arg(edge[0]).arg(edge[1])));
    }
}

QTEST_MAIN(TestPdfMatchesPrint)
#include "test_pdf_matches_print.moc"
