// The concept block: how many lines, where each goes, in which font, the shared tax line,
// the tax labels and the TOTAL line.
#include "RecordingSurface.h"
#include "SampleRecords.h"

#include "receipt/BloqueConceptos.h"
#include "receipt/Recibo.h"

#include <QTest>

using moneda::Currency;
using page::Align;
using page::Rect;

namespace {

// The texts of the concept block, in drawing order: the box texts whose top lies between
// the upper values (tops 65 and 150) and the address (top 480).
std::vector<RecordedText> BlockTexts(const RecordingSurface& page) {
    std::vector<RecordedText> block;
    for (const RecordedText& t : page.texts) {
        if (t.boxed && t.rect.top >= 200 && t.rect.top < 470) {
            block.push_back(t);
        }
    }
    return block;
}

QByteArray Describe(const RecordedText& t) {
    const char* align = t.align == Align::Left ? "L" : t.align == Align::Right ? "R" : "C";
    return QByteArray(align) + " " + QByteArray::number(t.rect.left) + "," +
           QByteArray::number(t.rect.top) + "-" + QByteArray::number(t.rect.right) + "," +
           QByteArray::number(t.rect.bottom) + " [" + QByteArray::fromStdString(t.text) + "]";
}

// The block as one line per text: "L 370,285-1400,335 [Concepto 1]".
QList<QByteArray> DescribeBlock(CRecibo& r) {
    RecordingSurface page;
    r.Dibujar(page);
    QList<QByteArray> lines;
    for (const RecordedText& t : BlockTexts(page)) {
        lines << Describe(t);
    }
    return lines;
}

void SetTaxes(CRecibo& r, bool iva, bool re, bool irpf) {
    r.m_Iva = "16";
    r.m_Re = "4";
    r.m_Irpf = "15";
    if (iva) {
        r.m_ImporteIva = moneda::Currency(160000); // 16,00
    }
    if (re) {
        r.m_ImporteRe = moneda::Currency(40000); // 4,00
    }
    if (irpf) {
        r.m_ImporteIrpf = moneda::Currency(-150000); // -15,00
    }
}

} // namespace

class TestConceptBlock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- Line count and the line table ---------------------------------------------------
    void lineTable_data();
    void lineTable();

    // --- Worked examples -----------------------------------------------------------------
    void oneConceptLine();
    void twoConceptLines();
    void threeConceptsAndIva();
    void fiveConceptsIvaAndRe();
    void countFourReachesBelowTheBox();
    void emptyBlockDrawsNoLineNotEvenTotal();

    // --- Shared tax line -----------------------------------------------------------------
    void sharedTaxLineColumns_data();
    void sharedTaxLineColumns();

    // --- What counts as present ----------------------------------------------------------
    void presence_data();
    void presence();

    // --- Tax labels ----------------------------------------------------------------------
    void taxLabelsAreWrittenBack_data();
    void taxLabelsAreWrittenBack();
    void irpfLineCarriesPlusAndMinus();
};

void TestConceptBlock::lineTable_data() {
    QTest::addColumn<int>("concepts");
    QTest::addColumn<bool>("iva");
    QTest::addColumn<bool>("re");
    QTest::addColumn<bool>("irpf");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("height");

    QTest::newRow("count 0") << 0 << false << false << false << 0 << 1 << 50 << 50;
    QTest::newRow("count 1: one concept") << 1 << false << false << false << 1 << 1 << 50 << 45;
    QTest::newRow("count 1: IVA alone") << 0 << true << false << false << 1 << 1 << 50 << 45;
    QTest::newRow("count 3: two concepts") << 2 << false << false << false << 3 << 1 << 50 << 45;
    QTest::newRow("count 4: two concepts and IVA")
        << 2 << true << false << false << 4 << 1 << 45 << 45;
    QTest::newRow("count 5: three concepts and IVA")
        << 3 << true << false << false << 5 << 0 << 40 << 45;
    QTest::newRow("count 6: five concepts") << 5 << false << false << false << 6 << 0 << 35 << 40;
    QTest::newRow("count 7: four concepts, IVA and RE")
        << 4 << true << true << false << 7 << 0 << 30 << 35;
    QTest::newRow("count 8: five concepts, IVA and RE")
        << 5 << true << true << false << 8 << 0 << 27 << 32;
    QTest::newRow("count 9: everything") << 5 << true << true << true << 9 << 0 << 27 << 32;
}

void TestConceptBlock::lineTable() {
    QFETCH(int, concepts);
    QFETCH(bool, iva);
    QFETCH(bool, re);
    QFETCH(bool, irpf);
    QFETCH(int, count);
    QFETCH(int, start);
    QFETCH(int, pitch);
    QFETCH(int, height);

    CRecibo r;
    sample::AddConcepts(r, concepts);
    SetTaxes(r, iva, re, irpf);
    QCOMPARE(recibo::ContarLineas(r), count);

    RecordingSurface page;
    r.Dibujar(page);
    const std::vector<RecordedText> block = BlockTexts(page);
    if (count == 0) {
        QCOMPARE(block.size(), size_t(0));
        return;
    }
    // The first line is line start + 1: its band starts start pitches below 235.
    const RecordedText& first = block.front();
    QCOMPARE(first.rect.top, 235 + start * pitch);
    QCOMPARE(first.rect.bottom, 235 + (start + 1) * pitch);
    for (const RecordedText& t : block) {
        QCOMPARE(t.font.cellHeight, height);
        QCOMPARE(t.font.face, std::string("Times New Roman"));
    }
}

void TestConceptBlock::oneConceptLine() {
    CRecibo r;
    r.m_Concepto1 = "Honorarios";
    r.m_Importe1 = moneda::Currency(1000000);
    const QList<QByteArray> expected{"L 370,285-1400,335 [Honorarios]",
                                     "R 1400,285-1750,335 [100,00]"};
    QCOMPARE(DescribeBlock(r), expected);
}

void TestConceptBlock::twoConceptLines() {
    CRecibo r;
    sample::AddConcepts(r, 2);
    const QList<QByteArray> expected{
        "L 370,285-1400,335 [Concepto 1]", "R 1400,285-1750,335 [1,00]",
        "L 370,335-1400,385 [Concepto 2]", "R 1400,335-1750,385 [2,00]",
        "L 370,385-1400,435 [TOTAL]",      "R 1400,385-1750,435 [3,00]",
    };
    QCOMPARE(DescribeBlock(r), expected);
}

void TestConceptBlock::threeConceptsAndIva() {
    CRecibo r;
    sample::AddConcepts(r, 3);
    SetTaxes(r, true, false, false);
    const QList<QByteArray> expected{
        "L 370,235-1400,275 [Concepto 1]", "R 1400,235-1750,275 [1,00]",
        "L 370,275-1400,315 [Concepto 2]", "R 1400,275-1750,315 [2,00]",
        "L 370,315-1400,355 [Concepto 3]", "R 1400,315-1750,355 [3,00]",
        "L 370,355-1400,395 [+16% IVA]",   "R 1400,355-1750,395 [16,00]",
        "L 370,395-1400,435 [TOTAL]",      "R 1400,395-1750,435 [22,00]",
    };
    QCOMPARE(DescribeBlock(r), expected);
}

void TestConceptBlock::fiveConceptsIvaAndRe() {
    CRecibo r;
    sample::AddConcepts(r, 5);
    SetTaxes(r, true, true, false);
    const QList<QByteArray> expected{
        "L 370,235-1400,262 [Concepto 1]", "R 1400,235-1750,262 [1,00]",
        "L 370,262-1400,289 [Concepto 2]", "R 1400,262-1750,289 [2,00]",
        "L 370,289-1400,316 [Concepto 3]", "R 1400,289-1750,316 [3,00]",
        "L 370,316-1400,343 [Concepto 4]", "R 1400,316-1750,343 [4,00]",
        "L 370,343-1400,370 [Concepto 5]", "R 1400,343-1750,370 [5,00]",
        "L 370,370-520,397 [+16% IVA]",    "R 545,370-745,397 [16,00]",
        "L 770,370-920,397 [+4% RE]",      "R 945,370-1145,397 [4,00]",
        "L 370,397-1400,424 [TOTAL]",      "R 1400,397-1750,424 [35,00]",
    };
    QCOMPARE(DescribeBlock(r), expected);
}

void TestConceptBlock::countFourReachesBelowTheBox() {
    CRecibo r;
    sample::AddConcepts(r, 2);
    SetTaxes(r, true, false, false);
    const QList<QByteArray> block = DescribeBlock(r);
    QCOMPARE(block.size(), 8);
    QCOMPARE(block[6], QByteArray("L 370,415-1400,460 [TOTAL]"));
    QCOMPARE(block[7], QByteArray("R 1400,415-1750,460 [19,00]"));
}

void TestConceptBlock::emptyBlockDrawsNoLineNotEvenTotal() {
    CRecibo r;
    r.m_Iva = "16"; // a percentage without an amount prints nothing
    QCOMPARE(DescribeBlock(r), QList<QByteArray>{});

    RecordingSurface page;
    CRecibo again;
    again.Dibujar(page);
    QVERIFY(page.Find("TOTAL") == nullptr);
    // The amount box still shows the total.
    bool amountBox = false;
    for (const RecordedText& t : page.texts) {
        if (t.boxed && t.rect == Rect{1400, 65, 1750, 110}) {
            QCOMPARE(t.text, std::string("0,00"));
            amountBox = true;
        }
    }
    QVERIFY(amountBox);
}

void TestConceptBlock::sharedTaxLineColumns_data() {
    QTest::addColumn<bool>("iva");
    QTest::addColumn<bool>("re");
    QTest::addColumn<bool>("irpf");
    QTest::addColumn<QList<QByteArray>>("taxLine");

    QTest::newRow("IVA and RE") << true << true << false
                                << QList<QByteArray>{
                                       "L 370,370-520,397 [+16% IVA]", "R 545,370-745,397 [16,00]",
                                       "L 770,370-920,397 [+4% RE]", "R 945,370-1145,397 [4,00]"};
    QTest::newRow("RE and IRPF: no gap for IVA")
        << false << true << true
        << QList<QByteArray>{"L 370,370-520,397 [+4% RE]", "R 545,370-745,397 [4,00]",
                             "L 770,370-920,397 [+15% IRPF]", "R 945,370-1145,397 [-15,00]"};
    QTest::newRow("IVA and IRPF") << true << false << true
                                  << QList<QByteArray>{"L 370,370-520,397 [+16% IVA]",
                                                       "R 545,370-745,397 [16,00]",
                                                       "L 770,370-920,397 [+15% IRPF]",
                                                       "R 945,370-1145,397 [-15,00]"};
    QTest::newRow("all three, count 9")
        << true << true << true
        << QList<QByteArray>{"L 370,370-520,397 [+16% IVA]",    "R 545,370-745,397 [16,00]",
                             "L 770,370-920,397 [+4% RE]",      "R 945,370-1145,397 [4,00]",
                             "L 1170,370-1320,397 [+15% IRPF]", "R 1345,370-1545,397 [-15,00]"};
}

void TestConceptBlock::sharedTaxLineColumns() {
    QFETCH(bool, iva);
    QFETCH(bool, re);
    QFETCH(bool, irpf);
    QFETCH(QList<QByteArray>, taxLine);

    CRecibo r;
    sample::AddConcepts(r, 5);
    SetTaxes(r, iva, re, irpf);
    const QList<QByteArray> block = DescribeBlock(r);
    // Five concept lines (10 texts), the tax line, then TOTAL on the next band.
    QCOMPARE(block.mid(10, taxLine.size()), taxLine);
    QCOMPARE(block.size(), 10 + taxLine.size() + 2);
    QVERIFY(block.last().startsWith("R 1400,397-1750,424 "));
}

void TestConceptBlock::presence_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Currency>("amount");
    QTest::addColumn<QList<QByteArray>>("drawn");

    QTest::newRow("text with a zero amount: text only")
        << QByteArray("Portes") << Currency(0) << QList<QByteArray>{"L 370,285-1400,335 [Portes]"};
    QTest::newRow("amount with an empty text: amount only")
        << QByteArray() << Currency(20000)
        << QList<QByteArray>{"L 370,285-1400,335 []", "R 1400,285-1750,335 [2,00]"};
    QTest::newRow("a text of blanks is present")
        << QByteArray("  ") << Currency(0) << QList<QByteArray>{"L 370,285-1400,335 [  ]"};
    QTest::newRow("empty text and valid zero: absent")
        << QByteArray() << Currency(0) << QList<QByteArray>{};
    QTest::newRow("a null amount is present and prints its value")
        << QByteArray() << Currency::Null()
        << QList<QByteArray>{"L 370,285-1400,335 []", "R 1400,285-1750,335 [0,00]"};
    QTest::newRow("an invalid amount is present and prints its value")
        << QByteArray("Error") << Currency::Invalid(123400)
        << QList<QByteArray>{"L 370,285-1400,335 [Error]", "R 1400,285-1750,335 [12,34]"};
}

void TestConceptBlock::presence() {
    QFETCH(QByteArray, text);
    QFETCH(Currency, amount);
    QFETCH(QList<QByteArray>, drawn);

    CRecibo r;
    r.m_Concepto3 = text.toStdString();
    r.m_Importe3 = amount;
    QCOMPARE(DescribeBlock(r), drawn);
}

void TestConceptBlock::taxLabelsAreWrittenBack_data() {
    QTest::addColumn<QByteArray>("iva");
    QTest::addColumn<QByteArray>("re");
    QTest::addColumn<QByteArray>("irpf");
    QTest::addColumn<bool>("amounts");

    QTest::newRow("with tax amounts")
        << QByteArray("16") << QByteArray("1,75") << QByteArray("15") << true;
    QTest::newRow("without any tax line")
        << QByteArray("16") << QByteArray("1,75") << QByteArray("15") << false;
    QTest::newRow("empty percentages") << QByteArray() << QByteArray() << QByteArray() << false;
}

void TestConceptBlock::taxLabelsAreWrittenBack() {
    QFETCH(QByteArray, iva);
    QFETCH(QByteArray, re);
    QFETCH(QByteArray, irpf);
    QFETCH(bool, amounts);

    CRecibo r;
    r.m_Iva = iva.toStdString();
    r.m_Re = re.toStdString();
    r.m_Irpf = irpf.toStdString();
    if (amounts) {
        r.m_ImporteIva = Currency(10000);
        r.m_ImporteRe = Currency(10000);
        r.m_ImporteIrpf = Currency(-10000);
    }
    RecordingSurface page;
    r.Dibujar(page);
    QCOMPARE(r.m_Iva, "+" + iva.toStdString() + "% IVA");
    QCOMPARE(r.m_Re, "+" + re.toStdString() + "% RE");
    QCOMPARE(r.m_Irpf, "+" + irpf.toStdString() + "% IRPF");
    QCOMPARE(page.Find(r.m_Iva) != nullptr, amounts);
}

void TestConceptBlock::irpfLineCarriesPlusAndMinus() {
    CRecibo r;
    r.m_Irpf = "18";
    r.m_ImporteIrpf = Currency(-180000);
    const QList<QByteArray> expected{"L 370,285-1400,335 [+18% IRPF]",
                                     "R 1400,285-1750,335 [-18,00]"};
    QCOMPARE(DescribeBlock(r), expected);
}

QTEST_APPLESS_MAIN(TestConceptBlock)
#include "test_concept_block.moc"
