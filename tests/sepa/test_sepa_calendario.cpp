// The days a debit can be collected on, and the date proposed instead of one that cannot.
#include "sepa/Calendario.h"

#include <QtTest>

using namespace std::chrono;

namespace {
QString Texto(year_month_day d) {
    return QString::fromStdString(sepa::TextoFecha(d));
}
} // namespace

class TestSepaCalendario : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void domingoDePascua_data();
    void domingoDePascua();
    void fechaDeCobro_data();
    void fechaDeCobro();
};

void TestSepaCalendario::domingoDePascua_data() {
    // clang-format off
    // From the published tables of Easter dates.
    QTest::addColumn<int>("anio");
    QTest::addColumn<QString>("pascua");
    QTest::newRow("2024, en marzo") << 2024 << "31/03/2024";
    QTest::newRow("2025") << 2025 << "20/04/2025";
    QTest::newRow("2000") << 2000 << "23/04/2000";
    QTest::newRow("2038, la más tardía posible") << 2038 << "25/04/2038";
    QTest::newRow("2285, la más temprana posible") << 2285 << "22/03/2285";
    // clang-format on
}

void TestSepaCalendario::domingoDePascua() {
    QFETCH(int, anio);
    QFETCH(QString, pascua);
    QCOMPARE(Texto(sepa::DomingoDePascua(year(anio))), pascua);
}

void TestSepaCalendario::fechaDeCobro_data() {
    // clang-format off
    // Today is Wednesday 27 March 2024; Good Friday is the 29th, Easter Monday 1 April.
    QTest::addColumn<QString>("cobro");
    QTest::addColumn<QString>("motivo"); // empty when the date is accepted
    QTest::addColumn<QString>("propuesta");
    QTest::newRow("mañana, jueves") << "2024-03-28" << "" << "";
    QTest::newRow("hoy") << "2024-03-27" << "es hoy" << "28/03/2024";
    QTest::newRow("ayer") << "2024-03-26" << "ya ha pasado" << "28/03/2024";
    QTest::newRow("Viernes Santo, hasta el martes") << "2024-03-29" << "es Viernes Santo" << "02/04/2024";
    QTest::newRow("sábado de Pascua") << "2024-03-30" << "es sábado" << "02/04/2024";
    QTest::newRow("domingo de Pascua") << "2024-03-31" << "es domingo" << "02/04/2024";
    QTest::newRow("Lunes de Pascua") << "2024-04-01" << "es Lunes de Pascua" << "02/04/2024";
    QTest::newRow("1 de mayo") << "2024-05-01" << "es 1 de mayo" << "02/05/2024";
    QTest::newRow("25 de diciembre, miércoles") << "2024-12-25" << "es 25 de diciembre" << "27/12/2024";
    QTest::newRow("26 de diciembre, jueves") << "2024-12-26" << "es 26 de diciembre" << "27/12/2024";
    QTest::newRow("1 de enero, miércoles") << "2025-01-01" << "es 1 de enero" << "02/01/2025";
    QTest::newRow("31 de diciembre sí") << "2024-12-31" << "" << "";
    QTest::newRow("30 de febrero") << "2025-02-30" << "no es una fecha que exista" << "";
    // clang-format on
}

void TestSepaCalendario::fechaDeCobro() {
    QFETCH(QString, cobro);
    QFETCH(QString, motivo);
    QFETCH(QString, propuesta);
    const QStringList partes = cobro.split(u'-');
    const year_month_day fecha{year(partes[0].toInt()), month(partes[1].toUInt()),
                               day(partes[2].toUInt())};
    const QString dicho =
        QString::fromStdString(sepa::ComprobarFechaCobro(fecha, year(2024) / 3 / 27));
    if (motivo.isEmpty()) {
        QCOMPARE(dicho, QString());
        return;
    }
    QVERIFY2(dicho.contains(motivo), qPrintable(dicho));
    if (!propuesta.isEmpty())
        QVERIFY2(dicho.endsWith(QStringLiteral("el primer día válido es el ") + propuesta + u'.'),
                 qPrintable(dicho));
}

QTEST_APPLESS_MAIN(TestSepaCalendario)
#include "test_sepa_calendario.moc"
