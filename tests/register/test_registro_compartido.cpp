// "Registro compartido" on real widgets (offscreen), against the tests' PostgreSQL server:
// what "Probar conexión" says, what "Aceptar" keeps (never a password in the settings; ~/.pgpass
// written whole and private) and the copy of a desk's file, all without freezing the window.
#include "BaseDePrueba.h"
#include "SampleRecords.h"
#include "platform/SettingsStore.h"
#include "register/Registro.h"
#include "register/UriPostgres.h"
#include "register/VentanaRegistroCompartido.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>

namespace {

// The longest a server may keep "Probar conexión" waiting, and a little more.
constexpr int kEsperaMs = (registro::kEsperaMaxima + 5) * 1000;

template <typename T> T* Hijo(const QWidget& ventana, const char* nombre) {
    auto* w = ventana.findChild<T*>(QLatin1String(nombre));
    if (w == nullptr)
        qFatal("falta %s", nombre);
    return w;
}

// The window's fields filled with the parts of `uri`.
void Rellenar(const QWidget& v, const QString& uri, const QString& clave = {}) {
    const QUrl url(uri);
    Hijo<QRadioButton>(v, "enServidor")->setChecked(true);
    Hijo<QLineEdit>(v, "servidor")->setText(url.host());
    Hijo<QSpinBox>(v, "puerto")->setValue(url.port());
    Hijo<QLineEdit>(v, "base")->setText(url.path().mid(1));
    Hijo<QLineEdit>(v, "usuario")->setText(url.userName());
    Hijo<QLineEdit>(v, "clave")->setText(clave);
}

// A loopback port nothing listens on.
int PuertoLibre() {
    QTcpServer s;
    return s.listen(QHostAddress::LocalHost) ? s.serverPort() : 0;
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

class TestRegistroCompartido : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void probarConexion_data();
    void probarConexion();
    void aceptar_data();
    void aceptar();
    void guardaLaClaveEnPgpassYNoEnLosAjustes();
    void copiaLosRecibosDeEsteEquipo();

private:
    QString Ajustes() const {
        return ajustes_.filePath(
            QStringLiteral("Quenlaria/%1.conf").arg(QCoreApplication::applicationName()));
    }
    void Guardar(const QString& uri) {
        platform::SettingsStore s;
        s.WriteString(platform::kTalveroSection, "Registro", uri.toStdString());
        QVERIFY(s.Flush());
    }
    static QString Guardada() {
        return QString::fromStdString(
            platform::SettingsStore().GetString(platform::kTalveroSection, "Registro"));
    }

    QTemporaryDir ajustes_;
};

void TestRegistroCompartido::initTestCase() {
    QVERIFY(ajustes_.isValid());
    qputenv("XDG_CONFIG_HOME", ajustes_.path().toLocal8Bit());
    QCoreApplication::setOrganizationName(QStringLiteral("Quenlaria"));
    QCoreApplication::setApplicationName(QStringLiteral("talvero-compartido"));
}

void TestRegistroCompartido::init() {
    QFile::remove(Ajustes());
}

void TestRegistroCompartido::probarConexion_data() {
    QTest::addColumn<QString>("base"); // "registro", "vacia", "nueva", "ninguna", "sin servidor"
    QTest::addColumn<QString>("clave");
    QTest::addColumn<QString>("dice");

    QTest::newRow("un registro con dos recibos")
        << "registro" << QString() << "El registro del servidor tiene 2 recibos.";
    QTest::newRow("una base sin registro: se creará")
        << "vacia" << QString() << "se creará la primera vez que se use";
    QTest::newRow("contraseña equivocada") << "vacia"
                                           << "no-es-esta"
                                           << "el servidor no acepta el usuario o la contraseña";
    QTest::newRow("una base que no existe")
        << "ninguna" << QString() << "no existe esa base de datos en el servidor";
    QTest::newRow("nada escucha en el puerto")
        << "sin servidor" << QString() << "el servidor rechaza la conexión";
    QTest::newRow("un registro de una versión más nueva, sin tocar")
        << "nueva" << QString() << "el registro es de una versión más nueva de Talvero (99)";
}

void TestRegistroCompartido::probarConexion() {
    QFETCH(QString, base);
    QFETCH(QString, clave);
    QFETCH(QString, dice);
    if (const QString motivo = registrotest::SinServidor();
        !registrotest::EnPostgres() || !motivo.isEmpty())
        QSKIP("solo con el servidor PostgreSQL de pruebas");
    registrotest::BaseDePrueba prueba{QString()};
    QVERIFY2(prueba.Error().isEmpty(), qPrintable(prueba.Error()));
    QUrl url(prueba.Ubicacion());
    if (base == QLatin1String("registro")) {
        registro::Registro r(prueba.Ubicacion());
        QVERIFY2(r.Abrir(), qPrintable(r.Error()));
        QVERIFY(r.Anotar(sample::Varied(1), QStringLiteral("PDF")));
        QVERIFY(r.Anotar(sample::Varied(2), QStringLiteral("PDF")));
    } else if (base == QLatin1String("nueva")) {
        QVERIFY2(prueba.Ejecutar({QStringLiteral("CREATE TABLE talvero_version (version INTEGER)"),
                                  QStringLiteral("INSERT INTO talvero_version VALUES (99)")}),
                 qPrintable(prueba.Error()));
    } else if (base == QLatin1String("ninguna")) {
        url.setPath(QStringLiteral("/no_existe_nunca"));
    } else if (base == QLatin1String("sin servidor")) {
        url.setPort(PuertoLibre());
    }

    registro::VentanaRegistroCompartido v(QString{});
    v.show();
    Rellenar(v, url.toString(), clave);
    auto* probar = Hijo<QPushButton>(v, "probar");
    QTest::mouseClick(probar, Qt::LeftButton);
    // The answer comes from another thread: meanwhile the button waits and the window lives.
    QVERIFY(!probar->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(probar->isEnabled(), kEsperaMs);
    const QString texto = Hijo<QLabel>(v, "resultado")->text();
    QVERIFY2(texto.contains(dice), qPrintable(texto));
    if (base == QLatin1String("nueva"))
        QCOMPARE(
            registrotest::ValorEnServidor(
                prueba.Ubicacion(), QStringLiteral("SELECT max(version) FROM talvero_version")),
            99);
}

void TestRegistroCompartido::aceptar_data() {
    QTest::addColumn<bool>("enServidor");
    QTest::addColumn<QString>("servidor");
    QTest::addColumn<QString>("usuario");
    QTest::addColumn<QString>("dice");     // the message of a refusal, or empty
    QTest::addColumn<QString>("guardada"); // the key after it, "-" for none

    const QString antes = QStringLiteral("postgresql://ana@viejo:5433/otra?sslmode=prefer");
    QTest::newRow("en este equipo: la clave se quita")
        << false << QString() << QString() << QString() << "-";
    QTest::newRow("sin servidor: lo dice y nada cambia") << true << QString() << "ana"
                                                         << "«Servidor»" << antes;
    QTest::newRow("en un servidor: su dirección")
        << true << "servidor.oficina"
        << "bea" << QString() << "postgresql://bea@servidor.oficina:5433/otra?sslmode=prefer";
}

void TestRegistroCompartido::aceptar() {
    QFETCH(bool, enServidor);
    QFETCH(QString, servidor);
    QFETCH(QString, usuario);
    QFETCH(QString, dice);
    QFETCH(QString, guardada);
    Guardar(QStringLiteral("postgresql://ana@viejo:5433/otra?sslmode=prefer"));
    registro::VentanaRegistroCompartido v(QString{});
    QVERIFY(Hijo<QRadioButton>(v, "enServidor")->isChecked());
    (enServidor ? Hijo<QRadioButton>(v, "enServidor") : Hijo<QRadioButton>(v, "enEsteEquipo"))
        ->setChecked(true);
    Hijo<QLineEdit>(v, "servidor")->setText(servidor);
    Hijo<QLineEdit>(v, "usuario")->setText(usuario);
    v.accept();
    QCOMPARE(v.result(), dice.isEmpty() ? int(QDialog::Accepted) : int(QDialog::Rejected));
    if (!dice.isEmpty())
        QVERIFY2(Hijo<QLabel>(v, "resultado")->text().contains(dice),
                 qPrintable(Hijo<QLabel>(v, "resultado")->text()));
    QCOMPARE(Guardada(), guardada == QLatin1String("-") ? QString() : guardada);
}

void TestRegistroCompartido::guardaLaClaveEnPgpassYNoEnLosAjustes() {
    // A stored key with a parameter of its own, shown field by field and kept.
    Guardar(QStringLiteral(
        "postgresql://ana@servidor.oficina:6432/talvero?application_name=caja&sslmode=verify-ca"));
    const QString pgpass = ajustes_.filePath(QStringLiteral("pgpass"));
    {
        QFile f(pgpass);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("# del administrador\n*:*:*:postgres:otra\n"
                "servidor.oficina:6432:talvero:ana:vieja\n\nlocalhost:5432:talvero:ana:x\n");
    }
    const QByteArray antes = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", pgpass.toLocal8Bit());
    registro::VentanaRegistroCompartido v(QString{});
    QCOMPARE(Hijo<QLineEdit>(v, "servidor")->text(), QStringLiteral("servidor.oficina"));
    QCOMPARE(Hijo<QSpinBox>(v, "puerto")->value(), 6432);
    QCOMPARE(Hijo<QLineEdit>(v, "usuario")->text(), QStringLiteral("ana"));
    QCOMPARE(Hijo<QComboBox>(v, "cifrado")->currentData().toString(), QStringLiteral("verify-ca"));
    Hijo<QComboBox>(v, "cifrado")->setCurrentIndex(1); // require
    const QString clave = QStringLiteral("dos:puntos\\barra");
    Hijo<QLineEdit>(v, "clave")->setText(clave);
    Hijo<QCheckBox>(v, "guardarClave")->setChecked(true);
    v.accept();
    if (antes.isNull())
        qunsetenv("PGPASSFILE");
    else
        qputenv("PGPASSFILE", antes);

    QCOMPARE(v.result(), int(QDialog::Accepted));
    const QString uri = QStringLiteral(
        "postgresql://ana@servidor.oficina:6432/talvero?application_name=caja&sslmode=require");
    QCOMPARE(Guardada(), uri);
    QVERIFY(!Leer(Ajustes()).contains("puntos"));
    QCOMPARE(registro::ClaveDeSesion(uri), clave);
    QCOMPARE(QString::fromUtf8(Leer(pgpass)),
             QStringLiteral("# del administrador\n*:*:*:postgres:otra\n\n"
                            "localhost:5432:talvero:ana:x\n"
                            "servidor.oficina:6432:talvero:ana:dos\\:puntos\\\\barra\n"));
    QCOMPARE(QFile::permissions(pgpass), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                             QFileDevice::ReadUser | QFileDevice::WriteUser);
}

void TestRegistroCompartido::copiaLosRecibosDeEsteEquipo() {
    if (const QString motivo = registrotest::SinServidor();
        !registrotest::EnPostgres() || !motivo.isEmpty())
        QSKIP("solo con el servidor PostgreSQL de pruebas");
    QTemporaryDir dir;
    const QString archivo = dir.filePath(QStringLiteral("recibos.sqlite"));
    {
        registro::Registro r(archivo);
        QVERIFY2(r.Abrir(), qPrintable(r.Error()));
        for (int i = 1; i <= 3; ++i)
            QVERIFY(r.Anotar(sample::Varied(std::uint64_t(i)), QStringLiteral("PDF")));
    }
    registrotest::BaseDePrueba prueba{QString()};
    QVERIFY2(prueba.Error().isEmpty(), qPrintable(prueba.Error()));
    registro::VentanaRegistroCompartido v(archivo);
    v.show();
    Rellenar(v, prueba.Ubicacion());
    auto* copiar = Hijo<QPushButton>(v, "copiar");
    auto* resultado = Hijo<QLabel>(v, "resultado");
    // Copies; what the window then says, and the 3 receipts on the server.
    const auto copiar3 = [&](const QString& dice) {
        QTest::mouseClick(copiar, Qt::LeftButton);
        auto* pregunta = v.findChild<QMessageBox*>(QStringLiteral("confirmarCopia"));
        QVERIFY(pregunta != nullptr);
        QTest::mouseClick(Hijo<QPushButton>(*pregunta, "copiarSi"), Qt::LeftButton);
        QVERIFY(!copiar->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(copiar->isEnabled(), kEsperaMs);
        QVERIFY2(resultado->text().contains(dice), qPrintable(resultado->text()));
        QCOMPARE(registrotest::ValorEnServidor(prueba.Ubicacion(),
                                               QStringLiteral("SELECT count(*) FROM recibos")),
                 3);
    };
    copiar3(QStringLiteral("Copiados 3 recibos"));
    // Once more: the server's register holds receipts now, and nothing is copied twice.
    copiar3(QStringLiteral("ya tiene recibos"));
}

QTEST_MAIN(TestRegistroCompartido)
#include "test_registro_compartido.moc"
