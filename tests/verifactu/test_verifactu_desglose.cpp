// A receipt's amounts as its record declares them. The receipts are filled in as the form
// fills them (taxes computed by the receipt's own rule and rounded to the cent as shown);
// every expected figure was worked out by hand, and the printed total is what the receipt
// prints: ImporteTotal less the IRPF withheld.
#include "receipt/Impuestos.h"
#include "receipt/Recibo.h"
#include "receipt/ReciboTexto.h"
#include "verifactu/AltaRecibo.h"
#include "verifactu/DesgloseRecibo.h"

#include <QtTest>

using namespace verifactu;
using moneda::Currency;

namespace {

// A receipt with these concepts (in ten-thousandths of a euro) and percentages, its taxes
// as the form computes and keeps them.
CRecibo Recibo(const QList<qint64>& conceptos, const QString& iva, const QString& re,
               const QString& irpf) {
    std::array<Currency, 5> c{};
    for (qsizetype i = 0; i < conceptos.size(); ++i)
        c[std::size_t(i)] = Currency(conceptos[i]);
    CRecibo r;
    r.m_Importe1 = c[0], r.m_Importe2 = c[1], r.m_Importe3 = c[2], r.m_Importe4 = c[3],
    r.m_Importe5 = c[4];
    r.m_Iva = iva.toStdString(), r.m_Re = re.toStdString(), r.m_Irpf = irpf.toStdString();
    const recibo::Impuestos t = recibo::CalcularImpuestos(c, r.m_Iva, r.m_Re, r.m_Irpf);
    r.m_ImporteIva = recibo::AlCentimo(t.iva);
    r.m_ImporteRe = recibo::AlCentimo(t.re);
    r.m_ImporteIrpf = recibo::AlCentimo(t.irpf);
    return r;
}

} // namespace

class TestVerifactuDesglose : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void desglose_data();
    void desglose();
    void textoImporte_data();
    void textoImporte();
    void alta_data();
    void alta();
};

void TestVerifactuDesglose::desglose_data() {
    // clang-format off
    QTest::addColumn<QList<qint64>>("conceptos");
    QTest::addColumn<QString>("iva");
    QTest::addColumn<QString>("re");
    QTest::addColumn<QString>("irpf");
    QTest::addColumn<bool>("exentaSiCero");
    // calificación or exención, rate, base, quota, RE rate, RE quota | CuotaTotal, ImporteTotal
    QTest::addColumn<QStringList>("linea");
    QTest::addColumn<QString>("cuotaTotal");
    QTest::addColumn<QString>("importeTotal");
    QTest::addColumn<QString>("totalImpreso");
    QTest::addColumn<QString>("motivo");
    using L = QList<qint64>;
    QTest::newRow("IVA 21 % sobre 100,00") << L{1000000} << "21" << "0" << "0" << true
        << QStringList{"S1", "", "21", "100.00", "21.00", "", ""} << "21.00" << "121.00" << "121,00" << "";
    QTest::newRow("IVA 21 % y RE 5,2 %") << L{600000, 400000} << "21" << "5,2" << "0" << true
        << QStringList{"S1", "", "21", "100.00", "21.00", "5.2", "5.20"} << "26.20" << "126.20" << "126,20" << "";
    QTest::newRow("IVA 21 % y RE 1,75 %") << L{2000000} << "21" << "1,75" << "0" << true
        << QStringList{"S1", "", "21", "200.00", "42.00", "1.75", "3.50"} << "45.50" << "245.50" << "245,50" << "";
    QTest::newRow("IVA 4 % y RE 0,5 %") << L{1000000} << "4" << "0,5" << "0" << true
        << QStringList{"S1", "", "4", "100.00", "4.00", "0.5", "0.50"} << "4.50" << "104.50" << "104,50" << "";
    // 1000 x 15 % = 150 withheld: the receipt prints 1210 - 150
    QTest::newRow("El IRPF no entra en el importe total") << L{10000000} << "21" << "0" << "15" << true
        << QStringList{"S1", "", "21", "1000.00", "210.00", "", ""} << "210.00" << "1210.00" << "1.060,00" << "";
    // 5,0025 + 5,0025 = 10,005: base 10,01; IVA 21 % of 10,005 = 2,10105, shown 2,10;
    // the receipt prints 10,005 + 2,10 = 12,105 as 12,11
    QTest::newRow("Fracciones de céntimo en los conceptos") << L{50025, 50025} << "21" << "0" << "0" << true
        << QStringList{"S1", "", "21", "10.01", "2.10", "", ""} << "2.10" << "12.11" << "12,11" << "";
    QTest::newRow("IVA 0 exento (art. 20)") << L{500000} << "0" << "0" << "0" << true
        << QStringList{"", "E1", "", "50.00", "", "", ""} << "0.00" << "50.00" << "50,00" << "";
    QTest::newRow("IVA 0 sujeto al tipo cero") << L{500000} << "0" << "0" << "0" << false
        << QStringList{"S1", "", "0", "50.00", "0.00", "", ""} << "0.00" << "50.00" << "50,00" << "";
    const QStringList nada{"", "", "", "", "", "", ""};
    QTest::newRow("IVA 0 con RE") << L{500000} << "0" << "0,5" << "0" << false
        << nada << "" << "" << "50,25" << "Un recibo sin IVA no lleva recargo de equivalencia.";
    QTest::newRow("IVA 16 de la lista original") << L{1000000} << "16" << "0" << "0" << true
        << nada << "" << "" << "116,00" << "La AEAT no admite un IVA del 16 %: los tipos vigentes son 0, 4, 10 y 21 %.";
    QTest::newRow("RE 4 de la lista original con IVA 21") << L{1000000} << "21" << "4" << "0" << true
        << nada << "" << "" << "125,00"
        << "Un recargo de equivalencia del 4 % no va con un IVA del 21 %: con el 21 % es el 5,2 % (o el 1,75 %), con el 10 % el 1,4 % y con el 4 % el 0,5 %.";
    // clang-format on
}

void TestVerifactuDesglose::desglose() {
    QFETCH(QList<qint64>, conceptos);
    QFETCH(QString, iva);
    QFETCH(QString, re);
    QFETCH(QString, irpf);
    QFETCH(bool, exentaSiCero);
    QFETCH(QStringList, linea);
    QFETCH(QString, cuotaTotal);
    QFETCH(QString, importeTotal);
    QFETCH(QString, totalImpreso);
    QFETCH(QString, motivo);
    const CRecibo recibo = Recibo(conceptos, iva, re, irpf);
    QCOMPARE(QString::fromStdString(moneda::FormatEuros(recibo::TotalRecibo(recibo))),
             totalImpreso);
    const Desglose d =
        Desglosar(ImportesDe(recibo), exentaSiCero ? IvaCero::Exenta : IvaCero::TipoCero);
    QCOMPARE(QString::fromStdString(d.motivo), motivo);
    if (!motivo.isEmpty())
        return;
    const LineaDesglose& l = d.linea;
    const QStringList hecha{
        QString::fromStdString(l.calificacion),   QString::fromStdString(l.exencion),
        QString::fromStdString(l.tipoImpositivo), QString::fromStdString(l.base),
        QString::fromStdString(l.cuota),          QString::fromStdString(l.tipoRecargo),
        QString::fromStdString(l.cuotaRecargo)};
    QCOMPARE(hecha, linea);
    QCOMPARE(QString::fromStdString(l.claveRegimen), QStringLiteral("01"));
    QCOMPARE(QString::fromStdString(d.cuotaTotal), cuotaTotal);
    QCOMPARE(QString::fromStdString(d.importeTotal), importeTotal);
}

void TestVerifactuDesglose::textoImporte_data() {
    QTest::addColumn<qint64>("diezmilesimas");
    QTest::addColumn<QString>("texto");
    QTest::newRow("Cero") << qint64(0) << "0.00";
    QTest::newRow("Un decimal") << qint64(12345000) << "1234.50";
    QTest::newRow("Sin separador de miles") << qint64(10000000000) << "1000000.00";
    QTest::newRow("Medio céntimo, hacia arriba") << qint64(50) << "0.01";
    QTest::newRow("Menos de medio céntimo") << qint64(49) << "0.00";
    QTest::newRow("Negativo") << qint64(-10050) << "-1.01";
}

void TestVerifactuDesglose::textoImporte() {
    QFETCH(qint64, diezmilesimas);
    QFETCH(QString, texto);
    QCOMPARE(QString::fromStdString(TextoImporte(Currency(diezmilesimas))), texto);
}

// The alta of a receipt at 21 %: its type (F1 with the payer's NIF, F2 without it up to
// 400,00 € with IVA) and its payer, or the first reason it cannot be.
void TestVerifactuDesglose::alta_data() {
    // clang-format off
    QTest::addColumn<QString>("nifEmisor");
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QString>("descripcion");
    QTest::addColumn<QString>("nifPagador");
    QTest::addColumn<qint64>("base");
    QTest::addColumn<QString>("tipo");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("Con NIF del pagador: F1 con destinatario") << "b-12345674" << "2026/17" << "Alquiler de enero" << " 12345678-z" << qint64(5000000) << "F1" << "";
    QTest::newRow("Sin NIF del pagador: F2") << "B12345674" << "2026/18" << "Alquiler de enero" << "" << qint64(3000000) << "F2" << "";
    // 400 / 1,21 = 330,58..., which with its IVA (69,42) makes 400,00; 330,59 makes 400,01
    QTest::newRow("Sin NIF, 400,00 con IVA") << "B12345674" << "2026/19" << "Venta" << "" << qint64(3305800) << "F2" << "";
    QTest::newRow("Sin NIF, 400,01 con IVA") << "B12345674" << "2026/20" << "Venta" << "" << qint64(3305900) << "" << "necesita el NIF del pagador";
    QTest::newRow("NIF del pagador con otra letra") << "B12345674" << "2026/21" << "Venta" << "12345678A" << qint64(1000000) << "" << "NIF del pagador: El NIF «12345678A» no es válido";
    QTest::newRow("NIF del emisor con otra cifra") << "B12345675" << "2026/22" << "Venta" << "" << qint64(1000000) << "" << "NIF del emisor:";
    QTest::newRow("Número con eñe") << "B12345674" << "AÑO-1" << "Venta" << "" << qint64(1000000) << "" << "sin acentos ni eñes";
    QTest::newRow("Número de 61 caracteres") << "B12345674" << QString(61, u'1') << "Venta" << "" << qint64(1000000) << "" << "de 1 a 60 caracteres";
    QTest::newRow("Sin descripción") << "B12345674" << "2026/23" << "" << "" << qint64(1000000) << "" << "La descripción";
    // clang-format on
}

void TestVerifactuDesglose::alta() {
    QFETCH(QString, nifEmisor);
    QFETCH(QString, numero);
    QFETCH(QString, descripcion);
    QFETCH(QString, nifPagador);
    QFETCH(qint64, base);
    QFETCH(QString, tipo);
    QFETCH(QString, motivo);
    DatosAlta d;
    d.factura = {nifEmisor.toStdString(), numero.toStdString(), "15-01-2026"};
    d.nombreEmisor = "EMPRESA DE PRUEBAS SL";
    d.descripcion = descripcion.toStdString();
    d.pagador = {"CLIENTE DE PRUEBAS", nifPagador.toStdString()};
    const ResultadoAlta r = AltaDeRecibo(d, ImportesDe(Recibo({base}, "21", "0", "0")));
    QVERIFY2(QString::fromStdString(r.motivo).contains(motivo), r.motivo.c_str());
    QCOMPARE(r.motivo.empty(), motivo.isEmpty());
    QCOMPARE(QString::fromStdString(r.registro.tipoFactura), tipo);
    if (tipo.isEmpty())
        return;
    QCOMPARE(QString::fromStdString(r.registro.factura.emisor), QStringLiteral("B12345674"));
    QCOMPARE(r.registro.destinatario.has_value(), tipo == u"F1");
    if (r.registro.destinatario)
        QCOMPARE(QString::fromStdString(r.registro.destinatario->nif), QStringLiteral("12345678Z"));
}

QTEST_APPLESS_MAIN(TestVerifactuDesglose)
#include "test_verifactu_desglose.moc"
