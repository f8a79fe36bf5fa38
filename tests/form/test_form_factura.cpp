// "Guardar como PDF" from the form with VERI*FACTU on and off: an invoice is checked before
// the file dialog opens, and leaves only once it is recorded with its alta; with the mode off
// the receipt leaves as it always has, with no invoicing record.
#include "FormFixture.h"
#include "SaveDialogDriver.h"
#include "register/AnotarEmitido.h"
#include "register/Registro.h"
#include "resources/templates/Recursos.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace res;

namespace {

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

qint64 Filas(const QString& tabla) {
    registro::Registro reg(registro::Registro::RutaPorDefecto());
    if (!reg.Abrir())
        return -1;
    QSqlQuery q(reg.Base());
    return q.exec(QStringLiteral("SELECT count(*) FROM ") + tabla) && q.next()
               ? q.value(0).toLongLong()
               : -1;
}

} // namespace

class TestFormFactura : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void guardarPdf_data();
    void guardarPdf();

private:
    SettingsSandbox settings_{QStringLiteral("talvero-test-form-factura")};
};

void TestFormFactura::init() {
    settings_.Clear();
    settings_.Put("TiposIVA", "0;4;10;21");
    registro::detail::OlvidarAviso(); // closes the register the print path keeps open
    for (const char* sufijo : {"", "-wal", "-shm"})
        QFile::remove(registro::Registro::RutaPorDefecto() + QLatin1String(sufijo));
}

void TestFormFactura::guardarPdf_data() {
    QTest::addColumn<bool>("verifactu");
    QTest::addColumn<QString>("importe");
    QTest::addColumn<QString>("pagador2");
    QTest::addColumn<int>("veces");       // the same receipt saved this many times
    QTest::addColumn<int>("guardados");   // PDFs written
    QTest::addColumn<int>("altas");       // invoicing records
    QTest::addColumn<QString>("mensaje"); // in the refusal; empty when none

    // clang-format off
    QTest::newRow("on: saved once recorded with its alta") << true << "100" << "NIF 00000000T" << 1 << 1 << 1 << "";
    QTest::newRow("on: over 400 € without the payer's NIF, refused before the dialog") << true << "500" << "C/ MAYOR, 3" << 1 << 0 << 0 << "«Pagador (2ª línea)»";
    QTest::newRow("on: the same number again is refused") << true << "100" << "NIF 00000000T" << 2 << 1 << 1 << "ya se ha usado";
    QTest::newRow("off: saved as always, no invoicing record") << false << "500" << "C/ MAYOR, 3" << 2 << 2 << 0 << "";
    // clang-format on
}

void TestFormFactura::guardarPdf() {
    QFETCH(bool, verifactu);
    QFETCH(QString, importe);
    QFETCH(QString, pagador2);
    QFETCH(int, veces);
    QFETCH(int, guardados);
    QFETCH(int, altas);
    QFETCH(QString, mensaje);
    if (verifactu) {
        settings_.Put("VerifactuActivo", "true");
        settings_.Put("EmisorNif", "12345678Z");
        settings_.Put("EmisorNombre", "TALLERES GIL SL");
        settings_.Put("VerifactuServidor", "pruebas");
    }
    QTemporaryDir out;
    auto dlg = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(*dlg));
    TypeInto(*dlg, IDC_NUMERO, QStringLiteral("F-1"));
    TypeInto(*dlg, IDC_CONCEPTO1, QStringLiteral("Reparación"));
    TypeInto(*dlg, IDC_EUROS1, importe);
    TypeInto(*dlg, IDC_PAGADOR1, QStringLiteral("Ana Gil"));
    TypeInto(*dlg, IDC_PAGADOR2, pagador2);
    Choose(*dlg, IDC_IVA, QStringLiteral("21"));
    QStringList mensajes;
    int dialogos = 0;
    for (int i = 0; i < veces; ++i) {
        SaveDialogDriver driver(out.filePath(QStringLiteral("Recibo %1.pdf").arg(i)));
        dlg->OnGuardarPdf();
        mensajes << driver.messages;
        dialogos += driver.dialogsSeen;
    }
    QCOMPARE(FilesIn(out.path()).size(), guardados); // never a temporary file left
    QCOMPARE(dialogos, guardados);
    QCOMPARE(Filas(QStringLiteral("recibos")), qint64(guardados));
    QCOMPARE(Filas(QStringLiteral("registros_facturacion")), qint64(altas));
    if (mensaje.isEmpty()) {
        QCOMPARE(mensajes, QStringList());
    } else {
        QCOMPARE(mensajes.size(), 1);
        QVERIFY2(mensajes[0].contains(mensaje), qPrintable(mensajes[0]));
    }
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
}

QTEST_MAIN(TestFormFactura)
#include "test_form_factura.moc"
