// Faults that a careless user runs into: a decimal point typed where the comma belongs, a
// receipt whose amounts do not fit, clear-all with the focus on a peseta edit, and a
// character outside the basic plane at an edit's length limit.
#include "FormFixture.h"
#include "ModalWatcher.h"

#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSettings>
#include <QtTest>

#include <sys/stat.h>
#include <sys/types.h>

namespace {

const QString kNotCurrency = QStringLiteral("Introduzca una moneda.");
const QString kTooLarge = QStringLiteral("Los importes son demasiado grandes para imprimir el "
                                         "recibo. Corrija los importes antes de imprimir.");
const QString kPrinterChoice = QStringLiteral("platform::PrintDialog");
// U+1F600, two UTF-16 units.
const QString kEmoji = QString::fromUtf8("\xF0\x9F\x98\x80");

} // namespace

class TestFormGuards : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { dlg_.reset(); }

    // --- A decimal point is not a thousands point -----------------------------------------
    void decimalPointReadsAsNothing_data();
    void decimalPointReadsAsNothing();
    void decimalPointInAmountFiveIsRefused();
    void keypadDecimalKeyTypesAComma_data();
    void keypadDecimalKeyTypesAComma();
    void mainKeyboardPointStillGroups();

    // --- Amounts too large to print ---------------------------------------------------------
    void overflowPrintsNothing();
    void fittingAmountsStillPrint();

    // --- Clear-all -------------------------------------------------------------------------
    void clearAllWritesZeroEurosWhateverHasTheFocus_data();
    void clearAllWritesZeroEurosWhateverHasTheFocus();

    // --- Length limits keep characters whole ---------------------------------------------------
    void emojiAtTheLimitIsLeftOutWhole_data();
    void emojiAtTheLimitIsLeftOutWhole();
    void emojiThatFitsIsKept();
    void loadedTextIsCutBeforeAWholeCharacter();

    // --- Settings that cannot be used ------------------------------------------------------------
    void fifoAtTheSettingsPathOpensWithDefaultsAndSaysSoAtClose();
    void oversizedSettingsAreSetAsideAndToldOnce();

private:
    CTalveroDlg& dlg() { return *dlg_; }

    SettingsSandbox sandbox_{QStringLiteral("talvero-test-form-guards")};
    std::unique_ptr<CTalveroDlg> dlg_;
};

void TestFormGuards::init() {
    sandbox_.Clear();
    dlg_ = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(dlg()));
}

// --- A decimal point is not a thousands point ---------------------------------------------

void TestFormGuards::decimalPointReadsAsNothing_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("pesetas");
    QTest::addColumn<QString>("total");
    // clang-format off
    QTest::newRow("12.50 is not 1.250 euros") << "12.50" << "0" << "0,00";
    QTest::newRow("0.99 is not 99 euros")     << "0.99"  << "0" << "0,00";
    QTest::newRow("1.5 is not 15 euros")      << "1.5"   << "0" << "0,00";
    QTest::newRow("1.000 is still a thousand") << "1.000" << "166.386" << "1.000,00";
    QTest::newRow("1.234.567,89 is still grouped") << "1.234.567,89" << "205.414.813" << "1.234.567,89";
    // clang-format on
}

void TestFormGuards::decimalPointReadsAsNothing() {
    QFETCH(QString, typed);
    QFETCH(QString, pesetas);
    QFETCH(QString, total);
    TypeInto(dlg(), 1007, typed);
    QCOMPARE(Text(dlg(), 1007), typed);
    QCOMPARE(Text(dlg(), 1009), pesetas);
    QCOMPARE(Text(dlg(), 1028), total);
}

void TestFormGuards::decimalPointInAmountFiveIsRefused() {
    TypeInto(dlg(), 1042, QStringLiteral("12.50"));
    ModalWatcher watcher;
    QVERIFY(!dlg().UpdateData(true));
    QCOMPARE(watcher.messages(), QStringList{kNotCurrency});
    QCOMPARE(dlg().FocusedItemId(), 1042);
    QVERIFY(!dlg().m_Importe5.isValid());
}

void TestFormGuards::keypadDecimalKeyTypesAComma_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("euros");
    // clang-format off
    QTest::newRow("euro edit 1, keypad point")  << 1007 << int(Qt::Key_Period) << "12,50";
    QTest::newRow("euro edit 1, keypad comma")  << 1007 << int(Qt::Key_Comma)  << "12,50";
    QTest::newRow("euro edit 5, keypad point")  << 1042 << int(Qt::Key_Period) << "12,50";
    QTest::newRow("peseta edit 1, keypad point") << 1009 << int(Qt::Key_Period) << "0,08";
    // clang-format on
}

void TestFormGuards::keypadDecimalKeyTypesAComma() {
    QFETCH(int, id);
    QFETCH(int, key);
    QFETCH(QString, euros);
    QTest::mouseClick(Button(dlg(), 1044), Qt::LeftButton); // show pesetas
    TypeInto(dlg(), id, QStringLiteral("12"));
    QTest::keyClick(Edit(dlg(), id), Qt::Key(key), Qt::KeypadModifier);
    TypeKeys(Edit(dlg(), id), QStringLiteral("50"));
    QCOMPARE(Text(dlg(), id), QStringLiteral("12,50"));
    const int eurosId = id == 1009 ? 1007 : id;
    QCOMPARE(Text(dlg(), eurosId), id == 1009 ? euros : QStringLiteral("12,50"));
    if (id != 1009)
        QCOMPARE(Text(dlg(), 1028), QStringLiteral("12,50"));
}

void TestFormGuards::mainKeyboardPointStillGroups() {
    TypeInto(dlg(), 1007, QStringLiteral("1"));
    QTest::keyClick(Edit(dlg(), 1007), Qt::Key_Period);
    TypeKeys(Edit(dlg(), 1007), QStringLiteral("000"));
    QCOMPARE(Text(dlg(), 1007), QStringLiteral("1.000"));
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("1.000,00"));
}

// --- Amounts too large to print -------------------------------------------------------------

void TestFormGuards::overflowPrintsNothing() {
    Choose(dlg(), 1036, QStringLiteral("16"));
    TypeInto(dlg(), 1007, QStringLiteral("100000000000000")); // × 1600 leaves 64 bits
    QCOMPARE(Text(dlg(), 1028), QStringLiteral("Desbordamiento"));
    ModalWatcher watcher;
    QTest::mouseClick(Button(dlg(), 1), Qt::LeftButton);
    QCOMPARE(watcher.kinds(), QStringList{QStringLiteral("QMessageBox")}); // no printer choice
    QCOMPARE(watcher.messages(), QStringList{kTooLarge});
    QCOMPARE(watcher.seen().first().icon, QMessageBox::Warning);
    QVERIFY(dlg().isVisible());
    QCOMPARE(Text(dlg(), 1007), QStringLiteral("100000000000000")); // left as it was
    QVERIFY(!dlg().AmountsFitForPrinting());
}

void TestFormGuards::fittingAmountsStillPrint() {
    Choose(dlg(), 1036, QStringLiteral("16"));
    TypeInto(dlg(), 1007, QStringLiteral("100000000000"));
    ModalWatcher watcher;
    QTest::mouseClick(Button(dlg(), 1), Qt::LeftButton);
    QCOMPARE(watcher.kinds(), QStringList{kPrinterChoice});
}

// --- Clear-all -------------------------------------------------------------------------------

void TestFormGuards::clearAllWritesZeroEurosWhateverHasTheFocus_data() {
    QTest::addColumn<int>("focus");
    QTest::newRow("focus on peseta edit 1") << 1009;
    QTest::newRow("focus on peseta edit 5") << 1043;
    QTest::newRow("focus on euro edit 1") << 1007;
    QTest::newRow("focus on euro edit 5") << 1042;
    QTest::newRow("focus on the number") << 1003;
}

void TestFormGuards::clearAllWritesZeroEurosWhateverHasTheFocus() {
    QFETCH(int, focus);
    QTest::mouseClick(Button(dlg(), 1044), Qt::LeftButton); // show pesetas
    TypeInto(dlg(), 1009, QStringLiteral("1000"));
    TypeInto(dlg(), 1043, QStringLiteral("500"));
    TypeInto(dlg(), focus, QStringLiteral("7"));
    QCOMPARE(dlg().FocusedItemId(), focus);
    dlg().OnBorrarTodo(); // as its keyboard shortcut runs it, the focus staying put
    for (int id : {1007, 1021, 1023, 1025, 1042, 1028})
        QCOMPARE(QString::number(id) + QLatin1Char('=') + Text(dlg(), id),
                 QString::number(id) + QStringLiteral("=0,00"));
    for (int id : {1009, 1014, 1032, 1033, 1043})
        QCOMPARE(QString::number(id) + QLatin1Char('=') + Text(dlg(), id),
                 QString::number(id) + QStringLiteral("=0"));
}

// --- Length limits keep characters whole -----------------------------------------------------

void TestFormGuards::emojiAtTheLimitIsLeftOutWhole_data() {
    QTest::addColumn<bool>("paste");
    QTest::newRow("typed") << false;
    QTest::newRow("pasted") << true;
}

void TestFormGuards::emojiAtTheLimitIsLeftOutWhole() {
    QFETCH(bool, paste);
    TypeInto(dlg(), 1003, QStringLiteral("12345")); // the number takes 6
    QLineEdit* edit = Edit(dlg(), 1003);
    if (paste) {
        QApplication::clipboard()->setText(kEmoji);
        QTest::keySequence(edit, QKeySequence::Paste);
    } else {
        QKeyEvent key(QEvent::KeyPress, 0, Qt::NoModifier, kEmoji);
        QApplication::sendEvent(edit, &key);
    }
    QCOMPARE(Text(dlg(), 1003), QStringLiteral("12345"));
    ModalWatcher watcher;
    QVERIFY(dlg().UpdateData(true));
    QCOMPARE(dlg().m_Numero, std::string("12345"));
}

void TestFormGuards::emojiThatFitsIsKept() {
    TypeInto(dlg(), 1003, QStringLiteral("1234"));
    Edit(dlg(), 1003)->insert(kEmoji);
    QCOMPARE(Text(dlg(), 1003), QStringLiteral("1234") + kEmoji);
    ModalWatcher watcher;
    QVERIFY(dlg().UpdateData(true));
    QCOMPARE(dlg().m_Numero, std::string("1234\xF0\x9F\x98\x80"));
}

void TestFormGuards::loadedTextIsCutBeforeAWholeCharacter() {
    dlg().m_Numero = "12345\xF0\x9F\x98\x80";
    dlg().m_Concepto1 = std::string(39, 'c') + "\xF0\x9F\x98\x80";
    dlg().UpdateData(false);
    QCOMPARE(Text(dlg(), 1003), QStringLiteral("12345"));
    QCOMPARE(Text(dlg(), 1006), QString(39, QLatin1Char('c')));
    ModalWatcher watcher;
    QVERIFY(dlg().UpdateData(true));
    QCOMPARE(dlg().m_Numero, std::string("12345"));
    QCOMPARE(dlg().m_Concepto1, std::string(39, 'c'));
}

// --- Settings that cannot be used ----------------------------------------------------------------

void TestFormGuards::fifoAtTheSettingsPathOpensWithDefaultsAndSaysSoAtClose() {
    sandbox_.Put("Color", "ROJO");
    dlg_.reset();
    const QString file = QSettings().fileName();
    QVERIFY(QFile::remove(file));
    QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    const auto removeFifo = qScopeGuard([&file] { QFile::remove(file); });

    dlg_ = std::make_unique<CTalveroDlg>(); // reading the FIFO would never return
    QVERIFY(Open(dlg()));
    QCOMPARE(Text(dlg(), 1045), QStringLiteral("AZUL"));
    QCOMPARE(Text(dlg(), 1015), QStringLiteral("A LA VISTA"));

    ModalWatcher watcher;
    dlg().reject();
    QVERIFY(!dlg().isVisible());
    QCOMPARE(watcher.messages(),
             QStringList{QStringLiteral("No se han podido guardar los ajustes: «") +
                         QDir::toNativeSeparators(file) +
                         QStringLiteral("» no es un archivo normal.")});
    QCOMPARE(watcher.seen().first().icon, QMessageBox::Warning);
    QVERIFY(!QFileInfo(file).isFile()); // still the FIFO
}

void TestFormGuards::oversizedSettingsAreSetAsideAndToldOnce() {
    sandbox_.Put("Color", "ROJO");
    dlg_.reset();
    const QString file = QSettings().fileName();
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::Append));
        f.write("Concepto1=");
        f.write(QByteArray(2 << 20, 'x'));
        f.write("\n");
    }
    ModalWatcher watcher;
    dlg_ = std::make_unique<CTalveroDlg>();
    dlg().show(); // the notice comes over the form, once it is up
    QTRY_COMPARE(watcher.messages().size(), 1);
    QVERIFY(Open(dlg()));
    QVERIFY2(watcher.messages().first().startsWith(
                 QStringLiteral("Los ajustes guardados estaban dañados")),
             qPrintable(watcher.messages().first()));
    QCOMPARE(Text(dlg(), 1045), QStringLiteral("AZUL")); // the defaults
    QCOMPARE(Text(dlg(), 1006), QString());

    Choose(dlg(), 1045, QStringLiteral("VERDE"));
    dlg().reject();
    QCOMPARE(watcher.messages().size(), 1); // saving says nothing
    QVERIFY(QFileInfo(file).size() < 4096);
    QCOMPARE(sandbox_.Get("Color"), std::string("VERDE"));

    watcher.clear();
    dlg_ = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(dlg()));
    QTest::qWait(50);
    QCOMPARE(watcher.messages(), QStringList()); // told once
    QCOMPARE(Text(dlg(), 1045), QStringLiteral("VERDE"));
    const QStringList aside = QFileInfo(file).absoluteDir().entryList(
        {QFileInfo(file).fileName() + QStringLiteral(".dañado-*")}, QDir::Files);
    QCOMPARE(aside.size(), 1);
    for (const QString& name : aside)
        QFile::remove(QFileInfo(file).absoluteDir().filePath(name));
}

QTEST_MAIN(TestFormGuards)
#include "test_form_guards.moc"
