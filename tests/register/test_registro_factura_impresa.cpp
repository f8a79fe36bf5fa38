// An invoice on paper, through the tests' own print server: once the printer is chosen the
// receipt and its alta are recorded, and only then is the job handed over; a receipt that
// cannot be recorded prints nothing.
#include "../print/ChoiceDriver.h"
#include "../print/PrintTestSupport.h"
#include "MuestrasFactura.h"
#include "register/AnotarEmitido.h"
#include "register/Registro.h"
#include "salida/ImprimirRecibo.h"

#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

Q_DECLARE_METATYPE(CRecibo)

namespace {

const QString COLA = QStringLiteral("TalveroPDF");

qint64 Altas(const QString& ruta) {
    registro::Registro reg(ruta);
    return reg.Abrir() ? qint64(reg.RegistrosFacturacion().size()) : -1;
}

} // namespace

class TestRegistroFacturaImpresa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void registroAntesDelTrabajo_data();
    void registroAntesDelTrabajo();
};

void TestRegistroFacturaImpresa::initTestCase() {
    if (printtest::ServerDir().isEmpty())
        QSKIP("TALVERO_CUPS_DIR is not set: run through ctest");
    if (!printtest::SkipReason().isEmpty())
        QSKIP(qPrintable(printtest::SkipReason()));
}

void TestRegistroFacturaImpresa::registroAntesDelTrabajo_data() {
    QTest::addColumn<CRecibo>("recibo");
    QTest::addColumn<int>("trabajos");
    QTest::addColumn<QString>("motivo"); // why it was not recorded; empty when it was

    QTest::newRow("recorded with its alta, then printed")
        << muestra::Factura("1", 10000, "21") << 1 << "";
    QTest::newRow("not recorded (over 400 € without NIF): nothing printed")
        << muestra::Factura("2", 50000, "21", "0", "0", "") << 0 << "Pagador (2ª línea)";
}

void TestRegistroFacturaImpresa::registroAntesDelTrabajo() {
    QFETCH(CRecibo, recibo);
    QFETCH(int, trabajos);
    QFETCH(QString, motivo);
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
    QCOMPARE(Altas(ruta), qint64(trabajos));
    if (motivo.isEmpty())
        QCOMPARE(dicho, QString());
    else
        QVERIFY2(dicho.contains(motivo), qPrintable(dicho));
}

QTEST_MAIN(TestRegistroFacturaImpresa)
#include "test_registro_factura_impresa.moc"
