// "talvero --verifactu-enviar" as a user runs it, without a display, against the stand-in of
// the agency's service: its exit status and messages for each kind of answer, and a run
// killed while waiting for the answer, after which the next run sends the rest and nothing
// is registered twice.
#include "../lista/EjecutarTalvero.h"
#include "DatosEnvio.h"

#include <QtTest>

using namespace datos_envio;

class TestEnvioOrden : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void cleanup();
    void orden_data();
    void orden();
    void muertoAMitad();

private:
    void Ajustar(const QString& url);

    simulador::Certificados certificados_;
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<registro::Registro> registro_;
};

void TestEnvioOrden::initTestCase() {
    QVERIFY2(certificados_.Crear(), qPrintable(certificados_.Error()));
}

void TestEnvioOrden::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    registro_ = std::make_unique<registro::Registro>(RegistroDeTalvero(dir_->path()));
    QVERIFY2(registro_->Abrir(), qPrintable(registro_->Error()));
    qputenv("TALVERO_CLAVE_CERTIFICADO", simulador::kClave);
}

void TestEnvioOrden::cleanup() {
    registro_.reset();
    dir_.reset();
}

// The program's settings, pointing at the stand-in and trusting its authority.
void TestEnvioOrden::Ajustar(const QString& url) {
    platform::SettingsStore ajustes(AjustesDeTalvero(dir_->path()));
    verifactu::EscribirAjustes(ajustes, Ajustes(certificados_, url, certificados_.Cliente()));
    QVERIFY(ajustes.Flush());
}

void TestEnvioOrden::orden_data() {
    // clang-format off
    QTest::addColumn<QString>("guion");
    QTest::addColumn<QString>("falta"); // "clave": no password; "certificado": no file named
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("errores"); // a line standard error must hold; or nothing
    // "número estado código" of each record afterwards; as many records are pending before.
    QTest::addColumn<QStringList>("estados");
    QTest::newRow("Nada pendiente") << "correcto" << "" << 0 << "" << QStringList{};
    QTest::newRow("Aceptados") << "correcto" << "" << 0 << "" << Todos(2, "aceptado 0");
    QTest::newRow("Con errores: aceptados") << "errores" << "" << 0 << "" << Todos(1, "aceptado_con_errores 2005");
    QTest::newRow("Uno rechazado") << "parcial" << "" << 1
        << "La AEAT ha rechazado el recibo R-2: código 1100, Valor o tipo incorrecto del campo: NumSerieFactura."
        << QStringList{"R-1 aceptado 0", "R-2 rechazado 1100"};
    QTest::newRow("Servicio no disponible") << "503" << "" << 1
        << "El servicio de la AEAT no está disponible ahora (HTTP 503)." << Todos(1, "pendiente 0");
    QTest::newRow("Sin contraseña") << "correcto" << "clave" << 1
        << "Ponga la contraseña del certificado en la variable de entorno TALVERO_CLAVE_CERTIFICADO."
        << Todos(1, "pendiente 0");
    QTest::newRow("Sin certificado") << "correcto" << "certificado" << 1
        << "Falta el certificado del emisor: póngalo en Recibos → VERI*FACTU…." << Todos(1, "pendiente 0");
    // clang-format on
}

void TestEnvioOrden::orden() {
    QFETCH(QString, guion);
    QFETCH(QString, falta);
    QFETCH(int, estado);
    QFETCH(QString, errores);
    QFETCH(QStringList, estados);

    QVERIFY(Anadir(*registro_, int(estados.size())));
    simulador::Servicio servicio(certificados_, dir_->filePath(u"diario"_qs));
    QVERIFY2(servicio.Arrancar({guion}), qPrintable(servicio.Error()));
    Ajustar(servicio.Url());
    if (falta == u"clave")
        qunsetenv("TALVERO_CLAVE_CERTIFICADO");
    if (falta == u"certificado") {
        platform::SettingsStore ajustes(AjustesDeTalvero(dir_->path()));
        ajustes.Remove(platform::kTalveroSection, "VerifactuCertificado");
        QVERIFY(ajustes.Flush());
    }

    const SalidaTalvero s = EjecutarTalvero(dir_->path(), {u"--verifactu-enviar"_qs});
    QVERIFY2(s.estado == estado, qPrintable(QString::number(s.estado) + u": "_qs + s.errores));
    if (errores.isEmpty())
        QCOMPARE(s.errores, QString());
    else
        QVERIFY2(s.errores.split(u'\n').contains(errores), qPrintable(s.errores));
    QCOMPARE(Estados(*registro_), estados);
}

// The first run is killed while the agency holds its records but has not answered; the next
// one sends them again, the agency answers that it holds them (3000), and they count as
// accepted. Every record was registered by the agency once.
void TestEnvioOrden::muertoAMitad() {
    QVERIFY(Anadir(*registro_, 3));
    simulador::Servicio servicio(certificados_, dir_->filePath(u"diario"_qs));
    QVERIFY2(servicio.Arrancar({u"mudo"_qs, u"correcto"_qs}), qPrintable(servicio.Error()));
    Ajustar(servicio.Url());

    QProcess primero;
    LanzarTalvero(primero, dir_->path(), {u"--verifactu-enviar"_qs});
    QTRY_COMPARE_WITH_TIMEOUT(servicio.Lineas(u"sin respuesta"_qs).size(), 1, 20'000);
    primero.kill();
    QVERIFY(primero.waitForFinished());
    QCOMPARE(Estados(*registro_), Todos(3, u"pendiente 0"_qs));

    const SalidaTalvero s = EjecutarTalvero(dir_->path(), {u"--verifactu-enviar"_qs});
    QCOMPARE(s.errores, QString());
    QCOMPARE(s.estado, 0);
    QCOMPARE(Estados(*registro_), Todos(3, u"aceptado 3000"_qs));
    for (const QString& numero : {u"R-1"_qs, u"R-2"_qs, u"R-3"_qs}) {
        QCOMPARE(servicio.Lineas(u"Alta "_qs + numero + u" Correcto"_qs).size(), 1);
        QCOMPARE(servicio.Lineas(u"Alta "_qs + numero + u" Incorrecto 3000"_qs).size(), 1);
    }
}

QTEST_GUILESS_MAIN(TestEnvioOrden)
#include "test_envio_orden.moc"
