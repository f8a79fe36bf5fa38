// Reaching the register's server from the windows: a server that does not answer never holds
// the windows still (the test's own timer keeps firing during the wait); the password the
// server wants is asked once and used; "Recibos emitidos" says when the server cannot be
// reached, or is lost, and fills itself when "Reintentar" finds it again.
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
#include <QPointer>
#include <QPushButton>
#include <QScopeGuard>
#include <QSqlDatabase>
#include <QTableView>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QUrl>

#include <memory>

using registro::Registro;

namespace {

// A loopback port that passes every connection on to the tests' server while it listens:
// opening it brings the server "back", closing it cuts every connection made through it. It
// runs on a thread of its own, since the window's queries hold its thread while they wait.
class Reenvio : public QObject {
public:
    explicit Reenvio(quint16 destino) : destino_(destino) {
        auto* trabajo = new QObject;
        trabajo->moveToThread(&hilo_);
        connect(&hilo_, &QThread::finished, trabajo, &QObject::deleteLater);
        trabajo_ = trabajo;
        hilo_.start();
    }
    ~Reenvio() override {
        Cerrar();
        hilo_.quit();
        hilo_.wait();
    }
    bool Abrir(quint16 puerto) {
        bool abierto = false;
        QMetaObject::invokeMethod(
            trabajo_,
            [this, puerto, &abierto] {
                escucha_ = std::make_unique<QTcpServer>();
                connect(escucha_.get(), &QTcpServer::newConnection, trabajo_, [this] { Nuevas(); });
                abierto = escucha_->listen(QHostAddress::LocalHost, puerto);
            },
            Qt::BlockingQueuedConnection);
        return abierto;
    }
    void Cerrar() {
        QMetaObject::invokeMethod(
            trabajo_,
            [this] {
                escucha_.reset();
                for (const QPointer<QTcpSocket>& s : enUso_)
                    if (s)
                        s->abort();
                enUso_.clear();
            },
            Qt::BlockingQueuedConnection);
    }

private:
    void Nuevas() {
        while (QTcpSocket* cliente = escucha_->nextPendingConnection()) {
            auto* servidor = new QTcpSocket(cliente);
            servidor->connectToHost(QHostAddress::LocalHost, destino_);
            servidor->waitForConnected(2000); // on loopback: at once
            connect(cliente, &QTcpSocket::readyRead, servidor,
                    [cliente, servidor] { servidor->write(cliente->readAll()); });
            connect(servidor, &QTcpSocket::readyRead, cliente,
                    [cliente, servidor] { cliente->write(servidor->readAll()); });
            connect(servidor, &QTcpSocket::disconnected, cliente, &QTcpSocket::abort);
            connect(cliente, &QTcpSocket::disconnected, cliente, &QObject::deleteLater);
            enUso_ << cliente << servidor;
        }
    }

    QThread hilo_;
    QObject* trabajo_ = nullptr; // lives on hilo_
    std::unique_ptr<QTcpServer> escucha_;
    quint16 destino_;
    QList<QPointer<QTcpSocket>> enUso_;
};

QString LeerDelServidor(const QString& nombre) {
    QFile f(qEnvironmentVariable("TALVERO_PRUEBA_PG") + QLatin1Char('/') + nombre);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()).trimmed() : QString();
}

// The URI with another port.
QString EnPuerto(const QString& uri, int puerto) {
    QUrl url(uri);
    url.setPort(puerto);
    return url.toString();
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
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<registrotest::BaseDePrueba> base_;
};

void TestRegistroEspera::init() {
    if (!QSqlDatabase::isDriverAvailable(QStringLiteral("QPSQL")))
        QSKIP("falta el controlador QPSQL");
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
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
    bool esperando = false;
    QString otraVez; // what this register says when asked again during the wait
    QTimer reloj;
    connect(&reloj, &QTimer::timeout, this, [&] {
        if (++tics == 1) {
            esperando = registro::EsperandoServidor();
            QVERIFY(!r.Abrir());
            otraVez = r.Error();
        }
    });
    reloj.start(50);
    QElapsedTimer espera;
    espera.start();
    QVERIFY(!r.Abrir());

    QVERIFY2(r.Error().startsWith(QStringLiteral("el servidor no contesta")),
             qPrintable(r.Error()));
    QVERIFY2(tics >= 10, qPrintable(QString::number(tics))); // 2 s of a 50 ms timer
    QVERIFY(esperando);
    QVERIFY2(otraVez.startsWith(QStringLiteral("ya se está esperando")), qPrintable(otraVez));
    QVERIFY(!registro::EsperandoServidor());
    QVERIFY(espera.elapsed() < (registro::kEsperaMaxima + 2) * 1000);
}

void TestRegistroEspera::laClaveSePideUnaVez_data() {
    // Each answer to the question in turn; empty: "Cancelar".
    QTest::addColumn<QStringList>("respuestas");
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
    const QByteArray archivoDeClaves = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", dir_->filePath(QStringLiteral("ninguno")).toLocal8Bit());
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
    // A port where nothing listens yet: the server is "down".
    quint16 puerto = 0;
    {
        QTcpServer libre;
        QVERIFY(libre.listen(QHostAddress::LocalHost));
        puerto = libre.serverPort();
    }
    Reenvio reenvio(quint16(QUrl(base_->Ubicacion()).port()));
    const QString uri = EnPuerto(base_->Ubicacion(), puerto);
    // The tests' password file names the server's own port, not this one.
    registro::RecordarClaveDeSesion(uri, LeerDelServidor(QStringLiteral("clave")));

    registro::RecibosEmitidos ventana(uri, {});
    ventana.show();
    auto* estado = ventana.findChild<QLabel*>(QStringLiteral("estadoRegistro"));
    auto* reintentar = ventana.findChild<QPushButton*>(QStringLiteral("reintentarRegistro"));
    auto* tabla = ventana.findChild<QTableView*>(QStringLiteral("tablaRecibos"));
    QVERIFY(estado && reintentar && tabla);
    QTRY_VERIFY(reintentar->isVisible());
    QVERIFY2(estado->text().startsWith(
                 QStringLiteral("No se puede conectar con el servidor del registro: el servidor "
                                "rechaza la conexión")),
             qPrintable(estado->text()));
    QCOMPARE(tabla->model()->rowCount(), 0);

    QVERIFY(reenvio.Abrir(puerto));
    QTest::mouseClick(reintentar, Qt::LeftButton);
    QTRY_COMPARE(tabla->model()->rowCount(), 1);
    QVERIFY(!reintentar->isVisible());
    QVERIFY2(estado->isHidden(), qPrintable(estado->text()));

    // The server goes while the window is open: the next reading says so.
    reenvio.Cerrar();
    ventana.Refrescar();
    QVERIFY2(reintentar->isVisible(), qPrintable(estado->text()));
    QVERIFY2(estado->text().startsWith(
                 QStringLiteral("No se puede conectar con el servidor del registro: se ha perdido "
                                "la conexión")),
             qPrintable(estado->text()));
    QCOMPARE(tabla->model()->rowCount(), 0);

    QVERIFY(reenvio.Abrir(puerto));
    QTest::mouseClick(reintentar, Qt::LeftButton);
    QTRY_COMPARE(tabla->model()->rowCount(), 1);
    QVERIFY(!reintentar->isVisible());
}

QTEST_MAIN(TestRegistroEspera)
#include "test_registro_espera.moc"
