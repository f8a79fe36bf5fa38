// The real program started where there is no graphical desktop: it must end on its own with
// status 1 and one Spanish line, not abort with a core dump after the toolkit's advice.
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class TestAppNoDisplay : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void endsWithOneSpanishLine_data();
    void endsWithOneSpanishLine();
    void aDisplayStillStartsTheForm();
};

namespace {

const QByteArray kLine =
    "Talvero necesita un escritorio gráfico: no se ha encontrado ninguna pantalla.\n";

QProcessEnvironment Environment(const QTemporaryDir& home) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    return env;
}

} // namespace

void TestAppNoDisplay::endsWithOneSpanishLine_data() {
    QTest::addColumn<QStringList>("settings"); // NAME=value pairs for the child
    QTest::newRow("no display named and no platform chosen") << QStringList{};
    QTest::newRow("X chosen with an empty DISPLAY")
        << QStringList{"QT_QPA_PLATFORM=xcb", "DISPLAY="};
    QTest::newRow("X chosen with a display nobody serves")
        << QStringList{"QT_QPA_PLATFORM=xcb", "DISPLAY=:987"};
}

void TestAppNoDisplay::endsWithOneSpanishLine() {
    QFETCH(QStringList, settings);
    QTemporaryDir home;
    QProcessEnvironment env = Environment(home);
    for (const QString& s : settings)
        env.insert(s.section(QLatin1Char('='), 0, 0), s.section(QLatin1Char('='), 1));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TALVERO_EXE), {});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit); // no signal, no core dump
    QCOMPARE(program.exitCode(), 1);
    QCOMPARE(program.readAllStandardError(), kLine);
}

void TestAppNoDisplay::aDisplayStillStartsTheForm() {
    QTemporaryDir home;
    QProcessEnvironment env = Environment(home);
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("TALVERO_TEST_AUTOCLOSE_MS"), QStringLiteral("300"));
    QProcess program;
    program.setProcessEnvironment(env);
    program.start(QStringLiteral(TALVERO_EXE), {});
    QVERIFY(program.waitForFinished(60000));
    QCOMPARE(program.exitStatus(), QProcess::NormalExit);
    QCOMPARE(program.exitCode(), 0);
    QVERIFY(!program.readAllStandardError().contains(kLine));
}

QTEST_GUILESS_MAIN(TestAppNoDisplay)
#include "test_app_nodisplay.moc"
