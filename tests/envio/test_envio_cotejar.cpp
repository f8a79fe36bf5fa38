// The agency's answer matched to the records of the submission it answers: by invoice and
// kind (alta or anulación), whatever the order of its lines (data/respuesta-parcial.xml).
#include "envio/Cotejar.h"

#include <QFile>
#include <QtTest>

using registro::EstadoEnvio;

class TestEnvioCotejar : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void estados_data();
    void estados();
};

void TestEnvioCotejar::estados_data() {
    QTest::addColumn<QString>("numero");
    QTest::addColumn<bool>("anulacion");
    QTest::addColumn<int>("estado"); // -1: no line names it, it stays pending
    QTest::addColumn<int>("codigo");
    QTest::newRow("Ya registrado (3000): aceptado")
        << "R2026/0001" << false << int(EstadoEnvio::Aceptado) << 3000;
    QTest::newRow("Alta correcta") << "R2026/0002" << false << int(EstadoEnvio::Aceptado) << 0;
    QTest::newRow("La anulación de la misma factura, por su línea")
        << "R2026/0002" << true << int(EstadoEnvio::Aceptado) << 0;
    QTest::newRow("Aceptado con errores")
        << "R2026/0003" << false << int(EstadoEnvio::AceptadoConErrores) << 2000;
    QTest::newRow("Sin línea: pendiente") << "R2026/0004" << false << -1 << 0;
}

void TestEnvioCotejar::estados() {
    QFETCH(QString, numero);
    QFETCH(bool, anulacion);
    QFETCH(int, estado);
    QFETCH(int, codigo);
    QFile f(QStringLiteral(TALVERO_VERIFACTU_DATOS "/respuesta-parcial.xml"));
    QVERIFY(f.open(QIODevice::ReadOnly));
    const verifactu::LecturaRespuesta l = verifactu::LeerRespuesta(f.readAll());
    QCOMPARE(int(l.clase), int(verifactu::LecturaRespuesta::Clase::Respuesta));

    // The record asked about, among others of the same submission, in another order.
    const std::string fecha = numero == u"R2026/0001" ? "15-01-2026" : "16-01-2026";
    const auto registro = [&](bool deAnulacion, std::string n) -> verifactu::Registro {
        const verifactu::IdFactura id{"89890001K", std::move(n), fecha};
        verifactu::RegistroAlta alta;
        alta.factura = id;
        verifactu::RegistroAnulacion anulada;
        anulada.anulada = id;
        return deAnulacion ? verifactu::Registro(anulada) : verifactu::Registro(alta);
    };
    std::vector<registro::RegistroFacturacion> lote(3);
    lote[0].id = 7;
    lote[0].registro = registro(false, "R2026/0009");
    lote[1].id = 8;
    lote[1].registro = registro(anulacion, numero.toStdString());
    lote[2].id = 9;
    lote[2].registro = registro(true, "R2026/0003");

    const auto estados = envio::EstadosDeLaRespuesta(lote, l.respuesta);
    QVERIFY(std::none_of(estados.begin(), estados.end(), [](const auto& e) { return e.id != 8; }));
    QCOMPARE(estados.size(), estado < 0 ? 0u : 1u);
    if (estado >= 0) {
        QCOMPARE(int(estados[0].estado), estado);
        QCOMPARE(estados[0].codigo, codigo);
    }
}

QTEST_GUILESS_MAIN(TestEnvioCotejar)
#include "test_envio_cotejar.moc"
