// The XML of a submission: the alta and the anulación of the hand-written examples in data/
// written byte for byte, and submissions of every kind of receipt line validated against
// the tax agency's schemas (copied into data/) with xmllint.
#include "DatosPrueba.h"
#include "receipt/Impuestos.h"
#include "verifactu/AltaRecibo.h"
#include "verifactu/EscribirEnvio.h"
#include "verifactu/FechaRegistro.h"
#include "verifactu/Huella.h"

#include <QtTest>

using namespace verifactu;
Q_DECLARE_METATYPE(verifactu::Registro)

namespace {

const ObligadoEmision kObligado{"EMPRESA DE PRUEBAS SL", "89890001K"};

SistemaInformatico Sistema() {
    return {
        "PRODUCTOR DE PRUEBAS SL", "89890001K", "Talvero", "TV", "0.1.0", "1", false, false, false};
}

// The alta of data/alta-esperada.xml, field by field.
RegistroAlta AltaEjemplo() {
    RegistroAlta r;
    r.factura = {"89890001K", "R2026/0001", "15-01-2026"};
    r.nombreRazonEmisor = "EMPRESA DE PRUEBAS SL";
    r.tipoFactura = "F1";
    r.descripcion = "Recibo enero 2026";
    r.destinatario = Destinatario{"CLIENTE DE PRUEBAS", "00000000T"};
    r.desglose = {{.calificacion = "S1",
                   .tipoImpositivo = "21",
                   .base = "100.00",
                   .cuota = "21.00",
                   .tipoRecargo = "5.2",
                   .cuotaRecargo = "5.20"},
                  {.exencion = "E1", .base = "50.00"}};
    r.cuotaTotal = "26.20";
    r.importeTotal = "176.20";
    r.sistema = Sistema();
    r.fechaHoraHuso = "2026-01-15T10:30:00+01:00";
    return r;
}

RegistroAnulacion AnulacionEjemplo() {
    RegistroAnulacion r;
    r.anulada = {"89890001K", "R2026/0001", "15-01-2026"};
    r.sistema = Sistema();
    r.fechaHoraHuso = "2026-01-15T11:00:00+01:00";
    return r;
}

// The example chain: the alta, then its anulación.
std::vector<Registro> Ejemplos() {
    std::vector<Registro> cadena{AltaEjemplo(), AnulacionEjemplo()};
    Encadenar(cadena[0], nullptr);
    Encadenar(cadena[1], &cadena[0]);
    return cadena;
}

RegistroAlta AltaSimplificada(std::string numero, LineaDesglose linea, std::string cuota,
                              std::string importe) {
    RegistroAlta r = AltaEjemplo();
    r.factura.numSerie = std::move(numero);
    r.tipoFactura = "F2";
    r.destinatario.reset();
    r.desglose = {std::move(linea)};
    r.cuotaTotal = std::move(cuota);
    r.importeTotal = std::move(importe);
    return r;
}

// The alta of a receipt of `base` euros at IVA `iva`, RE `re` and IRPF `irpf`, as the
// program makes it, first of its chain.
Registro AltaDeUnRecibo(std::int64_t base, const char* iva, const char* re, const char* irpf,
                        std::string nifPagador) {
    const std::array<moneda::Currency, 5> conceptos{moneda::Currency(base * 10000)};
    const recibo::Impuestos t = recibo::CalcularImpuestos(conceptos, iva, re, irpf);
    const ImportesRecibo importes{conceptos,
                                  iva,
                                  re,
                                  irpf,
                                  recibo::AlCentimo(t.iva),
                                  recibo::AlCentimo(t.re),
                                  recibo::AlCentimo(t.irpf)};
    DatosAlta d;
    d.factura = {"89890001K", "2026/31", "31-01-2026"};
    d.nombreEmisor = "EMPRESA DE PRUEBAS SL";
    d.descripcion = "Alquiler del local, enero";
    d.pagador = {"CLIENTE DE PRUEBAS", std::move(nifPagador)};
    d.sistema = Sistema();
    Registro r = AltaDeRecibo(d, importes).registro;
    std::get<RegistroAlta>(r).fechaHoraHuso = "2026-01-31T12:00:00+01:00";
    Encadenar(r, nullptr);
    return r;
}

} // namespace

class TestVerifactuEnvio : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void comoElEjemplo_data();
    void comoElEjemplo();
    void validoSegunEsquema_data();
    void validoSegunEsquema();
    void remision_data();
    void remision();
    void macrodato_data();
    void macrodato();
    void fechas();
};

void TestVerifactuEnvio::comoElEjemplo_data() {
    QTest::addColumn<int>("registro");
    QTest::addColumn<QString>("archivo");
    QTest::newRow("Alta, primera de la cadena") << 0 << "alta-esperada.xml";
    QTest::newRow("Su anulación, encadenada") << 1 << "anulacion-esperada.xml";
}

void TestVerifactuEnvio::comoElEjemplo() {
    QFETCH(int, registro);
    QFETCH(QString, archivo);
    const QByteArray esperado = datos::Leer(archivo);
    QVERIFY(!esperado.isEmpty());
    const QByteArray xml = EscribirEnvio(kObligado, {Ejemplos()[std::size_t(registro)]});
    QCOMPARE(QString::fromUtf8(xml), QString::fromUtf8(esperado));
}

void TestVerifactuEnvio::validoSegunEsquema_data() {
    QTest::addColumn<std::vector<Registro>>("registros");
    QTest::newRow("Alta y anulación en un envío") << Ejemplos();

    Registro cero = AltaSimplificada(
        "R2026/0002",
        {.calificacion = "S1", .tipoImpositivo = "0", .base = "50.00", .cuota = "0.00"}, "0.00",
        "50.00");
    Encadenar(cero, nullptr);
    QTest::newRow("Simplificada sin destinatario, IVA al tipo cero") << std::vector<Registro>{cero};

    RegistroAlta raros = AltaSimplificada(
        "A&B <1>",
        {.calificacion = "S1", .tipoImpositivo = "10", .base = "1234567.89", .cuota = "123456.79"},
        "123456.79", "1358024.68");
    raros.nombreRazonEmisor = "PEÑA & HIJOS \"LA ÑORA\"";
    raros.descripcion = "Alquiler <local> & gastos";
    Registro conRaros = raros;
    Encadenar(conRaros, nullptr);
    QTest::newRow("Textos con & < > comillas y eñes") << std::vector<Registro>{conRaros};

    QTest::newRow("Recibo con IVA, RE e IRPF, con NIF del pagador")
        << std::vector<Registro>{AltaDeUnRecibo(1000, "21", "5,2", "15", "00000000T")};
    QTest::newRow("Recibo exento sin NIF del pagador")
        << std::vector<Registro>{AltaDeUnRecibo(300, "0", "0", "0", "")};
    Registro grande = AltaDeUnRecibo(100000000, "0", "0", "0", "00000000T");
    QTest::newRow("Recibo de cien millones") << std::vector<Registro>{grande};
}

void TestVerifactuEnvio::validoSegunEsquema() {
    QFETCH(std::vector<Registro>, registros);
    const QByteArray xml = EscribirEnvio(kObligado, registros);
    QCOMPARE(datos::Xmllint(xml, QStringLiteral("SuministroLR.xsd")), QString());
}

// The Cabecera's RemisionVoluntaria: the last day of a mode switched off, and records sent
// late after an incident.
void TestVerifactuEnvio::remision_data() {
    QTest::addColumn<QString>("fechaFin");
    QTest::addColumn<bool>("incidencia");
    QTest::addColumn<QString>("cabecera");
    const QString abre = QStringLiteral("<sum1:RemisionVoluntaria>");
    QTest::newRow("Ni fin ni incidencia: nada") << "" << false << "";
    QTest::newRow("Fin del modo a fin de año")
        << "31-12-2026" << false
        << abre + "<sum1:FechaFinVeriFactu>31-12-2026</sum1:FechaFinVeriFactu>";
    QTest::newRow("Tras una incidencia")
        << "" << true << abre + "<sum1:Incidencia>S</sum1:Incidencia>";
    QTest::newRow("Las dos")
        << "31-12-2026" << true
        << abre + "<sum1:FechaFinVeriFactu>31-12-2026</sum1:FechaFinVeriFactu><sum1:Incidencia>S";
}

void TestVerifactuEnvio::remision() {
    QFETCH(QString, fechaFin);
    QFETCH(bool, incidencia);
    QFETCH(QString, cabecera);
    const QByteArray xml =
        EscribirEnvio(kObligado, Ejemplos(), Remision{fechaFin.toStdString(), incidencia});
    QCOMPARE(datos::Xmllint(xml, QStringLiteral("SuministroLR.xsd")), QString());
    QString plano = QString::fromUtf8(xml);
    plano.replace(QRegularExpression(QStringLiteral(">\\s+<")), QStringLiteral("><"));
    QCOMPARE(plano.contains(QStringLiteral("RemisionVoluntaria")), !cabecera.isEmpty());
    QVERIFY(plano.contains(cabecera));
}

// From 100 million euros on, a record says it is one of the large ones.
void TestVerifactuEnvio::macrodato_data() {
    QTest::addColumn<QString>("importeTotal");
    QTest::addColumn<bool>("macrodato");
    QTest::newRow("99.999.999,99") << "99999999.99" << false;
    QTest::newRow("100.000.000,00") << "100000000.00" << true;
    QTest::newRow("-100.000.000,00") << "-100000000.00" << true;
}

void TestVerifactuEnvio::macrodato() {
    QFETCH(QString, importeTotal);
    QFETCH(bool, macrodato);
    RegistroAlta r = AltaEjemplo();
    r.importeTotal = importeTotal.toStdString();
    const QByteArray xml = EscribirEnvio(kObligado, {r});
    QCOMPARE(xml.contains("<sum1:Macrodato>S</sum1:Macrodato>"), macrodato);
}

// The issue date zero-padded; the moment with the offset of its clock, never "Z".
void TestVerifactuEnvio::fechas() {
    QCOMPARE(QString::fromStdString(TextoFechaExpedicion(moneda::Fecha(2014, 7, 2, 0, 0, 0))),
             QStringLiteral("02-07-2014"));
    const QDate dia(2024, 1, 1);
    const QTime hora(19, 20, 30);
    QCOMPARE(
        QString::fromStdString(TextoFechaHoraHuso(QDateTime(dia, hora, Qt::OffsetFromUTC, 3600))),
        QStringLiteral("2024-01-01T19:20:30+01:00"));
    QCOMPARE(QString::fromStdString(TextoFechaHoraHuso(QDateTime(dia, hora, Qt::UTC))),
             QStringLiteral("2024-01-01T19:20:30+00:00"));
    QCOMPARE(QString::fromStdString(
                 TextoFechaHoraHuso(QDateTime(dia, hora, Qt::OffsetFromUTC, -(3 * 3600 + 1800)))),
             QStringLiteral("2024-01-01T19:20:30-03:30"));
}

QTEST_GUILESS_MAIN(TestVerifactuEnvio)
#include "test_verifactu_envio.moc"
