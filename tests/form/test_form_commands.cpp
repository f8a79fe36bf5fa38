// The form's commands as a user runs them: "&Imprimir" with the validation of what was
// typed, the closing paths and the settings they write, "&Borrar Todo", the length limits
// and the capital letters of the data exchange.
#include "FormFixture.h"
#include "ModalWatcher.h"

#include <QDate>
#include <QtTest>

#include <limits>

namespace {

const char* const kMonths[] = {"ENERO",      "FEBRERO", "MARZO",     "ABRIL",
                               "MAYO",       "JUNIO",   "JULIO",     "AGOSTO",
                               "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};

const QString kPrinterChoice = QStringLiteral("platform::PrintDialog");
const QString kNotInteger = QStringLiteral("Introduzca un número entero.");
const QString kNotCurrency = QStringLiteral("Introduzca una moneda.");

} // namespace

class TestFormCommands : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { dlg_.reset(); }

    // --- Print ---------------------------------------------------------------------------
    void printKeepsTheFormOpen();
    void printValidates_data();
    void printValidates();
    void failedSaveStopsAndPrintPutsEarlierValuesBack();
    void failedSaveSelectsTheField();
    void printCapitalisesPlacePayerAndCollector_data();
    void printCapitalisesPlacePayerAndCollector();
    void printTwiceChangesNothingAndSavesNothing();
    void lengthLimits_data();
    void lengthLimits();
    void enterInAnEditNeitherPrintsNorCloses();

    // --- Closing -------------------------------------------------------------------------
    void closingPathsSaveAlike_data();
    void closingPathsSaveAlike();
    void firstRunClosedUntouchedStoresTheDefaults();
    void closingWithAnEmptyDayStillSavesAndCloses();
    void savedValuesComeBackAtTheNextStart();

    // --- Clear all -------------------------------------------------------------------------
    void clearAllOnAFirstRun();
    void clearAllBringsBackTheSavedValues();
    void clearAllThenCloseSavesTheEmptiedFields();

private:
    CTalveroDlg& dlg() { return *dlg_; }
    void Reopen();
    void Print() { QTest::mouseClick(Button(dlg(), 1), Qt::LeftButton); }

    SettingsSandbox sandbox_{QStringLiteral("talvero-test-form-commands")};
    std::unique_ptr<CTalveroDlg> dlg_;
};

void TestFormCommands::init() {
    sandbox_.Clear();
    Reopen();
}

void TestFormCommands::Reopen() {
    dlg_ = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(dlg()));
}

// --- Print -------------------------------------------------------------------------------

void TestFormCommands::printKeepsTheFormOpen() {
    ModalWatcher watcher;
    Print();
    QCOMPARE(watcher.kinds(), QStringList{kPrinterChoice}); // no message: all fields valid
    QVERIFY(dlg().isVisible());
    QCOMPARE(dlg().result(), 0);
    dlg().accept(); // whatever would end it as OK does not
    QVERIFY(dlg().isVisible());
}

void TestFormCommands::printValidates_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message"); // empty: no message

    const QString day = QStringLiteral("Introduzca un número entero entre 1 y 31.");
    const QString year = QStringLiteral("Introduzca un número entero entre 1970 y 3000.");
    QTest::newRow("day emptied") << 1013 << "" << kNotInteger;
    QTest::newRow("day 99") << 1013 << "99" << day;
    QTest::newRow("day 0") << 1013 << "0" << day;
    QTest::newRow("day 32") << 1013 << "32" << day;
    QTest::newRow("day 1 is fine") << 1013 << "1"
                                   << "";
    QTest::newRow("day 31 is fine") << 1013 << "31"
                                    << "";
    QTest::newRow("year emptied") << 1030 << "" << kNotInteger;
    QTest::newRow("year 1969") << 1030 << "1969" << year;
    QTest::newRow("year 3001") << 1030 << "3001" << year;
    QTest::newRow("year 99999999999 does not fit") << 1030 << "99999999999" << kNotInteger;
    QTest::newRow("year 1970 is fine") << 1030 << "1970"
                                       << "";
    QTest::newRow("year 3000 is fine") << 1030 << "3000"
                                       << "";
    QTest::newRow("amount 5 emptied") << 1042 << "" << kNotCurrency;
    QTest::newRow("amount 5 letters") << 1042 << "doce" << kNotCurrency;
    QTest::newRow("amount 5 too large") << 1042 << "99999999999999999999" << kNotCurrency;
    QTest::newRow("amount 5 plain euros are fine") << 1042 << "1234,5"
                                                   << "";
    QTest::newRow("amount 1 emptied is no error") << 1007 << ""
                                                  << "";
    QTest::newRow("amount 1 letters are no error") << 1007 << "doce"
                                                   << "";
}

void TestFormCommands::printValidates() {
    QFETCH(int, id);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    const QDate today = QDate::currentDate();
    TypeInto(dlg(), id, typed);
    ModalWatcher watcher;
    Print();

    // The print goes on after a message.
    if (message.isEmpty()) {
        QCOMPARE(watcher.kinds(), QStringList{kPrinterChoice});
    } else {
        QCOMPARE(watcher.kinds(), (QStringList{"QMessageBox", kPrinterChoice}));
        QCOMPARE(watcher.messages(), QStringList{message});
        QCOMPARE(watcher.seen().first().icon, QMessageBox::Warning);
        QCOMPARE(dlg().FocusedItemId(), id); // on the field to correct
    }
    QVERIFY(dlg().isVisible());

    // What the member holds: a number out of range is taken, an unreadable one is not.
    const bool unreadable = message == kNotInteger;
    if (id == 1013)
        QCOMPARE(dlg().m_Dia, unreadable ? today.day() : typed.toInt());
    if (id == 1030)
        QCOMPARE(dlg().m_Anio, unreadable ? today.year() : typed.toInt());
    if (id == 1042 && !message.isEmpty()) {
        QVERIFY(!dlg().m_Importe5.isValid());
        QCOMPARE(dlg().m_Importe5.value(),
                 typed.size() > 18 ? std::numeric_limits<std::int64_t>::min() : std::int64_t(0));
        // The text that failed stays in front of the user.
        QCOMPARE(Text(dlg(), 1042), typed);
    }
    if (id == 1042 && message.isEmpty())
        QCOMPARE(dlg().m_Importe5, moneda::Currency(12345000));
}

void TestFormCommands::failedSaveStopsAndPrintPutsEarlierValuesBack() {
    // Fields exchanged before the day take what was typed; the day fails; the fields
    // after it keep what they held, and the print writes those back into their edits.
    TypeInto(dlg(), 1003, QStringLiteral("77"));
    TypeInto(dlg(), 1001, QStringLiteral("Luis"));
    TypeInto(dlg(), 1004, QStringLiteral("Sevilla"));
    TypeInto(dlg(), 1041, QStringLiteral("Gas"));
    TypeInto(dlg(), 1015, QStringLiteral("Hoy"));
    Choose(dlg(), 1036, QStringLiteral("16"));
    Choose(dlg(), 1038, QStringLiteral("4"));
    Choose(dlg(), 1039, QStringLiteral("15"));
    Choose(dlg(), 1045, QStringLiteral("VERDE"));
    Choose(dlg(), 1046, QStringLiteral("LINEAS"));
    TypeInto(dlg(), 1013, QString());
    ModalWatcher watcher;
    Print();
    QCOMPARE(watcher.messages(), QStringList{kNotInteger});

    QCOMPARE(dlg().m_Numero, std::string("77"));
    QCOMPARE(dlg().m_Pagador1, std::string("Luis"));
    QCOMPARE(dlg().m_Localidad, std::string());
    QCOMPARE(dlg().m_Concepto5, std::string());
    QCOMPARE(dlg().m_Vencimiento, std::string("A LA VISTA"));
    QCOMPARE(dlg().m_Iva, std::string("0"));
    QCOMPARE(dlg().m_Re, std::string("0"));
    QCOMPARE(dlg().m_Irpf, std::string("0"));
    QCOMPARE(dlg().m_Color, std::string("AZUL"));
    QCOMPARE(dlg().m_Relleno, std::string("SOLID")); // as the opening read it

    QCOMPARE(Text(dlg(), 1003), QStringLiteral("77"));
    QCOMPARE(Text(dlg(), 1004), QString());
    QCOMPARE(Text(dlg(), 1041), QString());
    QCOMPARE(Text(dlg(), 1015), QStringLiteral("A LA VISTA"));
    QCOMPARE(Text(dlg(), 1036), QStringLiteral("0"));
    QCOMPARE(Text(dlg(), 1045), QStringLiteral("AZUL"));
    QCOMPARE(Text(dlg(), 1046), QStringLiteral("SOLIDO"));
    QCOMPARE(Text(dlg(), 1013), QString::number(QDate::currentDate().day()));
}

void TestFormCommands::failedSaveSelectsTheField() {
    TypeInto(dlg(), 1030, QStringLiteral("1969"));
    dlg().FocusItem(1006, false);
    ModalWatcher watcher;
    QVERIFY(!dlg().UpdateData(true));
    QCOMPARE(dlg().FocusedItemId(), 1030);
    QCOMPARE(Edit(dlg(), 1030)->selectedText(), QStringLiteral("1969"));
}

void TestFormCommands::printCapitalisesPlacePayerAndCollector_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("place madrid") << 1004 << "madrid"
                                  << "Madrid";
    QTest::newRow("place ávila keeps its accented letter") << 1004 << "ávila"
                                                           << "ávila";
    QTest::newRow("payer line 1") << 1001 << "luis gómez"
                                  << "Luis gómez";
    QTest::newRow("collector line 1") << 1011 << "x"
                                      << "X";
    QTest::newRow("payer line 2 is left alone") << 1010 << "calle sol"
                                                << "calle sol";
    QTest::newRow("collector line 2 is left alone") << 1012 << "nif b1"
                                                    << "nif b1";
    QTest::newRow("a digit first") << 1004 << "3 cantos"
                                   << "3 cantos";
}

void TestFormCommands::printCapitalisesPlacePayerAndCollector() {
    QFETCH(int, id);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    TypeInto(dlg(), id, typed);
    ModalWatcher watcher;
    Print();
    QCOMPARE(Text(dlg(), id), shown);
    if (id == 1004)
        QCOMPARE(QString::fromStdString(dlg().m_Localidad), shown);
}

void TestFormCommands::printTwiceChangesNothingAndSavesNothing() {
    TypeInto(dlg(), 1003, QStringLiteral("15"));
    TypeInto(dlg(), 1006, QStringLiteral("Alquiler"));
    TypeInto(dlg(), 1007, QStringLiteral("500"));
    Choose(dlg(), 1036, QStringLiteral("16"));
    const QString total = Text(dlg(), 1028);
    ModalWatcher watcher;
    Print();
    Print();
    QCOMPARE(watcher.kinds(), (QStringList{kPrinterChoice, kPrinterChoice}));
    QCOMPARE(Text(dlg(), 1003), QStringLiteral("15"));
    QCOMPARE(Text(dlg(), 1006), QStringLiteral("Alquiler"));
    QCOMPARE(Text(dlg(), 1007), QStringLiteral("500"));
    QCOMPARE(Text(dlg(), 1028), total);
    QCOMPARE(dlg().m_Importe1, moneda::Currency(5000000));
    QCOMPARE(dlg().m_ImporteIva, moneda::Currency(800000));
    QVERIFY(dlg().m_hBanner);
    QVERIFY(!sandbox_.Has("Numero"));
}

void TestFormCommands::lengthLimits_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("limit");
    QTest::newRow("receipt number 6") << 1003 << 6;
    QTest::newRow("place 20") << 1004 << 20;
    QTest::newRow("due date 20") << 1015 << 20;
    QTest::newRow("address 50") << 1000 << 50;
    QTest::newRow("payer line 1 29") << 1001 << 29;
    QTest::newRow("payer line 2 29") << 1010 << 29;
    QTest::newRow("collector line 1 19") << 1011 << 19;
    QTest::newRow("collector line 2 19") << 1012 << 19;
    QTest::newRow("concept line 1 40") << 1006 << 40;
    QTest::newRow("concept line 2 40") << 1020 << 40;
    QTest::newRow("concept line 3 40") << 1022 << 40;
    QTest::newRow("concept line 4 40") << 1024 << 40;
    QTest::newRow("concept line 5 40") << 1041 << 40;
}

void TestFormCommands::lengthLimits() {
    QFETCH(int, id);
    QFETCH(int, limit);
    QString typed;
    for (int i = 0; i < limit + 5; ++i)
        typed += QChar(u'a' + i % 26);
    TypeInto(dlg(), id, typed);
    QCOMPARE(Text(dlg(), id), typed.left(limit));
    QCOMPARE(Edit(dlg(), id)->maxLength(), limit);
    ModalWatcher watcher;
    QVERIFY(dlg().UpdateData(true));
    QVERIFY(watcher.seen().isEmpty());
}

void TestFormCommands::enterInAnEditNeitherPrintsNorCloses() {
    ModalWatcher watcher;
    for (int id : {1006, 1007, 1013, 1000}) {
        QTest::mouseClick(Edit(dlg(), id), Qt::LeftButton);
        QTest::keyClick(Edit(dlg(), id), Qt::Key_Return);
        QTest::keyClick(Edit(dlg(), id), Qt::Key_Enter, Qt::KeypadModifier);
    }
    QVERIFY(dlg().isVisible());
    QVERIFY(watcher.seen().isEmpty());
    QCOMPARE(dlg().m_VerPesetas, 0); // the toggle, drawn as default, was not pressed
    // Enter on the focused print button prints.
    dlg().FocusItem(1, false);
    QTest::keyClick(Button(dlg(), 1), Qt::Key_Return);
    QCOMPARE(watcher.kinds(), QStringList{kPrinterChoice});
    QVERIFY(dlg().isVisible());
}

// --- Closing -------------------------------------------------------------------------------

void TestFormCommands::closingPathsSaveAlike_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("the Cancelar button") << "button";
    QTest::newRow("the Escape key") << "escape";
    QTest::newRow("the close box") << "close";
}

void TestFormCommands::closingPathsSaveAlike() {
    QFETCH(QString, how);
    TypeInto(dlg(), 1006, QStringLiteral("Alquiler"));
    TypeInto(dlg(), 1007, QStringLiteral("12,5"));
    TypeInto(dlg(), 1004, QStringLiteral("toledo"));
    Choose(dlg(), 1038, QStringLiteral("1,75"));
    if (how == QLatin1String("button"))
        QTest::mouseClick(Button(dlg(), 2), Qt::LeftButton);
    else if (how == QLatin1String("escape"))
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    else
        dlg().close(); // the close box
    QVERIFY(!dlg().isVisible());
    QCOMPARE(dlg().result(), int(QDialog::Rejected));
    QCOMPARE(sandbox_.Get("Concepto1"), std::string("Alquiler"));
    QCOMPARE(sandbox_.Get("Importe1"), std::string("12,50"));
    QCOMPARE(sandbox_.Get("Localidad"), std::string("Toledo"));
    QCOMPARE(sandbox_.Get("RE_STRING"), std::string("1,75"));
}

void TestFormCommands::firstRunClosedUntouchedStoresTheDefaults() {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!dlg().isVisible());
    QCOMPARE(sandbox_.Get("Vencimiento"), std::string("A LA VISTA"));
    QCOMPARE(sandbox_.Get("IVA_STRING"), std::string("0"));
    QCOMPARE(sandbox_.Get("RE_STRING"), std::string("0"));
    QCOMPARE(sandbox_.Get("IPRF_STRING"), std::string("0"));
    QCOMPARE(sandbox_.Get("Color"), std::string("AZUL"));
    QCOMPARE(sandbox_.Get("Pluma"), std::string("SOLIDO"));
    QCOMPARE(sandbox_.GetInt("Banner Publicidad 001", 999), 2);
    for (const char* key :
         {"Cobrador1", "Cobrador2", "Localidad", "Numero", "Pagador1", "Pagador2", "Concepto1",
          "Concepto2", "Concepto3", "Concepto4", "Concepto5", "Direccion"}) {
        QVERIFY2(sandbox_.Has(key), key);
        QCOMPARE(sandbox_.Get(key), std::string());
    }
    for (const char* key : {"Importe1", "Importe2", "Importe3", "Importe4", "Importe5"})
        QCOMPARE(sandbox_.Get(key), std::string("0,00"));
}

void TestFormCommands::closingWithAnEmptyDayStillSavesAndCloses() {
    TypeInto(dlg(), 1004, QStringLiteral("Sevilla"));
    TypeInto(dlg(), 1041, QStringLiteral("Gas"));
    TypeInto(dlg(), 1042, QStringLiteral("7"));
    TypeInto(dlg(), 1003, QStringLiteral("9"));
    TypeInto(dlg(), 1013, QString());
    ModalWatcher watcher;
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(watcher.messages(), QStringList{kNotInteger});
    QVERIFY(!dlg().isVisible());
    QCOMPARE(sandbox_.Get("Numero"), std::string("9")); // exchanged before the day
    QCOMPARE(sandbox_.Get("Localidad"), std::string()); // after it: as before
    QCOMPARE(sandbox_.Get("Concepto5"), std::string());
    QCOMPARE(sandbox_.Get("Importe5"), std::string("7,00")); // read from its edit
    QCOMPARE(sandbox_.Get("Vencimiento"), std::string("A LA VISTA"));
}

void TestFormCommands::savedValuesComeBackAtTheNextStart() {
    TypeInto(dlg(), 1003, QStringLiteral("A-1"));
    TypeInto(dlg(), 1004, QStringLiteral("cádiz"));
    TypeInto(dlg(), 1015, QStringLiteral("30 DÍAS"));
    TypeInto(dlg(), 1001, QStringLiteral("Pilar"));
    TypeInto(dlg(), 1010, QStringLiteral("Calle Luna 2"));
    TypeInto(dlg(), 1011, QStringLiteral("ramón"));
    TypeInto(dlg(), 1012, QStringLiteral("NIF 1"));
    TypeInto(dlg(), 1000, QStringLiteral("Plaza Mayor"));
    TypeInto(dlg(), 1024, QStringLiteral("Limpieza"));
    TypeInto(dlg(), 1025, QStringLiteral("1.500,75"));
    Choose(dlg(), 1036, QStringLiteral("7"));
    Choose(dlg(), 1039, QStringLiteral("18"));
    Choose(dlg(), 1045, QStringLiteral("MARRÓN"));
    Choose(dlg(), 1046, QStringLiteral("LINEAS"));
    QTest::mouseClick(Button(dlg(), 1044), Qt::LeftButton); // not saved
    QTest::mouseClick(Button(dlg(), 2), Qt::LeftButton);
    QCOMPARE(sandbox_.Get("Pluma"), std::string("LINEAS"));
    QCOMPARE(sandbox_.Get("Cobrador1"), std::string("Ramón"));

    Reopen();
    QCOMPARE(Text(dlg(), 1003), QStringLiteral("A-1"));
    QCOMPARE(Text(dlg(), 1004), QStringLiteral("Cádiz"));
    QCOMPARE(Text(dlg(), 1015), QStringLiteral("30 DÍAS"));
    QCOMPARE(Text(dlg(), 1001), QStringLiteral("Pilar"));
    QCOMPARE(Text(dlg(), 1010), QStringLiteral("Calle Luna 2"));
    QCOMPARE(Text(dlg(), 1011), QStringLiteral("Ramón"));
    QCOMPARE(Text(dlg(), 1012), QStringLiteral("NIF 1"));
    QCOMPARE(Text(dlg(), 1000), QStringLiteral("Plaza Mayor"));
    QCOMPARE(Text(dlg(), 1024), QStringLiteral("Limpieza"));
    QCOMPARE(Text(dlg(), 1025), QStringLiteral("1.500,75"));
    QCOMPARE(Text(dlg(), 1033), QStringLiteral("249.704")); // 1.500,75 € × 166,386
    QCOMPARE(Text(dlg(), 1036), QStringLiteral("7"));
    QCOMPARE(Text(dlg(), 1039), QStringLiteral("18"));
    QCOMPARE(Text(dlg(), 1045), QStringLiteral("MARRÓN"));
    QCOMPARE(Text(dlg(), 1046), QStringLiteral("LINEAS"));
    QCOMPARE(dlg().m_VerPesetas, 0); // always hidden at opening
    // 1.500,75 with IVA 7 % and IRPF 18 %: 105,0525 and -270,135; total 1.335,6675.
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("1.335,67"));
}

// --- Clear all ---------------------------------------------------------------------------

void TestFormCommands::clearAllOnAFirstRun() {
    const QDate today = QDate::currentDate();
    TypeInto(dlg(), 1003, QStringLiteral("8"));
    TypeInto(dlg(), 1001, QStringLiteral("Pepa"));
    TypeInto(dlg(), 1006, QStringLiteral("Obra"));
    TypeInto(dlg(), 1007, QStringLiteral("90"));
    TypeInto(dlg(), 1000, QStringLiteral("Sol 1"));
    TypeInto(dlg(), 1011, QStringLiteral("Yo"));
    TypeInto(dlg(), 1013, QStringLiteral("2"));
    TypeInto(dlg(), 1030, QStringLiteral("1999"));
    Choose(dlg(), 1036, QStringLiteral("16"));
    Choose(dlg(), 1045, QStringLiteral("GRIS"));
    QTest::mouseClick(Button(dlg(), 1044), Qt::LeftButton); // show pesetas
    ModalWatcher watcher;
    QTest::mouseClick(Button(dlg(), 1019), Qt::LeftButton);
    QVERIFY(watcher.seen().isEmpty()); // asks nothing

    for (int id : {1003, 1001, 1010, 1006, 1000, 1011, 1012, 1004})
        QCOMPARE(Text(dlg(), id), QString());
    QCOMPARE(Text(dlg(), 1015), QString()); // no "A LA VISTA" here
    for (int id : {1007, 1021, 1023, 1025, 1042, 1026, 1027, 1031, 1028, 1005})
        QCOMPARE(Text(dlg(), id), QStringLiteral("0,00"));
    for (int id : {1009, 1014, 1032, 1033, 1043, 1034, 1035, 1040, 1037})
        QCOMPARE(Text(dlg(), id), QStringLiteral("0"));
    QCOMPARE(Text(dlg(), 1036), QStringLiteral("0"));
    QCOMPARE(Text(dlg(), 1045), QStringLiteral("AZUL"));
    QCOMPARE(Text(dlg(), 1046), QStringLiteral("SOLIDO"));
    QCOMPARE(Text(dlg(), 1013), QString::number(today.day()));
    QCOMPARE(Text(dlg(), 1029), QString::fromLatin1(kMonths[today.month() - 1]));
    QCOMPARE(Text(dlg(), 1030), QString::number(today.year()));
    QCOMPARE(dlg().m_VerPesetas, 1); // unchanged
    QCOMPARE(Button(dlg(), 1044)->text(), QStringLiteral("Ocultar Pts"));
    QVERIFY(Edit(dlg(), 1009)->isVisible());
    QVERIFY(!sandbox_.Has("Color")); // writes nothing
}

void TestFormCommands::clearAllBringsBackTheSavedValues() {
    sandbox_.Put("Color", "VERDE");
    sandbox_.Put("Cobrador1", "ana");
    sandbox_.Put("Localidad", "lugo");
    sandbox_.Put("IVA_STRING", "16");
    sandbox_.Put("Pluma", "LINEAS");
    sandbox_.Put("Numero", "33");
    Reopen();
    QCOMPARE(Text(dlg(), 1003), QStringLiteral("33"));
    Choose(dlg(), 1045, QStringLiteral("GRIS"));
    Choose(dlg(), 1036, QStringLiteral("4"));
    TypeInto(dlg(), 1004, QStringLiteral("Vigo"));
    TypeInto(dlg(), 1011, QStringLiteral("Otra"));
    QTest::mouseClick(Button(dlg(), 1019), Qt::LeftButton);
    QCOMPARE(Text(dlg(), 1045), QStringLiteral("VERDE"));
    QCOMPARE(Text(dlg(), 1046), QStringLiteral("LINEAS"));
    QCOMPARE(Text(dlg(), 1036), QStringLiteral("16"));
    QCOMPARE(Text(dlg(), 1004), QStringLiteral("Lugo"));
    QCOMPARE(Text(dlg(), 1011), QStringLiteral("Ana"));
    QCOMPARE(Text(dlg(), 1003), QString()); // the number is not brought back
    QCOMPARE(dlg().m_VerPesetas, 0);
    QCOMPARE(Button(dlg(), 1044)->text(), QStringLiteral("Ver Pts"));
}

void TestFormCommands::clearAllThenCloseSavesTheEmptiedFields() {
    sandbox_.Put("Numero", "5");
    sandbox_.Put("Concepto1", "Viejo");
    sandbox_.Put("Importe1", "3,00");
    sandbox_.Put("Pagador1", "Juan");
    Reopen();
    QCOMPARE(Text(dlg(), 1007), QStringLiteral("3,00"));
    QTest::mouseClick(Button(dlg(), 1019), Qt::LeftButton);
    QTest::mouseClick(Button(dlg(), 2), Qt::LeftButton);
    QCOMPARE(sandbox_.Get("Numero"), std::string());
    QCOMPARE(sandbox_.Get("Concepto1"), std::string());
    QCOMPARE(sandbox_.Get("Importe1"), std::string("0,00"));
    Reopen();
    QCOMPARE(Text(dlg(), 1003), QString());
    QCOMPARE(Text(dlg(), 1006), QString());
    QCOMPARE(Text(dlg(), 1001), QString());
    QCOMPARE(Text(dlg(), 1007), QStringLiteral("0,00"));
}

QTEST_MAIN(TestFormCommands)
#include "test_form_commands.moc"
