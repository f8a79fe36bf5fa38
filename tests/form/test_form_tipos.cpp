// The percentage lists the user chooses: hand-written keys, a huge one, a remembered
// percentage that the lists lack kept and selected, RE read exactly, and "Tipos
// impositivos…" with its refusals, its two presets, "Aceptar" and "Cancelar".
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

constexpr int kIva = 1036, kRe = 1038, kTotal = 1028;

QString Entries(CTalveroDlg& dlg, int id) {
    QStringList entries;
    for (int i = 0; i < List(dlg, id)->count(); ++i)
        entries << List(dlg, id)->itemText(i);
    return entries.join(' ');
}

void Pulsar(QDialog& ventana, const QString& nombre) {
    QTest::mouseClick(ventana.findChild<QPushButton*>(nombre), Qt::LeftButton);
}

// Opens "Tipos impositivos…" from the menu, presses `preajuste` in it and closes it.
void Tipos(CTalveroDlg& dlg, const char* preajuste, QDialogButtonBox::StandardButton cierre,
           int itemsDeIva = 0) {
    QString vista;
    int vistos = 0;
    QTimer::singleShot(0, &dlg, [&] {
        auto* ventana = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        vista = ventana->objectName();
        vistos = ventana->findChild<QListWidget*>(QStringLiteral("listaIVA"))->count();
        Pulsar(*ventana, QLatin1String(preajuste));
        ventana->findChild<QDialogButtonBox*>()->button(cierre)->click();
    });
    for (QAction* action : dlg.MenuBar()->findChildren<QAction*>())
        if (action->text() == QStringLiteral("&Tipos impositivos…"))
            action->trigger();
    QCOMPARE(vista, QStringLiteral("tiposImpositivos"));
    if (itemsDeIva > 0)
        QCOMPARE(vistos, itemsDeIva);
}

} // namespace

class TestFormTipos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { settings_.Clear(); }
    void handWrittenKeys_data();
    void handWrittenKeys();
    void hugeKeyStillOpensTheForm();
    void rememberedPercentageIsKeptUntilAnotherIsChosen();
    void reIsReadFromItsDigits();
    void dialogRefusesWhatDoesNotQualify_data();
    void dialogRefusesWhatDoesNotQualify();
    void presetsAcceptAndCancel();

private:
    SettingsSandbox settings_{QStringLiteral("talvero-test-form-tipos")};
};

void TestFormTipos::handWrittenKeys_data() {
    QTest::addColumn<QString>("linea");
    QTest::addColumn<QString>("entradas"); // of the RE list
    const char* const filas[][3] = {
        {"no key: the original list", "", "0 0,5 1 1,75 4"},
        {"quoted, as the README shows", "TiposRE=\"0;0,5;1,4;1,75;5,2\"", "0 0,5 1,4 1,75 5,2"},
        {"unquoted ';' starts a comment", "TiposRE=4;10", "0 4"},
        {"unquoted ',' read back", "TiposRE=5,2", "0 5,2"},
    };
    for (const auto& [caso, linea, entradas] : filas)
        QTest::newRow(caso) << QString::fromUtf8(linea) << QString::fromUtf8(entradas);
}

void TestFormTipos::handWrittenKeys() {
    QFETCH(QString, linea);
    QFETCH(QString, entradas);
    QFile file(QSettings().fileName());
    QDir().mkpath(QFileInfo(file).absolutePath());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("[Aplicacion%20Talvero]\n" + linea.toUtf8() + "\n");
    file.close();
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(Entries(dlg, kRe), entradas);
    QCOMPARE(Text(dlg, kRe), QStringLiteral("0"));
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
    for (const char* elegir : {"16", "21"}) { // the same after a restart, until 21 is chosen
        CTalveroDlg dlg;
        QVERIFY(Open(dlg));
        QCOMPARE(Entries(dlg, kIva), QStringLiteral("0 10 16 21 4"));
        QCOMPARE(Text(dlg, kIva) + ' ' + Text(dlg, kTotal), QStringLiteral("16 1.160,00"));
        Choose(dlg, kIva, QLatin1String(elegir));
        dlg.reject();
    }
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(Entries(dlg, kIva), QStringLiteral("0 10 21 4"));
    QCOMPARE(Text(dlg, kTotal), QStringLiteral("1.210,00"));
}

void TestFormTipos::reIsReadFromItsDigits() {
    // 2,3 is 2,2999... as a double, which cut to hundredths would give 22,90.
    settings_.Put("TiposRE", "0;2,3");
    settings_.Put("RE_STRING", "2,3");
    settings_.Put("Importe1", "1.000,00");
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    QCOMPARE(Text(dlg, 1027), QStringLiteral("23,00"));
}

void TestFormTipos::dialogRefusesWhatDoesNotQualify_data() {
    QTest::addColumn<QString>("columna");
    QTest::addColumn<QString>("escrito");
    QTest::addColumn<QString>("motivo");
    const char* const filas[][4] = {
        {"a point decimal", "RE", "5.2", "coma"},
        {"an item already there", "IRPF", "015", "ya está"},
    };
    for (const auto& [caso, columna, escrito, motivo] : filas)
        QTest::newRow(caso) << QString::fromUtf8(columna) << QString::fromUtf8(escrito)
                            << QString::fromUtf8(motivo);
}

void TestFormTipos::dialogRefusesWhatDoesNotQualify() {
    QFETCH(QString, columna);
    QFETCH(QString, escrito);
    QFETCH(QString, motivo);
    tipos::DialogoTipos ventana({tipos::Originales(tipos::Impuesto::Iva),
                                 tipos::Originales(tipos::Impuesto::Re),
                                 tipos::Originales(tipos::Impuesto::Irpf)},
                                nullptr);
    ventana.show();
    QVERIFY(QTest::qWaitForWindowExposed(&ventana));
    const tipos::Listas antes = ventana.Elegidas();
    auto* edicion = ventana.findChild<QLineEdit*>(QStringLiteral("nuevo") + columna);
    QTest::keyClicks(edicion, escrito);
    QTest::keyClick(edicion, Qt::Key_Return);
    QVERIFY(ventana.isVisible()); // Enter did not close it
    const QString dicho = ventana.findChild<QLabel*>(QStringLiteral("motivo") + columna)->text();
    QVERIFY2(dicho.contains(motivo), qPrintable(dicho));
    // "0" cannot be removed either.
    ventana.findChild<QListWidget*>(QStringLiteral("lista") + columna)->setCurrentRow(0);
    Pulsar(ventana, QStringLiteral("quitar") + columna);
    QCOMPARE(ventana.Elegidas(), antes);
}

void TestFormTipos::presetsAcceptAndCancel() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Choose(dlg, kIva, QStringLiteral("16"));

    Tipos(dlg, "tiposVigentes", QDialogButtonBox::Cancel);
    QVERIFY(!settings_.Has("TiposIVA"));
    QCOMPARE(Entries(dlg, kIva), QStringLiteral("0 16 4 7"));

    Tipos(dlg, "tiposVigentes", QDialogButtonBox::Ok);
    QCOMPARE(settings_.Get("TiposIVA"), std::string("0;10;21;4"));
    QCOMPARE(settings_.Get("TiposRE"), std::string("0;0,5;1,4;1,75;5,2"));
    QCOMPARE(settings_.Get("TiposIRPF"), std::string("0;1;15;19;2;7"));
    // The chosen 16 stays selected in the form; the window shows the lists only (4 items).
    QCOMPARE(Entries(dlg, kIva) + " / " + Text(dlg, kIva), QStringLiteral("0 10 16 21 4 / 16"));

    Tipos(dlg, "tiposOriginales", QDialogButtonBox::Ok, 4);
    for (const char* clave : {"TiposIVA", "TiposRE", "TiposIRPF"})
        QVERIFY(!settings_.Has(clave));
    QCOMPARE(Entries(dlg, kIva) + " / " + Text(dlg, kIva), QStringLiteral("0 16 4 7 / 16"));
}

QTEST_MAIN(TestFormTipos)
#include "test_form_tipos.moc"
