// The register and the printer, through the tests' own print server. A reprint from the
// register is the receipt as it was first printed: the stored record gives the same texts at
// the same places as the original. An invoice on paper: once the printer is chosen the receipt
// and its alta are recorded, and only then is the job handed over; a receipt that cannot be
// recorded prints nothing.
#include "../print/ChoiceDriver.h"
#include "../print/PrintTestSupport.h"
#include "MuestrasFactura.h"
#include "SampleRecords.h"
#include "register/AnotarEmitido.h"
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

class TestRegistroImpresion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void reprintPrintsTheSamePage_data();
    void reprintPrintsTheSamePage();
    void registroAntesDelTrabajo_data();
    void registroAntesDelTrabajo();
};

void TestRegistroImpresion::initTestCase() {
    if (const QString por = printtest::WhyNoServer(); !por.isEmpty())
        QSKIP(qPrintable(por));
}

void TestRegistroImpresion::reprintPrintsTheSamePage_data() {
    QTest::addColumn<CRecibo>("recibo");
    QTest::newRow("the printed sample, blue, cross-hatched") << sample::Filled();
    QTest::newRow("awkward texts, null and invalid amounts, brown, solid") << sample::Awkward();
}

void TestRegistroImpresion::reprintPrintsTheSamePage() {
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

// Why a receipt is refused is the register's own test; here, only what reaches the queue.
void TestRegistroImpresion::registroAntesDelTrabajo_data() {
    QTest::addColumn<CRecibo>("recibo");
    QTest::addColumn<int>("trabajos");
    QTest::newRow("recorded with its alta, then printed")
        << muestra::Factura("1", 10000, "21") << 1;
    QTest::newRow("not recorded (over 400 € without NIF): nothing printed")
        << muestra::Factura("2", 50000, "21", "0", "0", "") << 0;
}

void TestRegistroImpresion::registroAntesDelTrabajo() {
    QFETCH(CRecibo, recibo);
    QFETCH(int, trabajos);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("recibos.sqlite"));
    const QList<int> antes = printtest::JobIds(COLA);
    QString dicho;
    int trabajosAlAnotar = -1;
    ResultadoImpresion r;
    {
        ChoiceDriver driver(ChoiceDriver::Press::Accept, COLA);
        r = salida::ImprimirRecibo(recibo, {}, [&](const std::string& impresora) {
            trabajosAlAnotar = int(printtest::JobIds(COLA).size());
            dicho = registro::AnotarFacturaEn(ruta, recibo, QString::fromStdString(impresora),
                                              muestra::Emisor());
            return dicho.isEmpty();
        });
    }
    registro::detail::OlvidarAviso();              // closes the store the print path keeps
    QCOMPARE(trabajosAlAnotar, int(antes.size())); // nothing handed over before the record
    QCOMPARE(int(printtest::JobIds(COLA).size() - antes.size()), trabajos);
    QCOMPARE(r.estado, trabajos == 1 ? ResultadoImpresion::Estado::Impresa
                                     : ResultadoImpresion::Estado::Cancelada);
    registro::Registro reg(ruta);
    QVERIFY(reg.Abrir());
    QCOMPARE(qint64(reg.RegistrosFacturacion().size()), qint64(trabajos));
    QVERIFY2(dicho.isEmpty() == (trabajos == 1), qPrintable(dicho));
}

QTEST_MAIN(TestRegistroImpresion)
#include "test_registro_impresion.moc"
