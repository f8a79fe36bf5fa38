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
    QTest::addColumn<QString>("hoy");
    QTest::addColumn<QString>("cobro");
    QTest::addColumn<QString>("motivo"); // empty when the date is accepted
    QTest::addColumn<QString>("propuesta");
    // Wednesday 27 March 2024; Good Friday is the 29th, Easter Monday 1 April
    const QString hoy = QStringLiteral("2024-03-27");
    QTest::newRow("mañana, jueves") << hoy << "2024-03-28" << "" << "";
    QTest::newRow("hoy") << hoy << "2024-03-27" << "es hoy" << "28/03/2024";
    QTest::newRow("ayer") << hoy << "2024-03-26" << "ya ha pasado" << "28/03/2024";
    QTest::newRow("Viernes Santo, hasta el martes") << hoy << "2024-03-29" << "es Viernes Santo" << "02/04/2024";
    QTest::newRow("sábado de Pascua") << hoy << "2024-03-30" << "es sábado" << "02/04/2024";
    QTest::newRow("domingo de Pascua") << hoy << "2024-03-31" << "es domingo" << "02/04/2024";
    QTest::newRow("Lunes de Pascua") << hoy << "2024-04-01" << "es Lunes de Pascua" << "02/04/2024";
    QTest::newRow("1 de mayo") << hoy << "2024-05-01" << "es 1 de mayo" << "02/05/2024";
    QTest::newRow("25 de diciembre, miércoles") << hoy << "2024-12-25" << "es 25 de diciembre" << "27/12/2024";
    QTest::newRow("26 de diciembre, jueves") << hoy << "2024-12-26" << "es 26 de diciembre" << "27/12/2024";
    QTest::newRow("1 de enero, miércoles") << hoy << "2025-01-01" << "es 1 de enero" << "02/01/2025";
    QTest::newRow("31 de diciembre sí") << hoy << "2024-12-31" << "" << "";
    QTest::newRow("30 de febrero") << hoy << "2025-02-30" << "no es una fecha que exista" << "";
    // At most a year after today: a later date is a typing mistake
    QTest::newRow("un año justo después, jueves") << hoy << "2025-03-27" << "" << "";
    QTest::newRow("un año y un día después") << hoy << "2025-03-28" << "la fecha de cobro 28/03/2025 es demasiado lejana (se admite hasta un año después de hoy); la última fecha válida es el 27/03/2025." << "";
    QTest::newRow("el año mal tecleado, 2099") << hoy << "2099-03-27" << "la fecha de cobro 27/03/2099 es demasiado lejana" << "";
    // Thursday 26 December 2024: a year later is 26 December, closed, and so is the 25th
    QTest::newRow("un año después es 26 de diciembre") << "2024-12-26" << "2025-12-26" << "la última fecha válida es el 24/12/2025." << "";
    QTest::newRow("el último día hábil de ese año") << "2024-12-26" << "2025-12-24" << "" << "";
    // 29 February 2024: a year later is the last day of February, a Friday
    QTest::newRow("el lunes siguiente ya no") << "2024-02-29" << "2025-03-03" << "la última fecha válida es el 28/02/2025." << "";
    // clang-format on
}

void TestSepaCalendario::fechaDeCobro() {
    QFETCH(QString, hoy);
    QFETCH(QString, cobro);
    QFETCH(QString, motivo);
    QFETCH(QString, propuesta);
    const auto leer = [](const QString& iso) {
        const QStringList partes = iso.split(u'-');
        return year_month_day{year(partes[0].toInt()), month(partes[1].toUInt()),
                              day(partes[2].toUInt())};
    };
    const QString dicho = QString::fromStdString(sepa::ComprobarFechaCobro(leer(cobro), leer(hoy)));
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
