// One submission against the stand-in of the agency's service on loopback (HTTPS with the
// test's own authority, a client certificate required, the message checked against the
// schema): what each kind of answer, silence or refusal comes to.
#include "simulador/Simulador.h"
#include "verifactu/Conexion.h"
#include "verifactu/EscribirEnvio.h"
#include "verifactu/Huella.h"

#include <QtTest>

using namespace verifactu;

namespace {

// Two altas of one issuer, chained.
std::vector<Registro> Lote() {
    std::vector<Registro> lote{simulador::Alta(u"A-1"_qs), simulador::Alta(u"A-2"_qs)};
    Encadenar(lote[0], nullptr);
    Encadenar(lote[1], &lote[0]);
    return lote;
}

} // namespace

class TestVerifactuConexion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void desenlace_data();
    void desenlace();

private:
    simulador::Certificados certificados_;
};

void TestVerifactuConexion::initTestCase() {
    QVERIFY2(certificados_.Crear(), qPrintable(certificados_.Error()));
}

void TestVerifactuConexion::desenlace_data() {
    QTest::addColumn<QString>("guion");       // the stand-in's answer; empty: no stand-in
    QTest::addColumn<QString>("certificado"); // cliente, ajeno, antiguo, falta, ninguno
    QTest::addColumn<QString>("clave");
    QTest::addColumn<bool>("confiarCa");
    QTest::addColumn<int>("desenlace");
    QTest::addColumn<bool>("tecnico");

    const QString bien = QString::fromUtf8(simulador::kClave);
    const auto fila = [&](const char* nombre, const char* guion, Desenlace d, bool tecnico,
                          const char* cert = "cliente", bool ca = true) {
        QTest::newRow(nombre) << QString::fromUtf8(guion) << QString::fromUtf8(cert) << bien << ca
                              << int(d) << tecnico;
    };
    // The agency answered, record by record.
    fila("Registrados", "correcto", Desenlace::Respuesta, false);
    fila("Registrados con errores", "errores", Desenlace::Respuesta, false);
    fila("Rechazados", "rechazo", Desenlace::Respuesta, false);
    // It refused the whole message, or did not answer as it should.
    fila("Fallo SOAP del servidor: enviar de nuevo", "fallo-servidor", Desenlace::FalloServidor,
         true);
    fila("Fallo SOAP del cliente", "fallo-cliente", Desenlace::FalloCliente, false);
    fila("HTTP 503", "503", Desenlace::ServicioNoDisponible, true);
    fila("Algo que no es una respuesta", "basura", Desenlace::Ilegible, true);
    fila("Respuesta tardía", "lento", Desenlace::TiempoAgotado, true);
    fila("Nadie escucha", "", Desenlace::ConexionRechazada, true);
    // The secure connection.
    fila("Certificado exportado con cifrado antiguo", "correcto", Desenlace::Respuesta, false,
         "antiguo");
    fila("Certificado de otra autoridad", "correcto", Desenlace::Tls, true, "ajeno");
    fila("Sin certificado", "correcto", Desenlace::Tls, true, "ninguno");
    fila("Certificado que no está", "correcto", Desenlace::Certificado, false, "falta");
    fila("Servidor de una autoridad desconocida", "correcto", Desenlace::Tls, true, "cliente",
         false);
    QTest::newRow("Contraseña equivocada")
        << "correcto"
        << "cliente"
        << "otra clave" << true << int(Desenlace::Certificado) << false;
}

void TestVerifactuConexion::desenlace() {
    QFETCH(QString, guion);
    QFETCH(QString, certificado);
    QFETCH(QString, clave);
    QFETCH(bool, confiarCa);
    QFETCH(int, desenlace);
    QFETCH(bool, tecnico);

    QTemporaryDir dir;
    simulador::Servicio servicio(certificados_, dir.filePath(u"diario"_qs));
    QString url = QStringLiteral("https://127.0.0.1:%1/").arg(simulador::PuertoLibre());
    if (!guion.isEmpty()) {
        QVERIFY2(servicio.Arrancar({guion}, 60, 5'000), qPrintable(servicio.Error()));
        url = servicio.Url();
    }
    DatosConexion datos;
    datos.servicio = QUrl(url);
    datos.certificado = certificado == u"cliente"   ? certificados_.Cliente()
                        : certificado == u"ajeno"   ? certificados_.Ajeno()
                        : certificado == u"antiguo" ? certificados_.ClienteAntiguo()
                        : certificado == u"falta"   ? dir.filePath(u"no-esta.p12"_qs)
                                                    : QString();
    datos.clave = clave;
    datos.ca = confiarCa ? certificados_.Ca() : QString();
    datos.plazoMs = 1'000;
    Conexion conexion(datos);
    QSignalSpy terminado(&conexion, &Conexion::Terminado);
    conexion.Enviar(EscribirSobreSoap({"EMPRESA DE PRUEBAS SL", "89890001K"}, Lote(), {}));
    QVERIFY(terminado.wait(10'000));
    const auto r = terminado.at(0).at(0).value<ResultadoEnvio>();
    QCOMPARE(int(r.desenlace), desenlace);
    QCOMPARE(r.Tecnico(), tecnico);
    QCOMPARE(r.detalle.isEmpty(), r.desenlace == Desenlace::Respuesta);
    if (certificado == u"falta")
        QCOMPARE(r.detalle, QStringLiteral("No se puede abrir el certificado %1: el archivo no "
                                           "existe.")
                                .arg(datos.certificado));
    if (r.desenlace == Desenlace::Respuesta) {
        QCOMPARE(r.lectura.respuesta.lineas.size(), 2u);
        QCOMPARE(r.lectura.respuesta.csv.empty(), guion == u"rechazo");
    }
    // What reached the stand-in was valid, and so was what it answered.
    QCOMPARE(servicio.Lineas(u"MENSAJE"_qs).filter(u"INVALIDO"_qs), QStringList());
    QCOMPARE(servicio.Lineas(u"RESPUESTA-INVALIDA"_qs), QStringList());
}

QTEST_GUILESS_MAIN(TestVerifactuConexion)
#include "test_verifactu_conexion.moc"
