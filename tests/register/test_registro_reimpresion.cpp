// A reprint from the register is the receipt that was first issued: printed through the
// tests' own print server, the stored record gives the same texts at the same places as
// the original.
#include "../print/ChoiceDriver.h"
#include "../print/PrintTestSupport.h"
#include "SampleRecords.h"
#include "register/Registro.h"
#include "salida/ImprimirRecibo.h"

#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CRecibo)

namespace {

const QString COLA = QStringLiteral("TalveroPDF");

// Prints with the choice confirmed on the PDF queue and returns the words of its PDF.
QStringList ImprimirYLeer(CRecibo recibo) {
    const QList<int> antes = printtest::JobIds(COLA);
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept, COLA);
        salida::ImprimirRecibo(recibo);
    }
    int trabajo = -1;
    for (int id : printtest::JobIds(COLA))
        if (!antes.contains(id))
            trabajo = id;
    if (trabajo < 0)
        return {};
    printtest::WaitForJobEnd(COLA, trabajo);
    QStringList palabras;
    for (const printtest::Word& w : printtest::Words(printtest::PdfOfJob(trabajo)))
        palabras << QStringLiteral("%1 @ %2,%3")
                        .arg(w.text)
                        .arg(qRound(w.box.left() * 10))
                        .arg(qRound(w.box.top() * 10));
    return palabras;
}

} // namespace

class TestRegistroReimpresion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reprintPrintsTheSamePage_data();
    void reprintPrintsTheSamePage();
};

void TestRegistroReimpresion::initTestCase() {
    if (printtest::ServerDir().isEmpty())
        QSKIP("TALVERO_CUPS_DIR is not set: run through ctest");
    if (!printtest::SkipReason().isEmpty())
        QSKIP(qPrintable(printtest::SkipReason()));
}

void TestRegistroReimpresion::reprintPrintsTheSamePage_data() {
    QTest::addColumn<CRecibo>("recibo");
    QTest::newRow("the printed sample, blue, cross-hatched") << sample::Filled();
    QTest::newRow("awkward texts, null and invalid amounts, brown, solid") << sample::Awkward();
}

void TestRegistroReimpresion::reprintPrintsTheSamePage() {
    QFETCH(CRecibo, recibo);
    QTemporaryDir dir;
    registro::Registro reg(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY(reg.Anotar(recibo, COLA));
    const std::optional<CRecibo> guardado = reg.Cargar(1);
    QVERIFY(guardado.has_value());

    const QStringList original = ImprimirYLeer(recibo);
    QVERIFY(original.size() > 20);
    QCOMPARE(ImprimirYLeer(*guardado), original);
}

QTEST_MAIN(TestRegistroReimpresion)
#include "test_registro_reimpresion.moc"
