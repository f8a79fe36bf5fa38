// The creditor's data in the settings: read and checked for a remittance, and edited in
// "Datos del acreedor", which the form builds only when its menu entry is used.
#include "FormFixture.h"
#include "ModalWatcher.h"
#include "SampleAdeudos.h"
#include "sepa/AjustesAcreedor.h"
#include "sepa/DatosAcreedor.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QMenuBar>
#include <QtTest>

Q_DECLARE_METATYPE(sepa::Acreedor)

class TestSepaAcreedor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { sandbox_.Clear(); }
    void cargarAcreedor_data();
    void cargarAcreedor();
    void ventanaGuardaSoloDatosBuenos();
    void elMenuLaConstruyeAlUsarlo();

private:
    void Guardar(const sepa::Acreedor& a) {
        platform::SettingsStore store;
        sepa::EscribirAcreedor(store, a);
        QVERIFY(store.Flush());
    }
    SettingsSandbox sandbox_{QStringLiteral("test_sepa_acreedor")};
};

void TestSepaAcreedor::cargarAcreedor_data() {
    // clang-format off
    QTest::addColumn<sepa::Acreedor>("guardado");
    QTest::addColumn<QString>("error"); // a part of it; empty when the data is right
    const sepa::Acreedor bueno = sample::AcreedorEjemplo();
    QTest::newRow("nada guardado") << sepa::Acreedor{} << "Faltan los datos del acreedor";
    QTest::newRow("como se teclean") << bueno << "";
    sepa::Acreedor a = bueno;
    a.bic = "";
    QTest::newRow("sin BIC") << a << "";
    a.iban = "ES5812345678010123456780";
    QTest::newRow("IBAN con otra cifra") << a << "no son válidos; IBAN: los dígitos de control";
    // clang-format on
}

void TestSepaAcreedor::cargarAcreedor() {
    QFETCH(sepa::Acreedor, guardado);
    QFETCH(QString, error);
    Guardar(guardado);
    const sepa::AcreedorCargado cargado = sepa::CargarAcreedor(platform::SettingsStore());
    const QString dicho = QString::fromStdString(cargado.error);
    if (error.isEmpty()) {
        QCOMPARE(dicho, QString());
        QCOMPARE(cargado.acreedor.iban, std::string("ES5812345678010123456789"));
    } else {
        QVERIFY2(dicho.contains(error), qPrintable(dicho));
        QVERIFY(dicho.contains(QStringLiteral("«Recibos → Datos del acreedor…»")));
    }
}

void TestSepaAcreedor::ventanaGuardaSoloDatosBuenos() {
    ModalWatcher watcher;
    sepa::DatosAcreedor ventana;
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    auto* iban = ventana.findChild<QLineEdit*>(QStringLiteral("iban"));
    auto* aceptar = ventana.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    const sepa::Acreedor a = sample::AcreedorEjemplo();
    ventana.findChild<QLineEdit*>(QStringLiteral("nombre"))
        ->setText(QString::fromStdString(a.nombre));
    ventana.findChild<QLineEdit*>(QStringLiteral("identificador"))
        ->setText(QStringLiteral("es72 000 h50123456"));
    iban->setText(QStringLiteral("ES58 1234 5678 0101 2345 678"));

    QTest::mouseClick(aceptar, Qt::LeftButton);
    QTRY_COMPARE(watcher.messages().size(), 1);
    QVERIFY2(watcher.messages().at(0).startsWith(
                 QStringLiteral("IBAN: un IBAN de España (ES) tiene 24")),
             qPrintable(watcher.messages().at(0)));
    QVERIFY(ventana.isVisible());
    QVERIFY(!sandbox_.Has("AcreedorIban"));

    iban->setText(QStringLiteral("es58 1234 5678 0101 2345 6789"));
    auto* version = ventana.findChild<QComboBox*>(QStringLiteral("versionRemesa"));
    QCOMPARE(version->currentData().toString(), QStringLiteral("pain.008.001.08")); // absent
    version->setCurrentIndex(version->findData(QStringLiteral("pain.008.001.02")));
    QTest::mouseClick(aceptar, Qt::LeftButton);
    QCOMPARE(watcher.messages().size(), 1);
    QVERIFY(!ventana.isVisible());
    QCOMPARE(sandbox_.Get("AcreedorIban"), std::string("ES5812345678010123456789"));
    QCOMPARE(sandbox_.Get("AcreedorIdentificador"), std::string("ES72000H50123456"));
    QCOMPARE(sandbox_.Get("AcreedorNombre"), a.nombre);
    QCOMPARE(sandbox_.Get("AcreedorBic"), std::string());
    QCOMPARE(sandbox_.Get("AcreedorVersionRemesa"), std::string("pain.008.001.02"));
    // Opened again, it shows what was saved.
    sepa::DatosAcreedor otra;
    QCOMPARE(otra.findChild<QLineEdit*>(QStringLiteral("iban"))->text(),
             QStringLiteral("ES5812345678010123456789"));
    QCOMPARE(otra.findChild<QComboBox*>(QStringLiteral("versionRemesa"))->currentData().toString(),
             QStringLiteral("pain.008.001.02"));
}

void TestSepaAcreedor::elMenuLaConstruyeAlUsarlo() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(dlg.findChild<sepa::DatosAcreedor*>(), nullptr);
    QAction* entrada = nullptr;
    for (QAction* menu : dlg.MenuBar()->actions())
        if (menu->text() == QStringLiteral("&Recibos"))
            for (QAction* a : menu->menu()->actions())
                if (a->text() == QStringLiteral("&Datos del acreedor…"))
                    entrada = a;
    QVERIFY(entrada != nullptr);
    entrada->trigger();
    entrada->trigger();
    const auto ventanas = dlg.findChildren<sepa::DatosAcreedor*>();
    QCOMPARE(ventanas.size(), 1);
    QCOMPARE(ventanas.at(0)->objectName(), QStringLiteral("datosAcreedor"));
    QVERIFY(ventanas.at(0)->isVisible());
    ventanas.at(0)->reject();
}

QTEST_MAIN(TestSepaAcreedor)
#include "test_sepa_acreedor.moc"
