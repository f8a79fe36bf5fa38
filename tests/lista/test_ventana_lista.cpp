// The window "Emitir lista de recibos" under the offscreen platform: the rows and their
// state, the summary, the file read again when it changes, a list saved as one PDF, and the
// remittance of the rows with an IBAN.
#include "lista/Emision.h"
#include "lista/VentanaLista.h"

#include "SampleAdeudos.h"
#include "SampleRecords.h"
#include "platform/SettingsStore.h"
#include "sepa/AjustesAcreedor.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

namespace {

void Escribir(const QString& ruta, const QByteArray& texto) {
    QFile f(ruta);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(texto);
}

QStringList Columna(const QAbstractItemModel* m, int columna) {
    QStringList t;
    for (int fila = 0; fila < m->rowCount(); ++fila)
        t << m->index(fila, columna).data().toString();
    return t;
}

} // namespace

class TestVentanaLista : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void filasResumenYRelectura();
    void remesaDeLosRecibosConIban();

private:
    QTemporaryDir ajustes_;
};

void TestVentanaLista::initTestCase() {
    // The creditor in this run's own settings, before anything reads them.
    qputenv("XDG_CONFIG_HOME", ajustes_.path().toLocal8Bit());
    QCoreApplication::setOrganizationName(QStringLiteral("Quenlaria"));
    QVERIFY(QDir().mkpath(ajustes_.filePath(QStringLiteral("Quenlaria"))));
    platform::SettingsStore store;
    sepa::EscribirAcreedor(store, sample::AcreedorEjemplo());
    QVERIFY(store.Flush());
}

void TestVentanaLista::filasResumenYRelectura() {
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("socios.csv"));
    Escribir(csv, "Pagador;Concepto 1;Importe 1\nAna;Cuota;30\n\nLuis;Cuota;12.50\n");
    lista::VentanaLista v([] { return sample::Filled(); });
    v.UsarRegistro(dir.filePath(QStringLiteral("recibos.sqlite")));
    v.show();
    v.Abrir(csv);

    const auto* tabla = v.findChild<QTableView*>(QStringLiteral("tablaLista"));
    QVERIFY(tabla != nullptr);
    const QAbstractItemModel* m = tabla->model();
    QCOMPARE(Columna(m, 0), (QStringList{"2", "4"}));
    QCOMPARE(Columna(m, 1), (QStringList{"17", "18"}));
    QCOMPARE(Columna(m, 5),
             (QStringList{"Correcta", "Fila 4, Importe 1: \"12.50\" no es un importe"}));
    const auto* resumen = v.findChild<QLabel*>(QStringLiteral("resumen"));
    // 30 + 34,56 of the template = 64,56; + 10,33 IVA - 9,68 IRPF.
    QCOMPARE(resumen->text(), QStringLiteral("2 recibos, total 65,21 €; 1 fila con errores"));
    QVERIFY(!v.findChild<QPushButton*>(QStringLiteral("guardarPdf"))->isEnabled());

    // Corrected in the spreadsheet and saved: read again by itself.
    Escribir(csv, "Pagador;Concepto 1;Importe 1;Importe 2\nAna;Cuota;30;\nLuis;Cuota;12,50;\n");
    // 30 + 4,80 - 4,50 and 12,50 + 2,00 - 1,88.
    QTRY_COMPARE(resumen->text(), QStringLiteral("2 recibos, total 42,92 €"));
    QVERIFY(v.findChild<QPushButton*>(QStringLiteral("guardarPdf"))->isEnabled());

    lista::PedidoEmision pedido;
    pedido.ruta = dir.filePath(QStringLiteral("socios.pdf"));
    const lista::Emision e = v.EmitirA(pedido);
    QCOMPARE(e.error, QString());
    QCOMPARE(e.estado, lista::Emision::Estado::Emitida);
    QCOMPARE(e.lote, 1);
    QVERIFY(QFile::exists(pedido.ruta));
}

void TestVentanaLista::remesaDeLosRecibosConIban() {
    QTemporaryDir dir;
    const QString csv = dir.filePath(QStringLiteral("socios.csv"));
    Escribir(csv, "Pagador;Importe 1;IBAN;Mandato;Fecha del mandato\n"
                  "Ana;30;" +
                      QByteArray::fromStdString(sample::IbanFicticio(7)) +
                      ";M-7;01/01/2020\n"
                      "Luis;20;;;\n");
    lista::VentanaLista v([] { return sample::Filled(); });
    v.UsarRegistro(dir.filePath(QStringLiteral("recibos.sqlite")));
    v.show();
    v.Abrir(csv);
    QVERIFY(v.findChild<QPushButton*>(QStringLiteral("remesaSepa"))->isEnabled());

    const sepa::Fecha hoy = sepa::Hoy();
    const QString xml = dir.filePath(QStringLiteral("socios.xml"));
    const lista::Emision e = v.EmitirRemesa(xml, lista::FechaDe(sepa::PrimerDiaValido(hoy, hoy)));
    QCOMPARE(e.error, QString());
    QCOMPARE(e.estado, lista::Emision::Estado::Emitida);
    QCOMPARE(e.remesa.adeudos, 1);
    QCOMPARE(e.sinAdeudo, 1);
    QVERIFY(QFile::exists(xml));
    QCOMPARE(v.findChild<QLabel*>(QStringLiteral("resumen"))->text(),
             lista::ResumenRemesa(e.remesa, 1) + QStringLiteral(" a %1.").arg(xml));
}

QTEST_MAIN(TestVentanaLista)
#include "test_ventana_lista.moc"
