// The print command's copy of the form into the receipt record.
#include "form/CopiarRecibo.h"
#include "form/LlenarRecibo.h"
#include "receipt/Recibo.h"

#include <QtTest>

#include "../receipt/SampleRecords.h"

#include <limits>

Q_DECLARE_METATYPE(std::string)

namespace {

ReceiptFields Sample() {
    ReceiptFields f;
    f.m_Numero = "0042";
    f.m_Localidad = "Valladolid";
    f.m_Vencimiento = "A LA VISTA";
    f.m_Dia = 5;
    f.m_Mes = "MARZO";
    f.m_Anio = 2003;
    f.m_Concepto1 = "Reparación";
    f.m_Concepto2 = "Piezas";
    f.m_Concepto3 = "Viaje";
    f.m_Concepto4 = "Horas";
    f.m_Concepto5 = "Otros";
    f.m_Importe1 = moneda::Currency(12000000);
    f.m_Importe2 = moneda::Currency(855000);
    f.m_Importe3 = moneda::Currency(-300000);
    f.m_Importe4 = moneda::Currency(1);
    f.m_Importe5 = moneda::Currency::Invalid(std::numeric_limits<std::int64_t>::min());
    f.m_Iva = "16";
    f.m_Re = "1,75";
    f.m_Irpf = "15";
    f.m_ImporteIva = moneda::Currency(2104800);
    f.m_ImporteRe = moneda::Currency(230200);
    f.m_ImporteIrpf = moneda::Currency(-1973300);
    f.m_Total = moneda::Currency(99);   // not part of the record
    f.m_Importe = moneda::Currency(99); // nor this
    f.m_Pagador1 = "Comunidad";
    f.m_Pagador2 = "Calle Mayor 12";
    f.m_Cobrador1 = "Talleres Ruiz";
    f.m_Cobrador2 = "NIF B-1";
    f.m_Direccion = "Avenida 8";
    f.m_Color = "VERDE";
    f.m_Relleno = "LINEAS";
    return f;
}

} // namespace

class TestLlenarRecibo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textsAndAmountsAreCopied();
    void colour_data();
    void colour();
    void fill_data();
    void fill();
    void issueDate_data();
    void issueDate();
    void copiedBackIntoTheFormFillsTheSameRecord();
};

void TestLlenarRecibo::textsAndAmountsAreCopied() {
    const ReceiptFields f = Sample();
    CRecibo rec;
    rec.m_Logotipo = 1;
    LlenarRecibo(f, rec);
    QCOMPARE(rec.m_Numero, f.m_Numero);
    QCOMPARE(rec.m_Localidad, f.m_Localidad);
    QCOMPARE(rec.m_Vencimiento, f.m_Vencimiento);
    QCOMPARE(rec.m_Concepto1, f.m_Concepto1);
    QCOMPARE(rec.m_Concepto2, f.m_Concepto2);
    QCOMPARE(rec.m_Concepto3, f.m_Concepto3);
    QCOMPARE(rec.m_Concepto4, f.m_Concepto4);
    QCOMPARE(rec.m_Concepto5, f.m_Concepto5);
    QCOMPARE(rec.m_Pagador1, f.m_Pagador1);
    QCOMPARE(rec.m_Pagador2, f.m_Pagador2);
    QCOMPARE(rec.m_Cobrador1, f.m_Cobrador1);
    QCOMPARE(rec.m_Cobrador2, f.m_Cobrador2);
    QCOMPARE(rec.m_Direccion, f.m_Direccion);
    QCOMPARE(rec.m_Iva, std::string("16"));
    QCOMPARE(rec.m_Re, std::string("1,75"));
    QCOMPARE(rec.m_Irpf, std::string("15"));
    QCOMPARE(rec.m_Importe1, moneda::Currency(12000000));
    QCOMPARE(rec.m_Importe2, moneda::Currency(855000));
    QCOMPARE(rec.m_Importe3, moneda::Currency(-300000));
    QCOMPARE(rec.m_Importe4, moneda::Currency(1));
    // Copied with its status: the drawing is the one that reads it.
    QVERIFY(!rec.m_Importe5.isValid());
    QCOMPARE(rec.m_Importe5.value(), std::numeric_limits<std::int64_t>::min());
    QCOMPARE(rec.m_ImporteIva, moneda::Currency(2104800));
    QCOMPARE(rec.m_ImporteRe, moneda::Currency(230200));
    QCOMPARE(rec.m_ImporteIrpf, moneda::Currency(-1973300));
    QCOMPARE(rec.m_Logotipo, 0);
}

void TestLlenarRecibo::colour_data() {
    QTest::addColumn<std::string>("name");
    QTest::addColumn<quint32>("colour"); // 0x00BBGGRR
    QTest::newRow("AZUL is 200, 255, 255") << std::string("AZUL") << quint32(0xFFFFC8);
    QTest::newRow("GRIS is 200, 200, 200") << std::string("GRIS") << quint32(0xC8C8C8);
    QTest::newRow("MARRÓN is 248, 236, 152") << std::string("MARRÓN") << quint32(0x98ECF8);
    QTest::newRow("VERDE is 187, 244, 179") << std::string("VERDE") << quint32(0xB3F4BB);
    QTest::newRow("empty is blue") << std::string() << quint32(0xFFFFC8);
    QTest::newRow("lower case verde is blue") << std::string("verde") << quint32(0xFFFFC8);
    QTest::newRow("MARRON without accent is blue") << std::string("MARRON") << quint32(0xFFFFC8);
}

void TestLlenarRecibo::colour() {
    QFETCH(std::string, name);
    QFETCH(quint32, colour);
    ReceiptFields f = Sample();
    f.m_Color = name;
    CRecibo rec;
    LlenarRecibo(f, rec);
    QCOMPARE(quint32(rec.m_ColorFondo), colour);
}

void TestLlenarRecibo::fill_data() {
    QTest::addColumn<std::string>("name");
    QTest::addColumn<int>("solid");
    QTest::newRow("SOLIDO fills solid") << std::string("SOLIDO") << 1;
    QTest::newRow("LINEAS is hatched") << std::string("LINEAS") << 0;
    QTest::newRow("SOLID, the default before a save, is hatched") << std::string("SOLID") << 0;
    QTest::newRow("empty is hatched") << std::string() << 0;
    QTest::newRow("solido in lower case is hatched") << std::string("solido") << 0;
}

void TestLlenarRecibo::fill() {
    QFETCH(std::string, name);
    QFETCH(int, solid);
    ReceiptFields f = Sample();
    f.m_Relleno = name;
    CRecibo rec;
    LlenarRecibo(f, rec);
    QCOMPARE(rec.m_Solido, solid);
}

void TestLlenarRecibo::issueDate_data() {
    QTest::addColumn<int>("anio");
    QTest::addColumn<std::string>("mes");
    QTest::addColumn<int>("dia");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("month"); // as the date value reads it back
    QTest::newRow("5 MARZO 2003") << 2003 << std::string("MARZO") << 5 << true << 3;
    QTest::newRow("29 FEBRERO 2004, a leap year")
        << 2004 << std::string("FEBRERO") << 29 << true << 2;
    QTest::newRow("31 ABRIL does not exist") << 2004 << std::string("ABRIL") << 31 << false << -1;
    QTest::newRow("a month in lower case is no month")
        << 2004 << std::string("marzo") << 5 << false << -1;
    QTest::newRow("day 0") << 2004 << std::string("ENERO") << 0 << false << -1;
    QTest::newRow("31 DICIEMBRE 3000") << 3000 << std::string("DICIEMBRE") << 31 << true << 12;
}

void TestLlenarRecibo::issueDate() {
    QFETCH(int, anio);
    QFETCH(std::string, mes);
    QFETCH(int, dia);
    QFETCH(bool, valid);
    QFETCH(int, month);
    ReceiptFields f = Sample();
    f.m_Anio = anio;
    f.m_Mes = mes;
    f.m_Dia = dia;
    CRecibo rec;
    LlenarRecibo(f, rec);
    QCOMPARE(rec.m_Fecha.EsValida(), valid);
    QCOMPARE(rec.m_Fecha.Mes(), month);
    QCOMPARE(rec.m_Fecha.Dia(), valid ? dia : -1);
    QCOMPARE(rec.m_Fecha.Anio(), valid ? anio : -1);
    QCOMPARE(rec.m_Fecha.Hora(), valid ? 1 : -1);
    QCOMPARE(rec.m_Fecha.Minuto(), valid ? 1 : -1);
    QCOMPARE(rec.m_Fecha.Segundo(), valid ? 1 : -1);
}

void TestLlenarRecibo::copiedBackIntoTheFormFillsTheSameRecord() {
    // A receipt from the register copied into the form and filled again is the same
    // receipt: every field, the colour and fill through their list names, the date.
    for (std::uint64_t n = 1; n <= 300; ++n) {
        const CRecibo issued = sample::Varied(n);
        ReceiptFields f = Sample();
        CopiarAlFormulario(issued, f);
        CRecibo again;
        LlenarRecibo(f, again);
        const QByteArray row = QByteArray::number(qulonglong(n));
        QVERIFY2(again.m_Numero == issued.m_Numero, row);
        QVERIFY2(again.m_Localidad == issued.m_Localidad, row);
        QVERIFY2(again.m_Concepto5 == issued.m_Concepto5, row);
        QVERIFY2(again.m_Importe1 == issued.m_Importe1, row);
        QVERIFY2(again.m_Importe5 == issued.m_Importe5, row);
        QVERIFY2(again.m_Iva == issued.m_Iva && again.m_Irpf == issued.m_Irpf, row);
        QVERIFY2(again.m_Cobrador2 == issued.m_Cobrador2, row);
        QVERIFY2(again.m_ColorFondo == issued.m_ColorFondo, row);
        QVERIFY2(again.m_Solido == issued.m_Solido, row);
        QVERIFY2(again.m_Fecha.Dia() == issued.m_Fecha.Dia(), row);
        QVERIFY2(again.m_Fecha.Mes() == issued.m_Fecha.Mes(), row);
        QVERIFY2(again.m_Fecha.Anio() == issued.m_Fecha.Anio(), row);
    }
}

QTEST_APPLESS_MAIN(TestLlenarRecibo)
#include "test_llenar_recibo.moc"
