// The receipt record: its defaults, the colour and fill rules, the month names, the issue
// date in words and the total the renderer computes.
#include "RecordingSurface.h"
#include "SampleRecords.h"

#include "receipt/Recibo.h"
#include "receipt/ReciboTexto.h"

#include <QTest>

#include <climits>
#include <cstdint>
#include <limits>

using moneda::Currency;

namespace {

// The amount box of the top row shows the total.
std::string DrawnTotal(CRecibo& r) {
    RecordingSurface page;
    r.Dibujar(page);
    for (const RecordedText& t : page.texts) {
        if (t.boxed && t.rect == page::Rect{1400, 65, 1750, 110}) {
            return t.text;
        }
    }
    return "(no amount box)";
}

std::string DrawnDate(CRecibo& r) {
    RecordingSurface page;
    r.Dibujar(page);
    for (const RecordedText& t : page.texts) {
        if (t.boxed && t.rect == page::Rect{350, 150, 1050, 195}) {
            return t.text;
        }
    }
    return "(no date box)";
}

constexpr std::int64_t MAX = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t MIN = std::numeric_limits<std::int64_t>::min();

} // namespace

Q_DECLARE_METATYPE(Currency)

class TestReciboRecord : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- Construction --------------------------------------------------------------------
    void newRecordHoldsItsDefaults();

    // --- Colour and fill -----------------------------------------------------------------
    void colourFromName_data();
    void colourFromName();
    void fillFromName_data();
    void fillFromName();

    // --- Month names ---------------------------------------------------------------------
    void monthName_data();
    void monthName();
    void monthNameAgreesWithTheFormsTable();

    // --- Issue date ----------------------------------------------------------------------
    void issueDateText_data();
    void issueDateText();

    // --- Total ---------------------------------------------------------------------------
    void total_data();
    void total();
};

void TestReciboRecord::newRecordHoldsItsDefaults() {
    const CRecibo r;
    QCOMPARE(r.m_Logotipo, 0);
    QCOMPARE(r.m_ColorFondo, ColorRef(0xFFFFC8));
    QCOMPARE(r.m_Solido, 0);
    for (const std::string* t :
         {&r.m_Cobrador1, &r.m_Cobrador2, &r.m_Direccion, &r.m_Localidad, &r.m_Vencimiento,
          &r.m_Pagador1, &r.m_Pagador2, &r.m_Numero, &r.m_Irpf, &r.m_Re, &r.m_Iva, &r.m_Concepto1,
          &r.m_Concepto2, &r.m_Concepto3, &r.m_Concepto4, &r.m_Concepto5}) {
        QCOMPARE(*t, std::string());
    }
    for (const Currency* c : {&r.m_ImporteIva, &r.m_ImporteIrpf, &r.m_ImporteRe, &r.m_Importe1,
                              &r.m_Importe2, &r.m_Importe3, &r.m_Importe4, &r.m_Importe5}) {
        QCOMPARE(c->value(), std::int64_t(0));
        QVERIFY(c->isValid());
    }
    QVERIFY(r.m_Fecha.EsValida());
    QCOMPARE(r.m_Fecha.Dia(), 30);
    QCOMPARE(r.m_Fecha.Mes(), 12);
    QCOMPARE(r.m_Fecha.Anio(), 1899);
}

void TestReciboRecord::colourFromName_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<uint>("colour");

    QTest::newRow("AZUL is 200,255,255") << QByteArray("AZUL") << 0xFFFFC8u;
    QTest::newRow("GRIS is 200,200,200") << QByteArray("GRIS") << 0xC8C8C8u;
    QTest::newRow("MARRÓN is 248,236,152") << QByteArray("MARRÓN") << 0x98ECF8u;
    QTest::newRow("VERDE is 187,244,179") << QByteArray("VERDE") << 0xB3F4BBu;
    // Anything else falls back to the blue.
    QTest::newRow("empty text is blue") << QByteArray("") << 0xFFFFC8u;
    QTest::newRow("lower-case gris is blue") << QByteArray("gris") << 0xFFFFC8u;
    QTest::newRow("MARRON without accent is blue") << QByteArray("MARRON") << 0xFFFFC8u;
    QTest::newRow("single-byte MARRÓN is blue") << QByteArray("MARR\xD3N") << 0xFFFFC8u;
    QTest::newRow("VERDE with a blank is blue") << QByteArray("VERDE ") << 0xFFFFC8u;
    QTest::newRow("ROJO is blue") << QByteArray("ROJO") << 0xFFFFC8u;
}

void TestReciboRecord::colourFromName() {
    QFETCH(QByteArray, name);
    QFETCH(uint, colour);
    QCOMPARE(uint(ColorDeNombre(std::string_view(name.constData(), size_t(name.size())))), colour);
}

void TestReciboRecord::fillFromName_data() {
    QTest::addColumn<QByteArray>("name");
    QTest::addColumn<bool>("solid");

    QTest::newRow("SOLIDO is solid") << QByteArray("SOLIDO") << true;
    QTest::newRow("LINEAS is hatched") << QByteArray("LINEAS") << false;
    QTest::newRow("empty text is hatched") << QByteArray("") << false;
    QTest::newRow("SOLID is hatched") << QByteArray("SOLID") << false;
    QTest::newRow("solido in lower case is hatched") << QByteArray("solido") << false;
    QTest::newRow("SOLIDO with a blank is hatched") << QByteArray("SOLIDO ") << false;
}

void TestReciboRecord::fillFromName() {
    QFETCH(QByteArray, name);
    QFETCH(bool, solid);
    QCOMPARE(EsRellenoSolido(std::string_view(name.constData(), size_t(name.size()))), solid);
}

void TestReciboRecord::monthName_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QByteArray>("name");

    const char* names[] = {"ENERO", "FEBRERO", "MARZO",      "ABRIL",   "MAYO",      "JUNIO",
                           "JULIO", "AGOSTO",  "SEPTIEMBRE", "OCTUBRE", "NOVIEMBRE", "DICIEMBRE"};
    for (int m = 1; m <= 12; ++m) {
        QTest::addRow("%d is %s", m, names[m - 1]) << m << QByteArray(names[m - 1]);
    }
    QTest::newRow("0 is ERROR") << 0 << QByteArray("ERROR");
    QTest::newRow("-1 of an invalid date is ERROR") << -1 << QByteArray("ERROR");
    QTest::newRow("13 is ERROR") << 13 << QByteArray("ERROR");
    QTest::newRow("INT_MIN is ERROR") << INT_MIN << QByteArray("ERROR");
    QTest::newRow("INT_MAX is ERROR") << INT_MAX << QByteArray("ERROR");
}

void TestReciboRecord::monthName() {
    QFETCH(int, number);
    QFETCH(QByteArray, name);
    QCOMPARE(CRecibo::NombreMes(number), name.toStdString());
}

void TestReciboRecord::monthNameAgreesWithTheFormsTable() {
    for (int m = -50; m <= 50; ++m) {
        QCOMPARE(CRecibo::NombreMes(m), moneda::NumeroAMes(m));
    }
}

void TestReciboRecord::issueDateText_data() {
    QTest::addColumn<int>("day");
    QTest::addColumn<QByteArray>("month");
    QTest::addColumn<int>("year");
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("5 MARZO 2003") << 5 << QByteArray("MARZO") << 2003
                                  << QByteArray("5 DE MARZO DEL 2.003");
    QTest::newRow("31 DICIEMBRE 1999")
        << 31 << QByteArray("DICIEMBRE") << 1999 << QByteArray("31 DE DICIEMBRE DEL 1.999");
    QTest::newRow("1 ENERO 2004: day not padded")
        << 1 << QByteArray("ENERO") << 2004 << QByteArray("1 DE ENERO DEL 2.004");
    QTest::newRow("29 FEBRERO 2004: leap year")
        << 29 << QByteArray("FEBRERO") << 2004 << QByteArray("29 DE FEBRERO DEL 2.004");
    QTest::newRow("29 FEBRERO 2000: divisible by 400")
        << 29 << QByteArray("FEBRERO") << 2000 << QByteArray("29 DE FEBRERO DEL 2.000");
    QTest::newRow("29 FEBRERO 2003 does not exist")
        << 29 << QByteArray("FEBRERO") << 2003 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("29 FEBRERO 2100: divisible by 100 only")
        << 29 << QByteArray("FEBRERO") << 2100 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("31 ABRIL 2003 does not exist")
        << 31 << QByteArray("ABRIL") << 2003 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("lower-case month is not a month")
        << 5 << QByteArray("marzo") << 2003 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("day 0 is invalid")
        << 0 << QByteArray("MARZO") << 2003 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("year 10000 is invalid")
        << 1 << QByteArray("ENERO") << 10000 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("year 9999 is valid")
        << 31 << QByteArray("DICIEMBRE") << 9999 << QByteArray("31 DE DICIEMBRE DEL 9.999");
}

void TestReciboRecord::issueDateText() {
    QFETCH(int, day);
    QFETCH(QByteArray, month);
    QFETCH(int, year);
    QFETCH(QByteArray, text);

    // Built the way the print command builds it: at 01:01:01, the month by its name.
    CRecibo r;
    r.m_Fecha = moneda::Fecha(year, moneda::MesANumero(month.toStdString()), day, 1, 1, 1);
    QCOMPARE(DrawnDate(r), text.toStdString());
    QCOMPARE(recibo::TextoFecha(r.m_Fecha), text.toStdString());
}

void TestReciboRecord::total_data() {
    QTest::addColumn<Currency>("concept1");
    QTest::addColumn<Currency>("concept5");
    QTest::addColumn<Currency>("iva");
    QTest::addColumn<Currency>("irpf");
    QTest::addColumn<QByteArray>("text");

    const Currency zero;
    QTest::newRow("nothing totals 0,00") << zero << zero << zero << zero << QByteArray("0,00");
    QTest::newRow("100 + 16 IVA - 15 IRPF is 101,00")
        << Currency(1000000) << zero << Currency(160000) << Currency(-150000)
        << QByteArray("101,00");
    QTest::newRow("first and last concept add up")
        << Currency(12345600) << Currency(10000) << zero << zero << QByteArray("1.235,56");
    QTest::newRow("ten-thousandths are summed before rounding")
        << Currency(49) << Currency(1) << zero << zero << QByteArray("0,01");
    QTest::newRow("a negative total keeps its sign")
        << zero << zero << zero << Currency(-151000) << QByteArray("-15,10");
    // Any operand that is not valid makes the total zero.
    QTest::newRow("a null concept makes it zero")
        << Currency::Null() << Currency(10000) << zero << zero << QByteArray("0,00");
    QTest::newRow("an invalid tax makes it zero")
        << Currency(10000) << zero << Currency::Invalid(160000) << zero << QByteArray("0,00");
    QTest::newRow("an invalid zero makes it zero")
        << Currency(10000) << zero << zero << Currency::Invalid(0) << QByteArray("0,00");
    // The exact sum decides, whatever the order of the operands.
    QTest::newRow("a sum past the 64-bit range is zero")
        << Currency(MAX) << Currency(1) << zero << zero << QByteArray("0,00");
    QTest::newRow("a sum below the 64-bit range is zero")
        << Currency(MIN) << zero << zero << Currency(-1) << QByteArray("0,00");
    QTest::newRow("an overflow that comes back is the exact total")
        << Currency(MAX) << zero << Currency(10000) << Currency(-10000)
        << QByteArray("922.337.203.685.477,58");
}

void TestReciboRecord::total() {
    QFETCH(Currency, concept1);
    QFETCH(Currency, concept5);
    QFETCH(Currency, iva);
    QFETCH(Currency, irpf);
    QFETCH(QByteArray, text);

    CRecibo r;
    r.m_Importe1 = concept1;
    r.m_Importe5 = concept5;
    r.m_ImporteIva = iva;
    r.m_ImporteIrpf = irpf;
    QCOMPARE(DrawnTotal(r), text.toStdString());
}

QTEST_APPLESS_MAIN(TestReciboRecord)
#include "test_recibo_record.moc"
