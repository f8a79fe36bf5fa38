// The month-name table and the date value.
#include "amounts/moneda.h"

#include <QTest>

#include <climits>
#include <string>

using moneda::Fecha;

namespace {

QByteArray Bytes(const std::string& s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

// The issue-date text as the receipt writes it from a date value.
QByteArray IssueDateText(const Fecha& f)
{
    return Bytes(moneda::FormatThousands(f.Dia()) + " DE " + moneda::NumeroAMes(f.Mes()) + " DEL "
                 + moneda::FormatThousands(f.Anio()));
}

int LastDayOf(int anio, int mes)
{
    int dia = 0;
    while (dia < 40 && Fecha(anio, mes, dia + 1, 0, 0, 0).EsValida())
        ++dia;
    return dia;
}

} // namespace

class TestFecha : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void monthTable_data();
    void monthTable();
    void mesANumeroRejects_data();
    void mesANumeroRejects();
    void numeroAMesRejects_data();
    void numeroAMesRejects();
    void defaultDate();
    void validity_data();
    void validity();
    void issueDateText_data();
    void issueDateText();
    void leapYearsCount();
    void yearLengths_data();
    void yearLengths();
};

void TestFecha::monthTable_data()
{
    QTest::addColumn<int>("numero");
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("1 ENERO") << 1 << QByteArray("ENERO");
    QTest::newRow("2 FEBRERO") << 2 << QByteArray("FEBRERO");
    QTest::newRow("3 MARZO") << 3 << QByteArray("MARZO");
    QTest::newRow("4 ABRIL") << 4 << QByteArray("ABRIL");
    QTest::newRow("5 MAYO") << 5 << QByteArray("MAYO");
    QTest::newRow("6 JUNIO") << 6 << QByteArray("JUNIO");
    QTest::newRow("7 JULIO") << 7 << QByteArray("JULIO");
    QTest::newRow("8 AGOSTO") << 8 << QByteArray("AGOSTO");
    QTest::newRow("9 SEPTIEMBRE") << 9 << QByteArray("SEPTIEMBRE");
    QTest::newRow("10 OCTUBRE") << 10 << QByteArray("OCTUBRE");
    QTest::newRow("11 NOVIEMBRE") << 11 << QByteArray("NOVIEMBRE");
    QTest::newRow("12 DICIEMBRE") << 12 << QByteArray("DICIEMBRE");
}

void TestFecha::monthTable()
{
    QFETCH(int, numero);
    QFETCH(QByteArray, name);
    QCOMPARE(Bytes(moneda::NumeroAMes(numero)), name);
    QCOMPARE(moneda::MesANumero(name.toStdString()), numero);
}

void TestFecha::mesANumeroRejects_data()
{
    QTest::addColumn<QByteArray>("name");

    QTest::newRow("lower case") << QByteArray("enero");
    QTest::newRow("mixed case") << QByteArray("Diciembre");
    QTest::newRow("empty") << QByteArray("");
    QTest::newRow("leading space") << QByteArray(" ENERO");
    QTest::newRow("trailing space") << QByteArray("ENERO ");
    QTest::newRow("prefix") << QByteArray("ENE");
    QTest::newRow("longer") << QByteArray("ENEROS");
    QTest::newRow("trailing NUL") << QByteArray("ENERO\0", 6);
    QTest::newRow("ERROR is no month") << QByteArray("ERROR");
    QTest::newRow("English") << QByteArray("MARCH");
}

void TestFecha::mesANumeroRejects()
{
    QFETCH(QByteArray, name);
    QCOMPARE(moneda::MesANumero(std::string_view(name.constData(), static_cast<std::size_t>(name.size()))), 0);
}

void TestFecha::numeroAMesRejects_data()
{
    QTest::addColumn<int>("numero");

    QTest::newRow("0") << 0;
    QTest::newRow("-1 of an invalid date") << -1;
    QTest::newRow("13") << 13;
    QTest::newRow("int32 min") << INT_MIN;
    QTest::newRow("int32 max") << INT_MAX;
}

void TestFecha::numeroAMesRejects()
{
    QFETCH(int, numero);
    QCOMPARE(Bytes(moneda::NumeroAMes(numero)), QByteArray("ERROR"));
}

void TestFecha::defaultDate()
{
    const Fecha f;
    QVERIFY(f.EsValida());
    QCOMPARE(f.Anio(), 1899);
    QCOMPARE(f.Mes(), 12);
    QCOMPARE(f.Dia(), 30);
    QCOMPARE(f.Hora(), 0);
    QCOMPARE(f.Minuto(), 0);
    QCOMPARE(f.Segundo(), 0);
}

void TestFecha::validity_data()
{
    QTest::addColumn<int>("anio");
    QTest::addColumn<int>("mes");
    QTest::addColumn<int>("dia");
    QTest::addColumn<int>("hora");
    QTest::addColumn<int>("minuto");
    QTest::addColumn<int>("segundo");
    QTest::addColumn<bool>("valida");

    // --- dates
    QTest::newRow("5 March 2003 at 01:01:01") << 2003 << 3 << 5 << 1 << 1 << 1 << true;
    QTest::newRow("31 April") << 2003 << 4 << 31 << 1 << 1 << 1 << false;
    QTest::newRow("30 April") << 2003 << 4 << 30 << 1 << 1 << 1 << true;
    QTest::newRow("29 February 2004") << 2004 << 2 << 29 << 1 << 1 << 1 << true;
    QTest::newRow("29 February 2000, divisible by 400") << 2000 << 2 << 29 << 1 << 1 << 1 << true;
    QTest::newRow("29 February 2003") << 2003 << 2 << 29 << 1 << 1 << 1 << false;
    QTest::newRow("29 February 2100, divisible by 100 only") << 2100 << 2 << 29 << 1 << 1 << 1 << false;
    QTest::newRow("29 February 1900") << 1900 << 2 << 29 << 1 << 1 << 1 << false;
    QTest::newRow("29 February 1600") << 1600 << 2 << 29 << 1 << 1 << 1 << true;
    QTest::newRow("30 February 2004") << 2004 << 2 << 30 << 1 << 1 << 1 << false;
    QTest::newRow("31 February 2000") << 2000 << 2 << 31 << 1 << 1 << 1 << false;
    QTest::newRow("day 0") << 2003 << 1 << 0 << 1 << 1 << 1 << false;
    QTest::newRow("day 32") << 2003 << 1 << 32 << 1 << 1 << 1 << false;
    QTest::newRow("negative day") << 2003 << 1 << -1 << 1 << 1 << 1 << false;
    QTest::newRow("month 0 of an unknown name") << 2003 << 0 << 5 << 1 << 1 << 1 << false;
    QTest::newRow("month 13") << 2003 << 13 << 5 << 1 << 1 << 1 << false;
    // --- years: only the upper bound limits them
    QTest::newRow("31 December 9999 23:59:59") << 9999 << 12 << 31 << 23 << 59 << 59 << true;
    QTest::newRow("year 10000") << 10000 << 1 << 1 << 0 << 0 << 0 << false;
    QTest::newRow("year int max") << INT_MAX << 1 << 1 << 0 << 0 << 0 << false;
    QTest::newRow("year 0 after clearing, 29 February") << 0 << 2 << 29 << 1 << 1 << 1 << true;
    QTest::newRow("year 1969 below the form's range") << 1969 << 7 << 20 << 1 << 1 << 1 << true;
    QTest::newRow("negative year") << -1 << 3 << 1 << 1 << 1 << 1 << true;
    QTest::newRow("29 February of year -4") << -4 << 2 << 29 << 0 << 0 << 0 << true;
    QTest::newRow("29 February of year -100") << -100 << 2 << 29 << 0 << 0 << 0 << false;
    QTest::newRow("year int min") << INT_MIN << 1 << 1 << 0 << 0 << 0 << true;
    // --- time of day
    QTest::newRow("midnight") << 2003 << 3 << 5 << 0 << 0 << 0 << true;
    QTest::newRow("hour 24") << 2003 << 3 << 5 << 24 << 0 << 0 << false;
    QTest::newRow("minute 60") << 2003 << 3 << 5 << 0 << 60 << 0 << false;
    QTest::newRow("second 60") << 2003 << 3 << 5 << 0 << 0 << 60 << false;
    QTest::newRow("negative hour") << 2003 << 3 << 5 << -1 << 0 << 0 << false;
    QTest::newRow("negative minute") << 2003 << 3 << 5 << 0 << -1 << 0 << false;
    QTest::newRow("negative second") << 2003 << 3 << 5 << 0 << 0 << -1 << false;
}

void TestFecha::validity()
{
    QFETCH(int, anio);
    QFETCH(int, mes);
    QFETCH(int, dia);
    QFETCH(int, hora);
    QFETCH(int, minuto);
    QFETCH(int, segundo);
    QFETCH(bool, valida);

    const Fecha f(anio, mes, dia, hora, minuto, segundo);
    QCOMPARE(f.EsValida(), valida);
    QCOMPARE(f.Anio(), valida ? anio : -1);
    QCOMPARE(f.Mes(), valida ? mes : -1);
    QCOMPARE(f.Dia(), valida ? dia : -1);
    QCOMPARE(f.Hora(), valida ? hora : -1);
    QCOMPARE(f.Minuto(), valida ? minuto : -1);
    QCOMPARE(f.Segundo(), valida ? segundo : -1);
}

void TestFecha::issueDateText_data()
{
    QTest::addColumn<int>("dia");
    QTest::addColumn<QByteArray>("mes");
    QTest::addColumn<int>("anio");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("5 MARZO 2003") << 5 << QByteArray("MARZO") << 2003 << QByteArray("5 DE MARZO DEL 2.003");
    QTest::newRow("31 DICIEMBRE 1999") << 31 << QByteArray("DICIEMBRE") << 1999
                                       << QByteArray("31 DE DICIEMBRE DEL 1.999");
    QTest::newRow("1 ENERO 2004, day not padded") << 1 << QByteArray("ENERO") << 2004
                                                  << QByteArray("1 DE ENERO DEL 2.004");
    QTest::newRow("29 FEBRERO 2004") << 29 << QByteArray("FEBRERO") << 2004 << QByteArray("29 DE FEBRERO DEL 2.004");
    QTest::newRow("29 FEBRERO 2000") << 29 << QByteArray("FEBRERO") << 2000 << QByteArray("29 DE FEBRERO DEL 2.000");
    QTest::newRow("29 FEBRERO 2003") << 29 << QByteArray("FEBRERO") << 2003 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("29 FEBRERO 2100") << 29 << QByteArray("FEBRERO") << 2100 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("31 ABRIL 2003") << 31 << QByteArray("ABRIL") << 2003 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("unknown month name") << 5 << QByteArray("marzo") << 2003 << QByteArray("-1 DE ERROR DEL -1");
    QTest::newRow("year above 9999") << 5 << QByteArray("MARZO") << 10000 << QByteArray("-1 DE ERROR DEL -1");
}

void TestFecha::issueDateText()
{
    QFETCH(int, dia);
    QFETCH(QByteArray, mes);
    QFETCH(int, anio);
    QFETCH(QByteArray, expected);
    const Fecha f(anio, moneda::MesANumero(mes.toStdString()), dia, 1, 1, 1);
    QCOMPARE(IssueDateText(f), expected);
}

void TestFecha::leapYearsCount()
{
    // 1..2000: 500 multiples of 4, less 20 of 100, plus 5 of 400 = 485.
    // 1..9999: 2499 - 99 + 24 = 2424.
    int upTo2000 = 0;
    int upTo9999 = 0;
    for (int anio = 1; anio <= 9999; ++anio) {
        if (Fecha(anio, 2, 29, 0, 0, 0).EsValida()) {
            ++upTo9999;
            if (anio <= 2000)
                ++upTo2000;
        }
    }
    QCOMPARE(upTo2000, 485);
    QCOMPARE(upTo9999, 2424);
}

void TestFecha::yearLengths_data()
{
    QTest::addColumn<int>("anio");
    QTest::addColumn<int>("days");

    QTest::newRow("2003") << 2003 << 365;
    QTest::newRow("2004") << 2004 << 366;
    QTest::newRow("1900") << 1900 << 365;
    QTest::newRow("2000") << 2000 << 366;
    QTest::newRow("9999") << 9999 << 365;
}

void TestFecha::yearLengths()
{
    QFETCH(int, anio);
    QFETCH(int, days);
    int total = 0;
    for (int mes = 1; mes <= 12; ++mes)
        total += LastDayOf(anio, mes);
    QCOMPARE(total, days);
    QCOMPARE(LastDayOf(anio, 0), 0);
    QCOMPARE(LastDayOf(anio, 13), 0);
}

QTEST_APPLESS_MAIN(TestFecha)
#include "tst_fecha.moc"
