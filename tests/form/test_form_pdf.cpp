// "Guardar como PDF" from the filled form, as a user does it: the print command's steps with
// a PDF file as the page, the file dialog answered, the folder remembered across a close
// and a new start, and a file that cannot be written, on a machine without printers.
#include "FormFixture.h"
#include "SaveDialogDriver.h"
#include "Unwritable.h"

#include "../print/PrintTestSupport.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>

namespace {

const char CARPETA_PDF[] = "CarpetaPDF";

// Every edit's text and every list's choice, by id: the form as the user sees it.
QMap<int, QString> Snapshot(CTalveroDlg& dlg) {
    QMap<int, QString> texts;
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        bool isId = false;
        const int id = w->objectName().toInt(&isId);
        if (isId && (qobject_cast<QLineEdit*>(w) != nullptr || qobject_cast<QComboBox*>(w))) {
            texts.insert(id, Text(dlg, id));
        }
    }
    return texts;
}

// The form as the print command leaves it (a cancelled printer choice still reads the form
// and writes it back): what saving must leave too.
QMap<int, QString> AsPrintLeavesIt(CTalveroDlg& dlg) {
    SaveDialogDriver cancelChoice{QString()};
    dlg.OnImprimir();
    return Snapshot(dlg);
}

QStringList WordTexts(const QString& pdf) {
    QStringList texts;
    for (const printtest::Word& w : printtest::Words(pdf)) {
        texts << w.text;
    }
    return texts;
}

// The controls whose texts differ, as "id: before -> after".
QStringList Changes(const QMap<int, QString>& before, const QMap<int, QString>& after) {
    QStringList changes;
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        if (after.value(it.key()) != it.value()) {
            changes << QStringLiteral("%1: %2 -> %3")
                           .arg(it.key())
                           .arg(it.value(), after.value(it.key()));
        }
    }
    return changes;
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class TestFormPdf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void savesTheReceiptOfTheForm();
    void proposalFollowsTheForm_data();
    void proposalFollowsTheForm();
    void startFolder_data();
    void startFolder();
    void cancelWritesNothing();
    void unwritableFolderIsReportedAndTheFormKept();

private:
    void Fill(CTalveroDlg& dlg);

    SettingsSandbox settings_{QStringLiteral("talvero-test-form-pdf")};
    QTemporaryDir home_;
    QTemporaryDir out_;
};

void TestFormPdf::initTestCase() {
    // A home of the test's own, so that "the Documents folder" is one the test controls.
    qputenv("HOME", QFile::encodeName(home_.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(QStringLiteral(".config"))));
}

void TestFormPdf::init() {
    settings_.Clear();
    QDir(home_.filePath(QStringLiteral("Documents"))).removeRecursively();
    for (const QString& name : FilesIn(out_.path())) {
        QFile::remove(out_.filePath(name));
    }
}

void TestFormPdf::Fill(CTalveroDlg& dlg) {
    TypeInto(dlg, 1003, QStringLiteral("17"));
    TypeInto(dlg, 1004, QStringLiteral("Zaragoza"));
    TypeInto(dlg, 1013, QStringLiteral("5"));
    Choose(dlg, 1029, QStringLiteral("MARZO"));
    TypeInto(dlg, 1030, QStringLiteral("2004"));
    TypeInto(dlg, 1006, QStringLiteral("Reparación"));
    TypeInto(dlg, 1007, QStringLiteral("100"));
    TypeInto(dlg, 1020, QStringLiteral("Piezas"));
    TypeInto(dlg, 1021, QStringLiteral("50,5"));
    Choose(dlg, 1036, QStringLiteral("16"));
    Choose(dlg, 1039, QStringLiteral("15"));
    TypeInto(dlg, 1001, QStringLiteral("Comunidad"));
}

void TestFormPdf::savesTheReceiptOfTheForm() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Fill(dlg);
    const QMap<int, QString> before = AsPrintLeavesIt(dlg);
    const QString pdf = out_.filePath(QStringLiteral("Recibo 17 2004-03-05.pdf"));
    {
        SaveDialogDriver driver(pdf);
        dlg.OnGuardarPdf();
        QCOMPARE(driver.dialogsSeen, 1);
        QCOMPARE(driver.messages, QStringList());
    }
    QCOMPARE(FilesIn(out_.path()), QStringList{QFileInfo(pdf).fileName()});
    QCOMPARE(printtest::PageCount(pdf), 1);
    // The form's values as the print command reads them, with the total.
    const QStringList words = WordTexts(pdf);
    for (const char* expected : {"17", "Zaragoza", "Reparación", "Piezas", "152,00", "Comunidad"}) {
        QVERIFY2(words.contains(QString::fromUtf8(expected)), qPrintable(words.join(u' ')));
    }
    const QString info = printtest::Run(QStringLiteral("pdfinfo"), {pdf}).output;
    QVERIFY2(info.contains(QStringLiteral("Title:           Recibo 17\n")), qPrintable(info));
    // The form shows what it showed, and the folder is kept for the next time.
    const QStringList changes = Changes(before, Snapshot(dlg));
    QVERIFY2(changes.isEmpty(), qPrintable(changes.join(u';')));
    QCOMPARE(settings_.Get(CARPETA_PDF), out_.path().toStdString());
}

void TestFormPdf::proposalFollowsTheForm_data() {
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("dia");
    QTest::addColumn<QString>("mes");
    QTest::addColumn<QString>("anio");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<int>("messages"); // validation messages of the form's read
    // clang-format off
    QTest::newRow("number and date") << "17" << "5" << "MARZO" << "2004" << "Recibo 17 2004-03-05.pdf" << 0;
    QTest::newRow("no number") << "" << "5" << "MARZO" << "2004" << "Recibo 2004-03-05.pdf" << 0;
    QTest::newRow("slash in the number") << "2004/9" << "5" << "MARZO" << "2004" << "Recibo 2004-9 2004-03-05.pdf" << 0;
    QTest::newRow("31 April leaves the date out") << "17" << "31" << "ABRIL" << "2004" << "Recibo 17.pdf" << 0;
    // The read stops at the day, with its message, and the command goes on as printing does.
    QTest::newRow("day 32: message, then the dialog") << "17" << "32" << "MARZO" << "2004" << "Recibo 17.pdf" << 1;
    // clang-format on
}

void TestFormPdf::proposalFollowsTheForm() {
    QFETCH(QString, numero);
    QFETCH(QString, dia);
    QFETCH(QString, mes);
    QFETCH(QString, anio);
    QFETCH(QString, expected);
    QFETCH(int, messages);

    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    TypeInto(dlg, 1003, numero);
    TypeInto(dlg, 1013, dia);
    Choose(dlg, 1029, mes);
    TypeInto(dlg, 1030, anio);
    SaveDialogDriver driver{QString()};
    dlg.OnGuardarPdf();
    QCOMPARE(driver.dialogsSeen, 1);
    QCOMPARE(driver.proposedName, expected);
    QCOMPARE(int(driver.messages.size()), messages);
}

void TestFormPdf::startFolder_data() {
    QTest::addColumn<QString>("remembered"); // "saved", "removed" or "" for none
    QTest::addColumn<bool>("documents");     // whether the home has a Documents folder
    QTest::addColumn<QString>("expected");   // "saved", "documents" or "home"
    // clang-format off
    QTest::newRow("folder of the last PDF, after a close and a new start") << "saved" << true << "saved";
    QTest::newRow("first PDF: the Documents folder") << "" << true << "documents";
    QTest::newRow("first PDF, no Documents folder: home") << "" << false << "home";
    QTest::newRow("last folder removed since: the Documents folder") << "removed" << true << "documents";
    // clang-format on
}

void TestFormPdf::startFolder() {
    QFETCH(QString, remembered);
    QFETCH(bool, documents);
    QFETCH(QString, expected);

    const QString documentsFolder = home_.filePath(QStringLiteral("Documents"));
    if (documents) {
        QVERIFY(QDir().mkpath(documentsFolder));
    }
    QTemporaryDir elsewhere;
    if (!remembered.isEmpty()) {
        // A first run saves a PDF there and is closed through its cancel path.
        CTalveroDlg first;
        QVERIFY(Open(first));
        TypeInto(first, 1003, QStringLiteral("17"));
        {
            SaveDialogDriver driver(elsewhere.filePath(QStringLiteral("uno.pdf")));
            first.OnGuardarPdf();
            QCOMPARE(driver.messages, QStringList());
        }
        QVERIFY(QFile::exists(elsewhere.filePath(QStringLiteral("uno.pdf"))));
        QTest::keyClick(&first, Qt::Key_Escape);
        QVERIFY(!first.isVisible());
        QCOMPARE(settings_.Get(CARPETA_PDF), elsewhere.path().toStdString());
        if (remembered == u"removed") {
            QVERIFY(elsewhere.remove());
        }
    }

    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    SaveDialogDriver driver{QString()};
    dlg.OnGuardarPdf();
    QCOMPARE(driver.dialogsSeen, 1);
    const QString want = expected == u"saved"       ? elsewhere.path()
                         : expected == u"documents" ? documentsFolder
                                                    : home_.path();
    QCOMPARE(driver.folder, QDir(want).absolutePath());
}

void TestFormPdf::cancelWritesNothing() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Fill(dlg);
    const QMap<int, QString> before = AsPrintLeavesIt(dlg);
    SaveDialogDriver driver{QString()};
    dlg.OnGuardarPdf();
    QCOMPARE(driver.dialogsSeen, 1);
    QCOMPARE(driver.messages, QStringList());
    QCOMPARE(FilesIn(out_.path()), QStringList());
    QVERIFY(!settings_.Has(CARPETA_PDF));
    const QStringList changes = Changes(before, Snapshot(dlg));
    QVERIFY2(changes.isEmpty(), qPrintable(changes.join(u';')));
}

void TestFormPdf::unwritableFolderIsReportedAndTheFormKept() {
    CTalveroDlg dlg;
    QVERIFY(Open(dlg));
    Fill(dlg);
    const QMap<int, QString> before = AsPrintLeavesIt(dlg);
    const QString pdf = out_.filePath(QStringLiteral("Recibo 17 2004-03-05.pdf"));
    SaveDialogDriver driver(pdf);
    {
        Unwritable readOnly(out_.path());
        if (!readOnly.Holds()) {
            QSKIP("the file system cannot refuse writing to an administrator here");
        }
        dlg.OnGuardarPdf();
    }
    QCOMPARE(driver.messages,
             QStringList{QStringLiteral("No se pudo guardar el recibo en \"%1\": no hay permiso "
                                        "para escribir en la carpeta.")
                             .arg(QDir::toNativeSeparators(pdf))});
    QCOMPARE(FilesIn(out_.path()), QStringList());
    QVERIFY(!settings_.Has(CARPETA_PDF));
    const QStringList changes = Changes(before, Snapshot(dlg));
    QVERIFY2(changes.isEmpty(), qPrintable(changes.join(u';')));
}

QTEST_MAIN(TestFormPdf)
#include "test_form_pdf.moc"
