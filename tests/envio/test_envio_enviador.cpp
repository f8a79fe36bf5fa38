// The register's pending records sent to the stand-in of the agency's service, and what each
// kind of answer leaves stored in a real SQLite register: one table of the service's answers,
// run after run, and the agency's waiting time kept between submissions.
#include "DatosEnvio.h"
#include "envio/Enviador.h"

#include <QtTest>

using namespace datos_envio;

class TestEnvioEnviador : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void respuestas_data();
    void respuestas();
    void esperaEntreEnvios();

private:
    // One run of the sender until it stops; with `pararTrasFallo`, as the command line.
    // `plazoMs` is how long an answer may take: short where a slow answer is the point, long
    // where a large submission is validated by the stand-in on a busy machine.
    void Ejecutar(const QString& url, bool pararTrasFallo = true, int plazoMs = 1'000);

    simulador::Certificados certificados_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<registro::Registro> registro_;
};

void TestEnvioEnviador::initTestCase() {
    QVERIFY2(certificados_.Crear(), qPrintable(certificados_.Error()));
}

void TestEnvioEnviador::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    registro_ = std::make_unique<registro::Registro>(dir_->filePath(u"recibos.sqlite"_qs));
    QVERIFY2(registro_->Abrir(), qPrintable(registro_->Error()));
}

void TestEnvioEnviador::cleanup() {
    registro_.reset();
    dir_.reset();
}

void TestEnvioEnviador::Ejecutar(const QString& url, bool pararTrasFallo, int plazoMs) {
    envio::Configuracion c;
    c.ajustes = Ajustes(certificados_, url, certificados_.Cliente());
    c.clave = QString::fromUtf8(simulador::kClave);
    c.plazoMs = plazoMs;
    c.pararTrasFallo = pararTrasFallo;
    envio::Enviador enviador(*registro_, c);
    QSignalSpy parado(&enviador, &envio::Enviador::Parado);
    enviador.Enviar();
    QVERIFY(parado.count() > 0 || parado.wait(plazoMs * 2 + 20'000));
}

void TestEnvioEnviador::respuestas_data() {
    // clang-format off
    // What the stand-in answers, one word per run of the sender (see SimuladorAeat.cpp).
    QTest::addColumn<QStringList>("guion");
    // "número estado código" of each record afterwards; as many records are pending before.
    QTest::addColumn<QStringList>("estados");
    QTest::addColumn<bool>("incidencia"); // the records left marked as after an incident
    // Whether each message received said Incidencia S.
    QTest::addColumn<QStringList>("incidencias");
    const QStringList uno{"-"};
    const QStringList dos{"-", "INCIDENCIA"};
    QTest::newRow("Aceptados") << QStringList{"correcto"} << Todos(2, "aceptado 0") << false << uno;
    QTest::newRow("Aceptados con errores") << QStringList{"errores"} << Todos(2, "aceptado_con_errores 2005") << false << uno;
    QTest::newRow("Rechazados") << QStringList{"rechazo"} << Todos(2, "rechazado 1100") << false << uno;
    QTest::newRow("En parte") << QStringList{"parcial"} << QStringList{"R-1 aceptado 0", "R-2 rechazado 1100", "R-3 aceptado 0"} << false << uno;
    // The agency registered them but its answer came too late: sent again after the
    // incident, they come back as held (3000), which counts as accepted.
    QTest::newRow("Respuesta tardía, luego duplicados") << QStringList{"lento", "correcto"} << Todos(2, "aceptado 3000") << true << dos;
    QTest::newRow("Fallo SOAP del servidor, luego aceptados") << QStringList{"fallo-servidor", "correcto"} << Todos(2, "aceptado 0") << true << dos;
    QTest::newRow("503: siguen pendientes") << QStringList{"503"} << Todos(1, "pendiente 0") << true << uno;
    QTest::newRow("Fallo SOAP del cliente: pendientes, sin incidencia") << QStringList{"fallo-cliente"} << Todos(1, "pendiente 0") << false << uno;
    // clang-format on
}

void TestEnvioEnviador::respuestas() {
    QFETCH(QStringList, guion);
    QFETCH(QStringList, estados);
    QFETCH(bool, incidencia);
    QFETCH(QStringList, incidencias);

    QVERIFY(Anadir(*registro_, int(estados.size())));
    simulador::Servicio servicio(certificados_, dir_->filePath(u"diario"_qs));
    QVERIFY2(servicio.Arrancar(guion, 0, 5'000), qPrintable(servicio.Error()));
    const QString url = servicio.Url();
    // A run for each word: a failure ends the run, and the next one sends again at once.
    for (qsizetype i = 0; i < guion.size(); ++i)
        Ejecutar(url);

    QCOMPARE(Estados(*registro_), estados);
    for (const registro::RegistroFacturacion& r : registro_->RegistrosFacturacion()) {
        QCOMPARE(r.incidencia, incidencia);
        // The CSV is stored on every record the agency took, unless it took it before (a
        // submission whose every record was already held gets none).
        if (r.estado == registro::EstadoEnvio::Pendiente)
            QVERIFY(r.csv.isEmpty());
        else if (r.estado != registro::EstadoEnvio::Rechazado && r.codigo != 3000)
            QVERIFY(!r.csv.isEmpty());
    }
    QStringList vistas;
    for (const QString& m : servicio.Lineas(u"MENSAJE"_qs)) {
        QVERIFY2(m.contains(u" VALIDO "), qPrintable(m)); // against the agency's schema
        vistas << m.section(u' ', 4, 4);
    }
    QCOMPARE(vistas, incidencias);
    QCOMPARE(servicio.Lineas(u"RESPUESTA-INVALIDA"_qs), QStringList());
}

// 1500 pending: the first 1000 go at once, the other 500 only once the agency's waiting time
// (1 s here) has passed since, as the stand-in's log of arrivals shows.
void TestEnvioEnviador::esperaEntreEnvios() {
    QVERIFY(Anadir(*registro_, 1500));
    simulador::Servicio servicio(certificados_, dir_->filePath(u"diario"_qs));
    QVERIFY2(servicio.Arrancar({u"correcto"_qs}, 1), qPrintable(servicio.Error()));
    Ejecutar(servicio.Url(), false, 60'000);

    const QStringList mensajes = servicio.Lineas(u"MENSAJE"_qs);
    QCOMPARE(mensajes.size(), 2);
    QCOMPARE(mensajes[0].section(u' ', 5, 5), u"1000"_qs);
    QCOMPARE(mensajes[1].section(u' ', 5, 5), u"500"_qs);
    const qint64 llegada1 = mensajes[0].section(u' ', 1, 1).toLongLong();
    const qint64 llegada2 = mensajes[1].section(u' ', 1, 1).toLongLong();
    QVERIFY2(llegada2 - llegada1 >= 1000, qPrintable(QString::number(llegada2 - llegada1)));
    QCOMPARE(registro_->CuantosPorEnviar(), qint64(0));
}

QTEST_GUILESS_MAIN(TestEnvioEnviador)
#include "test_envio_enviador.moc"
