// The pace of the submissions: what each sequence of submissions, answers and failures
// leaves as the wait before the next one.
#include "verifactu/Ritmo.h"

#include <QtTest>

using verifactu::Ritmo;

class TestVerifactuRitmo : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void espera_data();
    void espera();
};

void TestVerifactuRitmo::espera_data() {
    // Events, in order: "E<ms>" a submission ended then, "R<s>" its answer asked to wait s
    // seconds, "F" it failed for a technical reason.
    QTest::addColumn<QStringList>("sucesos");
    QTest::addColumn<qint64>("ahora");
    QTest::addColumn<int>("pendientes");
    QTest::addColumn<qint64>("espera");

    // The agency's pace.
    QTest::newRow("La primera de una ejecución sale ya") << QStringList{} << 0ll << 1 << 0ll;
    QTest::newRow("Sin respuesta aún: la espera inicial de 60 s")
        << QStringList{"E1000"} << 11'000ll << 1 << 50'000ll;
    QTest::newRow("La respuesta fija la espera siguiente")
        << QStringList{"E0", "R30"} << 10'000ll << 1 << 20'000ll;
    QTest::newRow("Pasada la espera, ya") << QStringList{"E0", "R30"} << 45'000ll << 1 << 0ll;
    QTest::newRow("Espera cero") << QStringList{"E0", "R0"} << 0ll << 1 << 0ll;
    QTest::newRow("Mil esperando salen ya") << QStringList{"E0", "R30"} << 10'000ll << 1000 << 0ll;
    QTest::newRow("999 esperan su turno")
        << QStringList{"E0", "R30"} << 10'000ll << 999 << 20'000ll;
    QTest::newRow("Un tiempo de más de cuatro cifras: la espera inicial")
        << QStringList{"E0", "R10000"} << 0ll << 1 << 60'000ll;
    // Technical failures: at least hourly.
    QTest::newRow("Tras un fallo, un minuto") << QStringList{"E0", "F"} << 0ll << 1 << 60'000ll;
    QTest::newRow("Tras un fallo, mil esperando no adelantan")
        << QStringList{"E0", "F"} << 0ll << 1000 << 60'000ll;
    QTest::newRow("Cada fallo dobla el reintento")
        << QStringList{"E0", "F", "E0", "F", "E0", "F"} << 0ll << 1 << 240'000ll;
    QTest::newRow("Nunca más de una hora")
        << QStringList{"E0", "F", "F", "F", "F", "F", "F", "F", "F", "F", "F"} << 0ll << 1
        << 3'600'000ll;
    QTest::newRow("La espera de la AEAT, si es mayor que el reintento")
        << QStringList{"E0", "R120", "E0", "F"} << 0ll << 1 << 120'000ll;
    QTest::newRow("Una respuesta tras los fallos vuelve a su ritmo")
        << QStringList{"E0", "F", "F", "E0", "R5"} << 0ll << 1 << 5'000ll;
}

void TestVerifactuRitmo::espera() {
    QFETCH(QStringList, sucesos);
    QFETCH(qint64, ahora);
    QFETCH(int, pendientes);
    QFETCH(qint64, espera);
    Ritmo ritmo;
    for (const QString& s : sucesos) {
        if (s.startsWith(u'E'))
            ritmo.Acabado(s.mid(1).toLongLong());
        else if (s.startsWith(u'R'))
            ritmo.Respondido(s.mid(1).toInt());
        else
            ritmo.Fallido();
    }
    QCOMPARE(ritmo.Espera(ahora, std::size_t(pendientes)), espera);
}

QTEST_GUILESS_MAIN(TestVerifactuRitmo)
#include "test_verifactu_ritmo.moc"
