// The money part of the form, typed as a user would: euro and peseta edits kept in step,
// taxes and totals recomputed on every keystroke and list choice, the focus guard, and
// amounts nobody should type.
#include "FormFixture.h"

#include <QClipboard>
#include <QtTest>

namespace {

QStringList Snapshot(CTalveroDlg& dlg) {
    QStringList all;
    for (QLineEdit* e : dlg.findChildren<QLineEdit*>())
        all << e->objectName() + QLatin1Char('=') + e->text();
    return all;
}

const int kResults[] = {1026, 1034, 1027, 1035, 1031, 1040, 1028, 1037, 1005};

} // namespace

class TestFormAmounts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { dlg_.reset(); }

    void eurosTypedWritePesetas_data();
    void eurosTypedWritePesetas();
    void pesetasTypedWriteEuros_data();
    void pesetasTypedWriteEuros();
    void pairedEditsDoNotFeedBack();
    void taxesAndTotals_data();
    void taxesAndTotals();
    void amountsOfSeveralLinesAddUp();
    void choosingAPercentageRecomputesAtOnce();
    void focusGuardRewritesNothing_data();
    void focusGuardRewritesNothing();
    void leavingAnAmountEditChangesNothing();
    void collectAmountsKeepsTheDisplayedTaxes();

    void badAmounts_data();
    void badAmounts();
    void overflowIsShownNotHidden();
    void hugePesetaAmounts_data();
    void hugePesetaAmounts();
    void aMegabytePastedIsCutToTheEdit();

private:
    CTalveroDlg& dlg() { return *dlg_; }
    void SetPercentages(const QString& iva, const QString& re, const QString& irpf);

    SettingsSandbox sandbox_{QStringLiteral("talvero-test-form-amounts")};
    std::unique_ptr<CTalveroDlg> dlg_;
};

void TestFormAmounts::init() {
    sandbox_.Clear();
    dlg_ = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(dlg()));
}

void TestFormAmounts::SetPercentages(const QString& iva, const QString& re, const QString& irpf) {
    Choose(dlg(), 1036, iva);
    Choose(dlg(), 1038, re);
    Choose(dlg(), 1039, irpf);
}

void TestFormAmounts::eurosTypedWritePesetas_data() {
    QTest::addColumn<QString>("euros");
    QTest::addColumn<QString>("pesetas");
    QTest::newRow("1 € is 166") << "1"
                                << "166";
    QTest::newRow("6,01 € is 1.000") << "6,01"
                                     << "1.000";
    QTest::newRow("10 € is 1.664") << "10"
                                   << "1.664";
    QTest::newRow("0,01 € is 2") << "0,01"
                                 << "2";
    QTest::newRow("0,02 € is 3") << "0,02"
                                 << "3";
    QTest::newRow("0,03 € is 5") << "0,03"
                                 << "5";
    QTest::newRow("1000 € is 166.386") << "1000"
                                       << "166.386";
    QTest::newRow("1.234.567,89 € is 205.414.813") << "1.234.567,89"
                                                   << "205.414.813";
    QTest::newRow("0,61 € rounds up to 102 in two steps") << "0,61"
                                                          << "102";
    QTest::newRow("-0,02 € is -3") << "-0,02"
                                   << "-3";
    QTest::newRow("-15,10 € is -2.512") << "-15,10"
                                        << "-2.512";
    QTest::newRow("-0,0004 € keeps its sign: -0") << "-0,0004"
                                                  << "-0";
    QTest::newRow("empty is 0") << ""
                                << "0";
}

void TestFormAmounts::eurosTypedWritePesetas() {
    QFETCH(QString, euros);
    QFETCH(QString, pesetas);
    TypeInto(dlg(), 1007, euros);
    QCOMPARE(Text(dlg(), 1009), pesetas);
    QCOMPARE(Text(dlg(), 1007), euros);
    // The same holds for every line.
    TypeInto(dlg(), 1042, euros);
    QCOMPARE(Text(dlg(), 1043), pesetas);
}

void TestFormAmounts::pesetasTypedWriteEuros_data() {
    QTest::addColumn<QString>("pesetas");
    QTest::addColumn<QString>("euros");
    QTest::addColumn<QString>("total");
    QTest::newRow("1000 pesetas are 6,01") << "1000"
                                           << "6,01"
                                           << "6,01";
    QTest::newRow("1 peseta is 0,01") << "1"
                                      << "0,01"
                                      << "0,01";
    QTest::newRow("83 pesetas are 0,50") << "83"
                                         << "0,5"
                                         << "0,50";
    QTest::newRow("84 pesetas are 0,50 too") << "84"
                                             << "0,5"
                                             << "0,50";
    QTest::newRow("100000 pesetas are 601,01") << "100000"
                                               << "601,01"
                                               << "601,01";
    QTest::newRow("166386 pesetas are 1000 euros") << "166386"
                                                   << "1000"
                                                   << "1.000,00";
    QTest::newRow("-1000 pesetas are -6,01") << "-1000"
                                             << "-6,01"
                                             << "-6,01";
    QTest::newRow("emptied: 0") << ""
                                << "0"
                                << "0,00";
    QTest::newRow("letters: 0") << "mil"
                                << "0"
                                << "0,00";
}

void TestFormAmounts::pesetasTypedWriteEuros() {
    QFETCH(QString, pesetas);
    QFETCH(QString, euros);
    QFETCH(QString, total);
    QTest::mouseClick(Button(dlg(), 1044), Qt::LeftButton); // show the peseta column
    TypeInto(dlg(), 1009, pesetas);
    QCOMPARE(Text(dlg(), 1007), euros);
    QCOMPARE(Text(dlg(), 1009), pesetas); // keeps what was typed
    QCOMPARE(Text(dlg(), 1028), total);
    QCOMPARE(Text(dlg(), 1005), total);
}

void TestFormAmounts::pairedEditsDoNotFeedBack() {
    // 10,004 € are 1.665 pesetas; had the peseta edit's own change been converted back, the
    // euro edit would read 10,01.
    TypeInto(dlg(), 1007, QStringLiteral("10,004"));
    QCOMPARE(Text(dlg(), 1009), QStringLiteral("1.665"));
    QCOMPARE(Text(dlg(), 1007), QStringLiteral("10,004"));
    // And the other way: 1.665 pesetas typed are 10,01 €, whose pesetas would be 1.665
    // again, but the typed text must stay exactly as typed.
    QTest::mouseClick(Button(dlg(), 1044), Qt::LeftButton);
    TypeInto(dlg(), 1014, QStringLiteral("1.665,0"));
    QCOMPARE(Text(dlg(), 1021), QStringLiteral("10,01"));
    QCOMPARE(Text(dlg(), 1014), QStringLiteral("1.665,0"));
}

void TestFormAmounts::taxesAndTotals_data() {
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("iva");
    QTest::addColumn<QString>("re");
    QTest::addColumn<QString>("irpf");
    // 1026, 1034, 1027, 1035, 1031, 1040, 1028, 1037, 1005
    QTest::addColumn<QStringList>("results");

    QTest::newRow("all empty: zeros")
        << ""
        << "0"
        << "0"
        << "0" << QStringList{"0,00", "0", "0,00", "0", "0,00", "0", "0,00", "0", "0,00"};
    QTest::newRow("100 € with IVA 16, RE 4, IRPF 15")
        << "100"
        << "16"
        << "4"
        << "15" << QStringList{"16,00",  "2.662",  "4,00",   "666",   "-15,00",
                               "-2.496", "105,00", "17.471", "105,00"};
    QTest::newRow("100 € with RE 1,75 only")
        << "100"
        << "0"
        << "1,75"
        << "0"
        << QStringList{"0,00", "0", "1,75", "291", "0,00", "0", "101,75", "16.930", "101,75"};
    QTest::newRow("1000 € with IRPF 18 only")
        << "1000"
        << "0"
        << "0"
        << "18" << QStringList{"0,00",    "0",      "0,00",    "0",     "-180,00",
                               "-29.949", "820,00", "136.437", "820,00"};
    QTest::newRow("0,07 € with IVA 7 and RE 4: cut before rounding")
        << "0,07"
        << "7"
        << "4"
        << "0" << QStringList{"0,00", "1", "0,00", "0", "0,00", "0", "0,08", "13", "0,08"};
    QTest::newRow("333,33 € with IVA 16 and IRPF 15")
        << "333,33"
        << "16"
        << "0"
        << "15" << QStringList{"53,33",  "8.874",  "0,00",   "0",     "-50,00",
                               "-8.319", "336,66", "56.016", "336,66"};
    QTest::newRow("-10 € with IVA 16 and IRPF 15: the withholding turns positive")
        << "-10"
        << "16"
        << "0"
        << "15"
        << QStringList{"-1,60", "-266", "0,00", "0", "1,50", "250", "-10,10", "-1.681", "-10,10"};
    QTest::newRow("100 € with RE 0,5")
        << "100"
        << "0"
        << "0,5"
        << "0" << QStringList{"0,00", "0", "0,50", "83", "0,00", "0", "100,50", "16.722", "100,50"};
}

void TestFormAmounts::taxesAndTotals() {
    QFETCH(QString, amount);
    QFETCH(QString, iva);
    QFETCH(QString, re);
    QFETCH(QString, irpf);
    QFETCH(QStringList, results);
    SetPercentages(iva, re, irpf);
    TypeInto(dlg(), 1007, amount);
    QStringList shown;
    for (int id : kResults)
        shown << Text(dlg(), id);
    QCOMPARE(shown, results);
}

void TestFormAmounts::amountsOfSeveralLinesAddUp() {
    SetPercentages(QStringLiteral("16"), QStringLiteral("0"), QStringLiteral("15"));
    TypeInto(dlg(), 1007, QStringLiteral("100"));
    TypeInto(dlg(), 1021, QStringLiteral("50,5"));
    TypeInto(dlg(), 1023, QStringLiteral("0,25"));
    TypeInto(dlg(), 1025, QStringLiteral("-20"));
    TypeInto(dlg(), 1042, QStringLiteral("1.000"));
    // Base 1.130,75: IVA 180,92; IRPF -169,6125 -> -169,61; total 1.142,0575 -> 1.142,06.
    QCOMPARE(Text(dlg(), 1026), QStringLiteral("180,92"));
    QCOMPARE(Text(dlg(), 1031), QStringLiteral("-169,61"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("1.142,06"));
    QCOMPARE(dlg().m_Importe4, moneda::Currency(-200000));
    QCOMPARE(dlg().m_Importe5, moneda::Currency(10000000));
    QCOMPARE(dlg().m_Total, moneda::Currency(11420575));
    QCOMPARE(dlg().m_Importe, dlg().m_Total);
}

void TestFormAmounts::choosingAPercentageRecomputesAtOnce() {
    TypeInto(dlg(), 1007, QStringLiteral("100"));
    QCOMPARE(Text(dlg(), 1026), QStringLiteral("0,00"));
    Choose(dlg(), 1036, QStringLiteral("16"));
    QCOMPARE(Text(dlg(), 1026), QStringLiteral("16,00"));
    // With the keyboard on the list: the entry after "16" in the order shown is "4".
    QTest::keyClick(List(dlg(), 1036), Qt::Key_Down);
    QCOMPARE(Text(dlg(), 1036), QStringLiteral("4"));
    QCOMPARE(Text(dlg(), 1026), QStringLiteral("4,00"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("104,00"));
    Choose(dlg(), 1039, QStringLiteral("18"));
    QCOMPARE(Text(dlg(), 1031), QStringLiteral("-18,00"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("86,00"));
}

void TestFormAmounts::focusGuardRewritesNothing_data() {
    QTest::addColumn<int>("focus");
    QTest::newRow("on the clear-all button") << 1019;
    QTest::newRow("on the print button") << 1;
    QTest::newRow("on the IVA list") << 1036;
    QTest::newRow("on a concept edit") << 1006;
}

void TestFormAmounts::focusGuardRewritesNothing() {
    QFETCH(int, focus);
    TypeInto(dlg(), 1007, QStringLiteral("100"));
    dlg().FocusItem(focus, false);
    QCOMPARE(dlg().FocusedItemId(), focus);
    Edit(dlg(), 1007)->setText(QStringLiteral("250"));
    Edit(dlg(), 1009)->setText(QStringLiteral("99999"));
    QCOMPARE(Text(dlg(), 1009), QStringLiteral("99999"));
    QCOMPARE(Text(dlg(), 1007), QStringLiteral("250"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("100,00")); // not recomputed
    QCOMPARE(dlg().m_Importe1, moneda::Currency(1000000));
}

void TestFormAmounts::leavingAnAmountEditChangesNothing() {
    Choose(dlg(), 1036, QStringLiteral("7"));
    TypeInto(dlg(), 1021, QStringLiteral("33,3"));
    const QStringList before = Snapshot(dlg());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(dlg().FocusedItemId(), 1022);
    QCOMPARE(Snapshot(dlg()), before);
}

void TestFormAmounts::collectAmountsKeepsTheDisplayedTaxes() {
    SetPercentages(QStringLiteral("7"), QStringLiteral("0"), QStringLiteral("0"));
    TypeInto(dlg(), 1007, QStringLiteral("0,07"));
    QCOMPARE(dlg().m_ImporteIva, moneda::Currency(49));
    dlg().CollectAmounts();
    QCOMPARE(dlg().m_ImporteIva, moneda::Currency(0)); // read back from "0,00"
    QCOMPARE(dlg().m_Total, moneda::Currency(749));    // unrounded
    QCOMPARE(dlg().m_Importe1, moneda::Currency(700));
}

void TestFormAmounts::badAmounts_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pesetas");
    QTest::addColumn<QString>("total");
    QTest::newRow("letters count as zero") << "abc"
                                           << "0"
                                           << "0,00";
    QTest::newRow("a number with letters after it is not a number") << "12abc"
                                                                    << "0"
                                                                    << "0,00";
    QTest::newRow("a comma alone") << ","
                                   << "0"
                                   << "0,00";
    QTest::newRow("a minus alone") << "-"
                                   << "0"
                                   << "0,00";
    QTest::newRow("blanks around a number are fine") << " 5 "
                                                     << "832"
                                                     << "5,00";
    QTest::newRow("a dot groups thousands") << "1.000"
                                            << "166.386"
                                            << "1.000,00";
    QTest::newRow("10^15 euros do not fit: zero") << "1000000000000000"
                                                  << "0"
                                                  << "0,00";
    QTest::newRow("10^14 euros fit, pesetas through 128 bits") << "100000000000000"
                                                               << "16.638.600.000.000.000"
                                                               << "100.000.000.000.000,00";
}

void TestFormAmounts::badAmounts() {
    QFETCH(QString, typed);
    QFETCH(QString, pesetas);
    QFETCH(QString, total);
    TypeInto(dlg(), 1007, typed);
    QCOMPARE(Text(dlg(), 1007), typed);
    QCOMPARE(Text(dlg(), 1009), pesetas);
    QCOMPARE(Text(dlg(), 1028), total);
    QVERIFY(dlg().isVisible());
}

void TestFormAmounts::overflowIsShownNotHidden() {
    Choose(dlg(), 1036, QStringLiteral("16"));
    TypeInto(dlg(), 1007, QStringLiteral("100000000000000")); // × 1600 leaves 64 bits
    for (int id : {1026, 1034, 1028, 1037, 1005})
        QCOMPARE(Text(dlg(), id), QStringLiteral("Desbordamiento"));
    QCOMPARE(Text(dlg(), 1027), QStringLiteral("0,00"));
    QCOMPARE(Text(dlg(), 1031), QStringLiteral("0,00"));
    dlg().CollectAmounts();
    QVERIFY(!dlg().m_ImporteIva.isValid()); // not read back as a zero
    QVERIFY(dlg().m_ImporteRe.isValid());

    // Five amounts that each fit but whose sum does not.
    Choose(dlg(), 1036, QStringLiteral("0"));
    for (int id : {1007, 1021, 1023, 1025, 1042})
        TypeInto(dlg(), id, QStringLiteral("900000000000000"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("Desbordamiento"));
    QCOMPARE(Text(dlg(), 1026), QStringLiteral("Desbordamiento"));
    QCOMPARE(Text(dlg(), 1043), QStringLiteral("149.747.400.000.000.000"));
    // Back to ordinary amounts, back to numbers.
    for (int id : {1021, 1023, 1025, 1042})
        TypeInto(dlg(), id, QString());
    TypeInto(dlg(), 1007, QStringLiteral("1"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("1,00"));
}

void TestFormAmounts::hugePesetaAmounts_data() {
    QTest::addColumn<QString>("pesetas");
    QTest::addColumn<QString>("euros");
    QTest::newRow("9·10^14 pesetas are 5.409.108.939.454,04 €") << "900000000000000"
                                                                << "5409108939454,04";
    QTest::newRow("10^15 pesetas do not fit: zero") << "1000000000000000"
                                                    << "0";
}

void TestFormAmounts::hugePesetaAmounts() {
    QFETCH(QString, pesetas);
    QFETCH(QString, euros);
    QTest::mouseClick(Button(dlg(), 1044), Qt::LeftButton);
    TypeInto(dlg(), 1009, pesetas);
    QCOMPARE(Text(dlg(), 1007), euros);
}

void TestFormAmounts::aMegabytePastedIsCutToTheEdit() {
    const QString megabyte(1 << 20, QLatin1Char('9'));
    QApplication::clipboard()->setText(megabyte);
    QCOMPARE(QApplication::clipboard()->text().size(), megabyte.size());

    QTest::mouseClick(Edit(dlg(), 1006), Qt::LeftButton);
    QTest::keySequence(Edit(dlg(), 1006), QKeySequence::Paste);
    QCOMPARE(Text(dlg(), 1006), QString(40, QLatin1Char('9'))); // the concept's limit

    QTest::mouseClick(Edit(dlg(), 1007), Qt::LeftButton);
    QTest::keyClick(Edit(dlg(), 1007), Qt::Key_A, Qt::ControlModifier);
    QTest::keySequence(Edit(dlg(), 1007), QKeySequence::Paste);
    QCOMPARE(Text(dlg(), 1007).size(), Edit(dlg(), 1007)->maxLength());
    QCOMPARE(Text(dlg(), 1009), QStringLiteral("0")); // far out of range: zero
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("0,00"));
    // The form still answers.
    TypeInto(dlg(), 1007, QStringLiteral("2"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("2,00"));
}

QTEST_MAIN(TestFormAmounts)
#include "test_form_amounts.moc"
