// The start-up as the program runs it: the application object with arguments it must
// ignore, the form run modally and closed with Escape, and what that leaves behind.
#include "ModalWatcher.h"

#include "app/Talvero.h"
#include "form/TalveroDlg.h"

#include <QFileInfo>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

// Set before the application exists, so that nothing reads the user's real settings.
QTemporaryDir* g_config = nullptr;

} // namespace

class TestAppStartup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void theFormRunsModallyAndTheProgramEndsWhenItCloses();
    void frameworkTextsAreSpanish();
};

void TestAppStartup::theFormRunsModallyAndTheProgramEndsWhenItCloses() {
    auto* app = qobject_cast<CTalveroApp*>(QCoreApplication::instance());
    QVERIFY(app);
    QString organization;
    QString title;
    bool modal = false;
    bool sawForm = false;
    bool openAfterPrint = false;
    QTimer poll;
    poll.setInterval(10);
    connect(&poll, &QTimer::timeout, this, [&] {
        auto* form = qobject_cast<CTalveroDlg*>(QApplication::activeModalWidget());
        if (!form || sawForm)
            return;
        sawForm = true;
        organization = QCoreApplication::organizationName();
        title = form->windowTitle();
        modal = form->isModal();
        // "&Imprimir" does not end the program.
        ModalWatcher watcher;
        QTest::mouseClick(form->findChild<QPushButton*>(QStringLiteral("1")), Qt::LeftButton);
        openAfterPrint = form->isVisible() && watcher.seen().size() == 1;
        QTest::keyClick(form, Qt::Key_Escape);
    });
    poll.start();
    QCOMPARE(app->InitInstance(), false);
    QVERIFY(sawForm);
    QVERIFY(modal);
    QVERIFY(openAfterPrint);
    QCOMPARE(organization, QStringLiteral("Quenlaria"));
    QVERIFY(title.startsWith(QStringLiteral("Talvero    Gratuito    Cortesia de ")));

    // Closing wrote the settings: Software / Quenlaria / executable name / section / key.
    const QString name = QFileInfo(QCoreApplication::applicationFilePath()).baseName();
    QCOMPARE(QCoreApplication::applicationName(), name);
    const QString file =
        g_config->path() + QStringLiteral("/Quenlaria/") + name + QStringLiteral(".conf");
    QVERIFY2(QFileInfo::exists(file), qPrintable(file));
    QSettings written(file, QSettings::IniFormat);
    QCOMPARE(written.value(QStringLiteral("Aplicacion Talvero/Pluma")).toString(),
             QStringLiteral("SOLIDO"));
}

void TestAppStartup::frameworkTextsAreSpanish() {
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Cancelar"));
}

int main(int, char** argv) {
    QTemporaryDir config;
    g_config = &config;
    qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());

    // Arguments the program must ignore.
    char printArg[] = "--imprimir";
    char fileArg[] = "recibo.txt";
    std::vector<char*> args = {argv[0], printArg, fileArg, nullptr};
    int count = 3;
    CTalveroApp app(count, args.data());
    TestAppStartup test;
    return QTest::qExec(&test, 1, argv);
}

#include "test_app_startup.moc"
