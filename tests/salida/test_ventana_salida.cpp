// The handles of the windows the module opens: what a kind of window can be asked reaches
// that window while it lives, and nothing once it is gone.
#include "salida/Ventana.h"

#include <QtTest>

class TestVentanaSalida : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void handleFollowsItsWindow_data();
    void handleFollowsItsWindow();
    void emptyHandleDoesNothing();
};

void TestVentanaSalida::handleFollowsItsWindow_data() {
    QTest::addColumn<bool>("borrada");
    QTest::addColumn<int>("llamadas");
    QTest::newRow("an open window is refreshed") << false << 1;
    QTest::newRow("a deleted window is not") << true << 0;
}

void TestVentanaSalida::handleFollowsItsWindow() {
    QFETCH(bool, borrada);
    QFETCH(int, llamadas);
    auto* ventana = new QWidget;
    int refrescada = 0;
    const salida::VentanaEmitidos registro(ventana, [&refrescada] { ++refrescada; });
    QVERIFY(registro.Abierta());
    QCOMPARE(registro.Widget(), ventana);
    if (borrada)
        delete ventana;
    registro.Refrescar();
    QCOMPARE(refrescada, llamadas);
    QCOMPARE(registro.Abierta(), !borrada);
    registro.AlFrente();
    if (!borrada) {
        QVERIFY(ventana->isVisible());
        delete ventana;
    }
}

void TestVentanaSalida::emptyHandleDoesNothing() {
    const salida::VentanaVistaPrevia vista;
    QVERIFY(!vista.Abierta());
    QCOMPARE(vista.Widget(), nullptr);
    vista.Mostrar([](page::PageSurface&) { QFAIL("drawn without a window"); });
    vista.AlFrente();
}

QTEST_MAIN(TestVentanaSalida)
#include "test_ventana_salida.moc"
