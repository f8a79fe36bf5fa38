// The module that prints, saves PDFs and keeps the register: found where it is, and a clear
// Spanish message naming the file when it is missing or is not the module.
#include "salida/Modulo.h"
#include "salida/Ordenes.h"

#include <QtTest>

class TestCargarSalida : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void missingOrWrongModuleIsNamed_data();
    void missingOrWrongModuleIsNamed();
    void builtModuleLoads();
};

void TestCargarSalida::missingOrWrongModuleIsNamed_data() {
    QTest::addColumn<QString>("ruta");
    QTest::addColumn<QString>("nombrado");
    QTest::newRow("no file there") << QStringLiteral("/nonexistent/libtalvero-salida.so")
                                   << QStringLiteral("/nonexistent/libtalvero-salida.so");
    // A library that loads but has no entry point of the module.
    QTest::newRow("another library")
        << QStringLiteral("libm.so.6") << QStringLiteral("libm.so.6 no es el módulo de Talvero");
}

void TestCargarSalida::missingOrWrongModuleIsNamed() {
    QFETCH(QString, ruta);
    QFETCH(QString, nombrado);
    QString problema;
    QCOMPARE(salida::CargarDesde({ruta}, &problema), nullptr);
    QVERIFY2(problema.startsWith(QStringLiteral("No se puede cargar el módulo")),
             qPrintable(problema));
    QVERIFY2(problema.contains(nombrado), qPrintable(problema));
    QVERIFY2(problema.endsWith(QStringLiteral("reinstale el programa.")), qPrintable(problema));
}

void TestCargarSalida::builtModuleLoads() {
    QString problema;
    const salida::Modulo* modulo =
        salida::CargarDesde({QStringLiteral(TALVERO_MODULO_CONSTRUIDO)}, &problema);
    QVERIFY2(modulo != nullptr, qPrintable(problema));
    QCOMPARE(problema, QString());
    // The module hands out the same interfaces to every caller.
    QCOMPARE(salida::CargarDesde({QStringLiteral(TALVERO_MODULO_CONSTRUIDO)}, &problema), modulo);
    QVERIFY(modulo->ordenes.RutaDelRegistro().endsWith(QStringLiteral("/recibos.sqlite")));
}

QTEST_GUILESS_MAIN(TestCargarSalida)
#include "test_cargar_salida.moc"
