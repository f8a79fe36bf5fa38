// Reaching the register's server from the windows: a silent server never freezes them; its
// password is asked once; "Recibos emitidos" says when the server is out of reach or lost, and
// fills itself when "Reintentar" finds it again.
#include "BaseDePrueba.h"
#include "SampleRecords.h"
#include "register/ConexionEnSegundoPlano.h"
#include "register/PreguntaDeClave.h"
#include "register/RecibosEmitidos.h"
#include "register/Registro.h"
#include "register/UriPostgres.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QTableView>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

using registro::Registro;

namespace {

QString LeerDelServidor(const QString& nombre) {
    QFile f(qEnvironmentVariable("TALVERO_PRUEBA_PG") + QLatin1Char('/') + nombre);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

} // namespace

class TestRegistroEspera : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void servidorQueNoContestaSinBloquear();
    void laClaveSePideUnaVez_data();
    void laClaveSePideUnaVez();
    void laVentanaReintenta();

private:
    std::unique_ptr<registrotest::BaseDePrueba> base_;
};

void TestRegistroEspera::init() {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        QSKIP("falta el controlador QPSQL");
}

void TestRegistroEspera::cleanup() {
    base_.reset();
    registro::InstalarPreguntaDeClave({});
}

void TestRegistroEspera::servidorQueNoContestaSinBloquear() {
    if (registrotest::EnPostgres())
        QSKIP("no necesita el servidor de pruebas: se prueba en la pasada sin él");
    QTcpServer mudo; // accepts, and never says a word
    QVERIFY(mudo.listen(QHostAddress::LocalHost));
    Registro r(QStringLiteral("postgresql://talvero@127.0.0.1:%1/talvero?connect_timeout=2")
                   .arg(mudo.serverPort()));

    int tics = 0;
    QString otraVez; // what this register says when asked again during the wait
    QTimer reloj;
    connect(&reloj, &QTimer::timeout, this, [&] {
        if (++tics == 1 && registro::EsperandoServidor() && !r.Abrir())
            otraVez = r.Error();
    });
    reloj.start(50);
    QElapsedTimer espera;
    espera.start();
    QVERIFY(!r.Abrir());

    QVERIFY2(r.Error().startsWith(QStringLiteral("el servidor no contesta")),
             qPrintable(r.Error()));
    QVERIFY2(tics >= 10, qPrintable(QString::number(tics))); // 2 s of a 50 ms timer
    QVERIFY2(otraVez.startsWith(QStringLiteral("ya se está esperando")), qPrintable(otraVez));
    QVERIFY(!registro::EsperandoServidor());
    QVERIFY(espera.elapsed() < (registro::kEsperaMaxima + 2) * 1000);
}

void TestRegistroEspera::laClaveSePideUnaVez_data() {
    QTest::addColumn<QStringList>("respuestas"); // in turn; empty: "Cancelar"
    QTest::addColumn<bool>("abre");

    const QString buena = QStringLiteral("<la del servidor>");
    QTest::newRow("la escrita abre, y no se pide más") << QStringList{buena} << true;
    QTest::newRow("una que el servidor rechaza se pide otra vez")
        << QStringList{QStringLiteral("no-es-esta"), buena} << true;
    QTest::newRow("cancelada, no abre ni se pide más") << QStringList{QString()} << false;
}

void TestRegistroEspera::laClaveSePideUnaVez() {
    QFETCH(QStringList, respuestas);
    QFETCH(bool, abre);
    if (const QString motivo = registrotest::SinServidor();
        !motivo.isEmpty() || !registrotest::EnPostgres())
        QSKIP(motivo.isEmpty() ? "solo con el servidor PostgreSQL de pruebas" : qPrintable(motivo));
    base_ = std::make_unique<registrotest::BaseDePrueba>(QString());
    QVERIFY2(base_->Error().isEmpty(), qPrintable(base_->Error()));
    respuestas.replaceInStrings(QStringLiteral("<la del servidor>"),
                                LeerDelServidor(QStringLiteral("clave")));
    // libpq finds no password: neither the tests' file nor the user's ~/.pgpass.
    const QTemporaryDir vacia;
    const QByteArray archivoDeClaves = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", vacia.filePath(QStringLiteral("ninguno")).toLocal8Bit());
    const auto restaurar = qScopeGuard([&] { qputenv("PGPASSFILE", archivoDeClaves); });
    registro::InstalarPreguntaDeClave(registro::PreguntarClaveConDialogo);

    QStringList preguntas; // the texts of the questions asked
    QTimer contestar;
    connect(&contestar, &QTimer::timeout, this, [&] {
        auto* d = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (d == nullptr || d->objectName() != QLatin1String("claveRegistro"))
            return;
        const QString respuesta = respuestas.value(preguntas.size());
        preguntas << d->labelText();
        if (respuesta.isEmpty()) {
            d->reject();
        } else {
            d->setTextValue(respuesta);
            d->accept();
        }
    });
    contestar.start(20);

    Registro primero(base_->Ubicacion());
    QCOMPARE(primero.Abrir(), abre);
    QCOMPARE(preguntas.size(), respuestas.size());
    QVERIFY2(preguntas.first().contains(QStringLiteral("«talvero»")),
             qPrintable(preguntas.first()));
    if (preguntas.size() > 1)
        QVERIFY2(preguntas.last().startsWith(QStringLiteral("El servidor no ha aceptado")),
                 qPrintable(preguntas.last()));
    if (!abre)
        QVERIFY2(primero.Error().startsWith(QStringLiteral("el servidor no acepta el usuario")),
                 qPrintable(primero.Error()));

    // Another connection of the same run: the answer kept, or the question not asked again.
    Registro segundo(base_->Ubicacion());
    QCOMPARE(segundo.Abrir(), abre);
    QCOMPARE(preguntas.size(), respuestas.size());
}

void TestRegistroEspera::laVentanaReintenta() {
    if (const QString motivo = registrotest::SinServidor();
        !motivo.isEmpty() || !registrotest::EnPostgres())
        QSKIP(motivo.isEmpty() ? "solo con el servidor PostgreSQL de pruebas" : qPrintable(motivo));
    base_ = std::make_unique<registrotest::BaseDePrueba>(QString());
    QVERIFY2(base_->Error().isEmpty(), qPrintable(base_->Error()));
    {
        Registro r(base_->Ubicacion());
        QVERIFY2(r.Anotar(sample::Filled(), QStringLiteral("Oficina")), qPrintable(r.Error()));
    }
    // The server's administrator, from the tests' own database.
    const auto administrar = [this](const QString& sql) {
        registrotest::ValorEnServidor(LeerDelServidor(QStringLiteral("uri")),
                                      sql.arg(QUrl(base_->Ubicacion()).path().mid(1)));
    };
    administrar(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS false"));

    registro::RecibosEmitidos ventana(base_->Ubicacion(), {});
    ventana.show();
    auto* estado = ventana.findChild<QLabel*>(QStringLiteral("estadoRegistro"));
    auto* reintentar = ventana.findChild<QPushButton*>(QStringLiteral("reintentarRegistro"));
    auto* tabla = ventana.findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    QVERIFY(estado && reintentar && tabla);
    const QString noConecta = QStringLiteral("No se puede conectar con el servidor del registro: ");
    QTRY_VERIFY(reintentar->isVisible());
    QVERIFY2(estado->text().startsWith(noConecta), qPrintable(estado->text()));
    QCOMPARE(tabla->model()->rowCount(), 0);

    administrar(QStringLiteral("ALTER DATABASE %1 ALLOW_CONNECTIONS true"));
    QTest::mouseClick(reintentar, Qt::LeftButton);
    QCOMPARE(tabla->model()->rowCount(), 1);
    QVERIFY(!reintentar->isVisible());
    QVERIFY2(estado->isHidden(), qPrintable(estado->text()));

    // The server drops the window's connection: the next reading says so, and retries.
    administrar(QStringLiteral("SELECT count(pg_terminate_backend(pid)) FROM pg_stat_activity "
                               "WHERE datname = '%1'"));
    ventana.Refrescar();
    QVERIFY2(reintentar->isVisible(), qPrintable(estado->text()));
    QVERIFY2(estado->text().startsWith(noConecta + QStringLiteral("se ha perdido la conexión")),
             qPrintable(estado->text()));
    QCOMPARE(tabla->model()->rowCount(), 0);
    QTest::mouseClick(reintentar, Qt::LeftButton);
    QCOMPARE(tabla->model()->rowCount(), 1);
}

QTEST_MAIN(TestRegistroEspera)
#include "test_registro_espera.moc"
