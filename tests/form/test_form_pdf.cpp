// "Guardar como PDF" from the form on a machine without printers: the name it proposes, the
// page it uses, the files left in the folder after a save, a cancel or a failure, and the
// folder remembered across a close and a new start.
#include "FormFixture.h"
#include "SaveDialogDriver.h"

#include "platform/PdfExport.h"

#include <QDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <linux/fs.h>
#include <memory>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

const QByteArray OLD_PDF = "%PDF- el recibo de antes\n";

QByteArray Content(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QStringList FilesIn(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// Every edit's and list's text by control id, as the print command leaves the form (even a
// cancelled printer choice reads the form and shows it again).
QMap<int, QString> AsPrintLeavesIt(CTalveroDlg& dlg, bool print) {
    if (print) {
        SaveDialogDriver cancelChoice{QString()};
        dlg.OnImprimir();
    }
    QMap<int, QString> texts;
    for (QWidget* w : dlg.findChildren<QWidget*>()) {
        const int id = w->objectName().toInt();
        if (id > 0 && (qobject_cast<QLineEdit*>(w) != nullptr || qobject_cast<QComboBox*>(w))) {
            texts.insert(id, Text(dlg, id));
        }
    }
    return texts;
}

// What stands in the way of a save while it lives. "read-only folder": the folder's mode
// bits, and for an administrator, whom they do not stop, the file system's immutable flag.
// "full disk": no file may grow past 4 KiB, so the PDF (far larger, with its font) fails
// half-way; the signal such a write raises is ignored, its error is what counts.
class Obstacle {
public:
    Obstacle(const QString& situation, const QString& folder) : situation_(situation) {
        if (situation_ == u"read-only folder") {
            fd_ = ::open(QFile::encodeName(folder).constData(), O_RDONLY);
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
            holds_ = geteuid() != 0 || Immutable(FS_IMMUTABLE_FL);
        } else if (situation_ == u"full disk") {
            std::signal(SIGXFSZ, SIG_IGN);
            getrlimit(RLIMIT_FSIZE, &old_);
            rlimit limit{4096, old_.rlim_max};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
    }
    ~Obstacle() {
        if (situation_ == u"read-only folder") {
            Immutable(0);
            ::close(fd_);
        } else if (situation_ == u"full disk") {
            setrlimit(RLIMIT_FSIZE, &old_);
        }
    }
    bool Holds() const { return holds_; }

private:
    bool Immutable(int flag) const {
        int flags = 0;
        if (geteuid() != 0 || ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) {
            return false;
        }
        flags = (flags & ~FS_IMMUTABLE_FL) | flag;
        return ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
    }
    QString situation_;
    int fd_ = -1;
    bool holds_ = true;
    rlimit old_{};
};

} // namespace

class TestFormPdf : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void proposedName_data();
    void proposedName();
    void pageWithoutPrinterIsA4WithFiveMillimetreMargins();
    void saveLeaves_data();
    void saveLeaves();

private:
    SettingsSandbox settings_{QStringLiteral("talvero-test-form-pdf")};
    QTemporaryDir home_;
};

void TestFormPdf::initTestCase() {
    // A home of the test's own, so that the Documents folder is one the test knows.
    qputenv("HOME", QFile::encodeName(home_.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_.filePath(QStringLiteral(".config"))));
    QVERIFY(QDir(home_.path()).mkdir(QStringLiteral("Documents")));
}

void TestFormPdf::proposedName_data() {
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QList<int>>("date"); // year, month, day
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("number and date") << "17" << QList{2004, 3, 5} << "Recibo 17 2004-03-05.pdf";
    QTest::newRow("blank number") << "  " << QList{2026, 1, 2} << "Recibo 2026-01-02.pdf";
    QTest::newRow("slash of a yearly series") << "2004/117" << QList{2004, 3, 5} << "Recibo 2004-117 2004-03-05.pdf";
    QTest::newRow("characters no desktop allows, tab, line break") << "a\\b:c*d?e\"f<g>h|i\tj\nk" << QList{2004, 3, 5} << "Recibo a-b-c-d-e-f-g-h-i-j-k 2004-03-05.pdf";
    QTest::newRow("31 April: no date") << "17" << QList{2004, 4, 31} << "Recibo 17.pdf";
    QTest::newRow("year 0: no date") << "17" << QList{0, 1, 1} << "Recibo 17.pdf";
    QTest::newRow("neither number nor date") << "" << QList{2003, 2, 29} << "Recibo.pdf";
    QTest::newRow("150 digits cut to 100") << QString(150, u'7') << QList{2004, 3, 5} << "Recibo " + QString(100, u'7') + " 2004-03-05.pdf";
    // clang-format on
}

void TestFormPdf::proposedName() {
    QFETCH(QString, numero);
    QFETCH(QList<int>, date);
    QFETCH(QString, expected);
    const moneda::Fecha fecha(date[0], date[1], date[2], 1, 1, 1);
    QCOMPARE(platform::ProposedPdfName(numero.toStdString(), fecha), expected);
}

void TestFormPdf::pageWithoutPrinterIsA4WithFiveMillimetreMargins() {
    const QPageLayout layout = platform::PdfPageLayout();
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.orientation(), QPageLayout::Portrait);
    QCOMPARE(layout.margins(QPageLayout::Millimeter), QMarginsF(5, 5, 5, 5));
}

void TestFormPdf::saveLeaves_data() {
    QTest::addColumn<QString>("situation"); // "save", "cancel", "read-only folder", "full disk"
    QTest::addColumn<bool>("oldPdf");       // whether the folder already holds the file
    QTest::addColumn<QString>("reason");    // of the message; empty when none is expected
    const QString full = "el archivo no se pudo escribir entero (puede que el disco esté lleno)";
    // clang-format off
    QTest::newRow("new file") << "save" << false << "";
    QTest::newRow("old PDF replaced once the new one is complete") << "save" << true << "";
    QTest::newRow("cancelled: nothing") << "cancel" << true << "";
    QTest::newRow("folder that cannot be written: no file") << "read-only folder" << false << "no hay permiso para escribir en la carpeta";
    QTest::newRow("folder that cannot be written: old PDF kept") << "read-only folder" << true << "no hay permiso para escribir en la carpeta";
    QTest::newRow("disk full half-way: nothing left") << "full disk" << false << full;
    QTest::newRow("disk full half-way: old PDF kept") << "full disk" << true << full;
    // clang-format on
}

void TestFormPdf::saveLeaves() {
    QFETCH(QString, situation);
    QFETCH(bool, oldPdf);
    QFETCH(QString, reason);

    settings_.Clear();
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("Recibo 17.pdf"));
    if (oldPdf) {
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(OLD_PDF) == OLD_PDF.size());
    }
    auto dlg = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(*dlg));
    TypeInto(*dlg, 1003, QStringLiteral("17"));
    const QMap<int, QString> before = AsPrintLeavesIt(*dlg, true);
    {
        Obstacle obstacle(situation, out.path());
        if (!obstacle.Holds()) {
            QSKIP("this file system cannot refuse writing to an administrator");
        }
        SaveDialogDriver driver(situation == u"cancel" ? QString() : pdf);
        dlg->OnGuardarPdf();
        QCOMPARE(driver.dialogsSeen, 1);
        QCOMPARE(driver.replaceQuestions, oldPdf && situation != u"cancel" ? 1 : 0);
        const QString message = QStringLiteral("No se pudo guardar el recibo en \"%1\": %2.")
                                    .arg(QDir::toNativeSeparators(pdf), reason);
        QCOMPARE(driver.messages, reason.isEmpty() ? QStringList() : QStringList{message});
    }
    QFile::setPermissions(out.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    // Only the PDF, whole or as it was: no temporary file, no half-written PDF.
    const bool saved = situation == u"save";
    QCOMPARE(FilesIn(out.path()), saved || oldPdf ? QStringList{"Recibo 17.pdf"} : QStringList());
    if (saved) {
        QVERIFY(Content(pdf).startsWith("%PDF-1.4") && Content(pdf).trimmed().endsWith("%%EOF"));
    } else if (oldPdf) {
        QCOMPARE(Content(pdf), OLD_PDF);
    }
    QCOMPARE(AsPrintLeavesIt(*dlg, false), before);

    // The folder is remembered only for a PDF written, across a close and a new start.
    QTest::keyClick(dlg.get(), Qt::Key_Escape);
    dlg = std::make_unique<CTalveroDlg>();
    QVERIFY(Open(*dlg));
    SaveDialogDriver next{QString()};
    dlg->OnGuardarPdf();
    QCOMPARE(next.folder, saved ? QDir(out.path()).absolutePath()
                                : QDir(home_.filePath(QStringLiteral("Documents"))).absolutePath());
    QCOMPARE(next.proposedName,
             QStringLiteral("Recibo 17 %1.pdf").arg(QDate::currentDate().toString(Qt::ISODate)));
}

QTEST_MAIN(TestFormPdf)
#include "test_form_pdf.moc"
