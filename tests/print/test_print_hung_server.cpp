// A print server that takes the connection and never answers: "Imprimir recibo" still
// opens at once, says that it is looking for printers, cancels at every moment, and after
// the bounded wait says that the server does not answer, offering the PDF file.
#include "platform/PrintDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

class TestPrintHungServer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cancelWorksWhileSearching();
    void silentServerIsReported();
};

void TestPrintHungServer::cancelWorksWhileSearching() {
    QElapsedTimer clock;
    clock.start();
    platform::PrintDialog dialog(nullptr);
    dialog.show();
    QVERIFY(clock.elapsed() < 1000); // the dialog did not wait for the server
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("estado"));
    QVERIFY(status != nullptr);
    QCOMPARE(status->text(), QStringLiteral("Buscando impresoras…"));
    QVERIFY(dialog.Searching());

    // The window keeps answering: a timer fires and Escape cancels, all while searching.
    bool ticked = false;
    QTimer::singleShot(50, &dialog, [&] { ticked = true; });
    QTRY_VERIFY_WITH_TIMEOUT(ticked, 1000);
    QVERIFY(dialog.Searching());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(clock.elapsed() < 3000);
}

void TestPrintHungServer::silentServerIsReported() {
    platform::PrintDialog dialog(nullptr);
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.Searching(), 8000);
    auto* status = dialog.findChild<QLabel*>(QStringLiteral("estado"));
    QVERIFY(status->text().startsWith(QStringLiteral("El servidor de impresión no responde")));
    auto* destino = dialog.findChild<QComboBox*>(QStringLiteral("destino"));
    QCOMPARE(destino->count(), 1);
    QCOMPARE(destino->currentText(), QStringLiteral("Archivo PDF"));
    QCOMPARE(dialog.Chosen(), platform::PrintDialog::Destination::PdfFile);
}

int main(int argc, char** argv) {
    // A local socket that listens and never accepts: the client's connection completes,
    // its request is never read.
    QTemporaryDir dir(QStringLiteral("/tmp/talvero-hung-XXXXXX"));
    const QByteArray path = dir.filePath(QStringLiteral("cups.sock")).toLocal8Bit();
    const int server = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, path.constData(), sizeof(address.sun_path) - 1);
    if (server < 0 || ::bind(server, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(server, 16) != 0) {
        std::perror("socket");
        return 1;
    }
    qputenv("CUPS_SERVER", path);
    qunsetenv("PRINTER");
    qunsetenv("LPDEST");

    QApplication app(argc, argv);
    TestPrintHungServer test;
    const int failed = QTest::qExec(&test, argc, argv);
    ::close(server);
    // Workers still waiting on the silent server are abandoned with the process.
    std::fflush(nullptr);
    ::_exit(failed == 0 ? 0 : 1);
}

#include "test_print_hung_server.moc"
