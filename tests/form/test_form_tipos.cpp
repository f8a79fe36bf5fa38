// The percentage lists the user chooses: read from the settings (hand-written keys too), a
// remembered percentage that the lists lack kept and selected, and "Tipos impositivos…"
// with its refusals, its two presets, "Aceptar" and "Cancelar".
#include "FormFixture.h"

#include "tipos/DialogoTipos.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QSettings>
#include <QTimer>
#include <QtTest>

#include <functional>

namespace {

constexpr int kIva = 1036, kRe = 1038, kIrpf = 1039, kTotal = 1028, kReEuros = 1027;

QStringList Entries(CTalveroDlg& dlg, int id) {
    QStringList entries;
    for (int i = 0; i < List(dlg, id)->count(); ++i)
        entries << List(dlg, id)->itemText(i);
    return entries;
}

// Runs `actuar` on the "Tipos impositivos" window once the menu has opened it, then presses
// "Aceptar" or "Cancelar".
void ConLaVentanaDeTipos(CTalveroDlg& dlg, const std::function<void(QDialog&)>& actuar,
                         QDialogButtonBox::StandardButton cierre) {
    QString vista;
    QTimer::singleShot(0, &dlg, [&] {
        auto* ventana = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        vista = ventana->objectName();
        actuar(*ventana);
        ventana->findChild<QDialogButtonBox*>()->button(cierre)->click();
    });
    for (QAction* action : dlg.MenuBar()->findChildren<QAction*>())
        if (action->text() == QStringLiteral("&Tipos impositivos…"))
            action->trigger();
    QCOMPARE(vista, QStringLiteral("tiposImpositivos"));
}

void Pulsar(QDialog& ventana, const char* nombre) {
    QTest::mouseClick(ventana.findChild<QPushButton*>(QLatin1String(nombre)), Qt::LeftButton);
}

} // namespace

class TestFormTipos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { settings_.Clear(); }
    void listsFromTheSettingsFile_data();
    void listsFromTheSettingsFile();
    void hugeKeyStillOpensTheForm();
    void rememberedPercentageIsKeptUntilAnotherIsChosen();
    void todaysRatesComputeExactly_data();
    void todaysRatesComputeExactly();
    void dialogRefusesWhatDoesNotQualify_data();
    void dialogRefusesWhatDoesNotQualify();
    void presetsAcceptAndCancel();

private:
    SettingsSandbox settings_{QStringLiteral("talvero-test-form-tipos")};
};

void TestFormTipos::listsFromTheSettingsFile_data() {
    QTest::addColumn<QString>("linea"); // as written by hand in the settings file
    QTest::addColumn<int>("lista");
    QTest::addColumn<QStringList>("entradas");
    QTest::newRow("no key: the original list, sorted")
        << "" << kIva << QStringList{"0", "16", "4", "7"};
    QTest::newRow("quoted, as the README shows")
        << "TiposRE=\"0;0,5;1,4;1,75;5,2\"" << kRe << QStringList{"0", "0,5", "1,4", "1,75", "5,2"};
    QTest::newRow("unquoted: the rest of the line is a comment")
        << "TiposIVA=4;10;21" << kIva << QStringList{"0", "4"};
    QTest::newRow("unquoted comma read back") << "TiposRE=5,2" << kRe << QStringList{"0", "5,2"};
    QTest::newRow("odd items, spaces, zeros and points")
        << "TiposIRPF=\" 19 ;abc;07;5.5;-1;019\"" << kIrpf << QStringList{"0", "19", "7"};
    QTest::newRow("empty key: the original list")
        << "TiposIRPF=" << kIrpf << QStringList{"0", "15", "18"};
}

void TestFormTipos::listsFromTheSettingsFile() {
    QFETCH(QString, linea);
    QFETCH(int, lista);
    QFETCH(QStringList, entradas);
    QFile file(QSettings().fileName());
    QDir().mkpath(QFileInfo(file).absolutePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Aplicacion%20Talvero]\n" + linea.toUtf8() + "\n");
    file.close();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(Entries(dlg, lista), entradas);
    QCOMPARE(Text(dlg, lista), QStringLiteral("0"));
}

void TestFormTipos::hugeKeyStillOpensTheForm() {
    std::string enorme;
    for (int n = 0; enorme.size() < 600'000; ++n)
        enorme += std::to_string(n % 100) + ',' + std::to_string(n / 100 % 10) + ";basura;";
    settings_.Put("TiposRE", enorme);
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(List(dlg, kRe)->count(), 1000); // every RE from 0 to 99,9 in tenths
    QCOMPARE(List(dlg, kRe)->itemText(999), QStringLiteral("99,9"));
}

void TestFormTipos::rememberedPercentageIsKeptUntilAnotherIsChosen() {
    settings_.Put("TiposIVA", "0;4;10;21");
    settings_.Put("IVA_STRING", "16");
    settings_.Put("Importe1", "1.000,00");
    for (int vez = 0; vez < 2; ++vez) { // the same after a restart
        CTalveroDlg dlg;
        QVERIFY(Open(dlg));
        QCOMPARE(Entries(dlg, kIva), QStringList({"0", "10", "16", "21", "4"}));
        QCOMPARE(Text(dlg, kIva), QStringLiteral("16"));
        QCOMPARE(Text(dlg, kTotal), QStringLiteral("1.160,00"));
        dlg.reject();
    }
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Choose(dlg, kIva, QStringLiteral("21"));
    QVERIFY(Entries(dlg, kIva).contains(QStringLiteral("16"))); // until the form closes
    dlg.reject();
    CTalveroDlg despues;
    QVERIFY(Open(despues));
    QCOMPARE(Entries(despues, kIva), QStringList({"0", "10", "21", "4"}));
    QCOMPARE(Text(despues, kTotal), QStringLiteral("1.210,00"));
}

void TestFormTipos::todaysRatesComputeExactly_data() {
    QTest::addColumn<QString>("re");
    QTest::addColumn<QString>("importeRe");
    QTest::addColumn<QString>("total");
    // 1.000,00 at IVA 21 and IRPF 19: 1.000 + 210 - 190 = 1.020, plus the RE.
    QTest::newRow("RE 5,2") << "5,2"
                            << "52,00"
                            << "1.072,00";
    QTest::newRow("RE 1,4") << "1,4"
                            << "14,00"
                            << "1.034,00";
    // 2,3 is 2,2999... as a double: its digits give 23,00, not 22,90.
    QTest::newRow("RE 2,3 chosen by hand") << "2,3"
                                           << "23,00"
                                           << "1.043,00";
}

void TestFormTipos::todaysRatesComputeExactly() {
    QFETCH(QString, re);
    QFETCH(QString, importeRe);
    QFETCH(QString, total);
    settings_.Put("TiposIVA", "0;4;10;21");
    settings_.Put("TiposRE", "0;0,5;1,4;1,75;2,3;5,2");
    settings_.Put("TiposIRPF", "0;1;2;7;15;19");
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    TypeInto(dlg, 1007, QStringLiteral("1000"));
    Choose(dlg, kIva, QStringLiteral("21"));
    Choose(dlg, kRe, re);
    Choose(dlg, kIrpf, QStringLiteral("19"));
    QCOMPARE(Text(dlg, kReEuros), importeRe);
    QCOMPARE(Text(dlg, kTotal), total);
}

void TestFormTipos::dialogRefusesWhatDoesNotQualify_data() {
    QTest::addColumn<QString>("columna");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("a point decimal") << "RE"
                                     << "5.2"
                                     << "coma";
    QTest::newRow("IVA above 99") << "IVA"
                                  << "100"
                                  << "99";
    QTest::newRow("an item already there") << "IRPF"
                                           << "015"
                                           << "ya está";
}

void TestFormTipos::dialogRefusesWhatDoesNotQualify() {
    QFETCH(QString, columna);
    QFETCH(QString, escrito);
    QFETCH(QString, motivo);
    tipos::Listas listas{tipos::Originales(tipos::Impuesto::Iva),
                         tipos::Originales(tipos::Impuesto::Re),
                         tipos::Originales(tipos::Impuesto::Irpf)};
    tipos::DialogoTipos ventana(listas, nullptr);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    const tipos::Listas antes = ventana.Elegidas();
    auto* edicion = ventana.findChild<QLineEdit*>(QStringLiteral("nuevo") + columna);
    QTest::keyClicks(edicion, escrito);
    QTest::keyClick(edicion, Qt::Key_Return);
    QCOMPARE(ventana.Elegidas(), antes);
    QVERIFY(ventana.isVisible()); // Enter did not close it
    const QString dicho = ventana.findChild<QLabel*>(QStringLiteral("motivo") + columna)->text();
    QVERIFY2(dicho.contains(motivo), qPrintable(dicho));
    // "0" cannot be removed either.
    auto* lista = ventana.findChild<QListWidget*>(QStringLiteral("lista") + columna);
    lista->setCurrentRow(0);
    Pulsar(ventana, qPrintable(QStringLiteral("quitar") + columna));
    QCOMPARE(ventana.Elegidas(), antes);
}

void TestFormTipos::presetsAcceptAndCancel() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Choose(dlg, kIva, QStringLiteral("16"));

    ConLaVentanaDeTipos(
        dlg, [](QDialog& v) { Pulsar(v, "tiposVigentes"); }, QDialogButtonBox::Cancel);
    QVERIFY(!settings_.Has("TiposIVA"));
    QCOMPARE(Entries(dlg, kIva), QStringList({"0", "16", "4", "7"}));

    ConLaVentanaDeTipos(
        dlg, [](QDialog& v) { Pulsar(v, "tiposVigentes"); }, QDialogButtonBox::Ok);
    QCOMPARE(settings_.Get("TiposIVA"), std::string("0;10;21;4"));
    QCOMPARE(settings_.Get("TiposRE"), std::string("0;0,5;1,4;1,75;5,2"));
    QCOMPARE(settings_.Get("TiposIRPF"), std::string("0;1;15;19;2;7"));
    // The chosen "16" stays selected and in the list, but the window shows the lists only.
    QCOMPARE(Entries(dlg, kIva), QStringList({"0", "10", "16", "21", "4"}));
    QCOMPARE(Text(dlg, kIva), QStringLiteral("16"));

    ConLaVentanaDeTipos(
        dlg,
        [](QDialog& v) {
            QCOMPARE(v.findChild<QListWidget*>(QStringLiteral("listaIVA"))->count(), 4);
            Pulsar(v, "tiposOriginales");
        },
        QDialogButtonBox::Ok);
    for (const char* clave : {"TiposIVA", "TiposRE", "TiposIRPF"})
        QVERIFY(!settings_.Has(clave));
    QCOMPARE(Entries(dlg, kIva), QStringList({"0", "16", "4", "7"}));
    QCOMPARE(Text(dlg, kIva), QStringLiteral("16"));
}

QTEST_MAIN(TestFormTipos)
#include "test_form_tipos.moc"
