// The program's table of commands read without the module: which arguments are ours, the
// errors that refuse them before anything runs, the command they ask for, and the usage line
// and --help made from the table.
#include "orden/Ayuda.h"
#include "orden/Capacidades.h"
#include "orden/Leer.h"

#include <QtTest>

class TestLineaDeOrdenes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void reading_data();
    void reading();
    void usageLineIsMadeFromTheTable();
    void helpListsEveryOptionOfTheTable();
};

void TestLineaDeOrdenes::reading_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<bool>("nuestra");
    QTest::addColumn<QString>("orden"); // the command's option, when the rules hold
    QTest::addColumn<QString>("error");
    // clang-format off
    // --- none of ours
    QTest::newRow("a file from a launcher")       << QStringList{"recibo.txt"} << false << "" << "";
    QTest::newRow("a toolkit option and value")   << QStringList{"-style", "fusion"} << false << "" << "";
    // --- read as asked
    QTest::newRow("help alone")                   << QStringList{"--help"} << true << "" << "";
    QTest::newRow("help beside a bad pairing")    << QStringList{"--desde", "2024-01-01", "-h"} << true << "" << "";
    QTest::newRow("an export")                    << QStringList{"--exportar-registro", "a.csv", "--desde=2024-01-01"} << true << "--exportar-registro" << "";
    QTest::newRow("a list to a PDF")              << QStringList{"--emitir-lista", "l.csv", "--pdf", "a.pdf"} << true << "--emitir-lista" << "";
    QTest::newRow("the sending of the records")   << QStringList{"--verifactu-enviar"} << true << "--verifactu-enviar" << "";
    QTest::newRow("a copy to a server")           << QStringList{"--copiar-registro", "postgresql://ana@servidor/talvero"} << true << "--copiar-registro" << "";
    QTest::newRow("a remittance alone")           << QStringList{"--emitir-lista", "l.csv", "--remesa", "r.xml", "--fecha-cobro", "2024-03-08"} << true << "--emitir-lista" << "";
    QTest::newRow("a remittance beside a PDF")    << QStringList{"--emitir-lista", "l.csv", "--pdf", "a.pdf", "--remesa", "r.xml", "--fecha-cobro", "2024-03-08"} << true << "--emitir-lista" << "";
    // --- refused while reading, the first error kept
    QTest::newRow("an unknown option")            << QStringList{"--todo"} << true << "" << "opción desconocida «--todo».";
    QTest::newRow("a switch given a value")       << QStringList{"--emitir-lista", "l.csv", "--comprobar=si"} << true << "" << "opción desconocida «--comprobar=si».";
    QTest::newRow("a value that is an option")    << QStringList{"--pdf", "--comprobar"} << true << "" << "falta el valor de --pdf: «--comprobar» parece una opción (un archivo cuyo nombre empieza por «-» se escribe ./--comprobar).";
    QTest::newRow("an option twice")              << QStringList{"--remesa", "a.xml", "--remesa=b.xml"} << true << "" << "--remesa aparece más de una vez.";
    QTest::newRow("the last value missing")       << QStringList{"--emitir-lista"} << true << "" << "falta el valor de --emitir-lista.";
    // --- refused by the rules between the capabilities
    QTest::newRow("a date range alone")           << QStringList{"--hasta", "2024-01-01"} << true << "" << "--desde y --hasta solo valen con --exportar-registro.";
    QTest::newRow("a date range beside a list")   << QStringList{"--desde", "2024-01-01", "--emitir-lista", "l.csv", "--pdf", "a.pdf"} << true << "" << "--desde y --hasta solo valen con --exportar-registro.";
    QTest::newRow("an export beside a list")      << QStringList{"--exportar-registro", "a.csv", "--emitir-lista", "l.csv", "--pdf", "a.pdf"} << true << "" << "--emitir-lista y --exportar-registro no van juntos.";
    QTest::newRow("an export beside a remittance") << QStringList{"--exportar-registro", "a.csv", "--remesa", "r.xml"} << true << "" << "--emitir-lista y --exportar-registro no van juntos.";
    QTest::newRow("an output without a list")     << QStringList{"--pdf", "a.pdf"} << true << "" << "falta --emitir-lista LISTA.csv.";
    QTest::newRow("a remittance without a list")  << QStringList{"--remesa", "r.xml", "--fecha-cobro", "2024-03-08"} << true << "" << "falta --emitir-lista LISTA.csv.";
    QTest::newRow("a list without an output")     << QStringList{"--emitir-lista", "l.csv"} << true << "" << "con --emitir-lista, indique una y solo una de --comprobar, --pdf, --carpeta-pdf o --impresora.";
    QTest::newRow("a remittance and a check")     << QStringList{"--emitir-lista", "l.csv", "--comprobar", "--pdf", "a.pdf", "--remesa", "r.xml"} << true << "" << "--remesa no va con --comprobar.";
    QTest::newRow("a remittance and two outputs") << QStringList{"--emitir-lista", "l.csv", "--pdf", "a.pdf", "--impresora", "X", "--remesa", "r.xml", "--fecha-cobro", "2024-03-08"} << true << "" << "con --emitir-lista, indique una y solo una de --comprobar, --pdf, --carpeta-pdf o --impresora.";
    QTest::newRow("a remittance without a date")  << QStringList{"--emitir-lista", "l.csv", "--remesa", "r.xml"} << true << "" << "con --remesa, indique --fecha-cobro AAAA-MM-DD.";
    QTest::newRow("a date without a remittance")  << QStringList{"--emitir-lista", "l.csv", "--pdf", "a.pdf", "--fecha-cobro", "2024-03-08"} << true << "" << "--fecha-cobro solo vale con --remesa.";
    // --- options of other capabilities that a command takes as its own
    QTest::newRow("debts on a day")               << QStringList{"--pendientes", "d.csv", "--hasta", "2024-03-31"} << true << "--pendientes" << "";
    QTest::newRow("debts from a day")             << QStringList{"--pendientes", "d.csv", "--desde", "2024-03-01"} << true << "" << "--desde y --hasta solo valen con --exportar-registro.";
    QTest::newRow("returned ones collected again") << QStringList{"--remesa-devueltos", "r.xml", "--fecha-cobro", "2024-03-08", "--desde", "2024-02-01", "--version-remesa", "pain.008.001.02"} << true << "--remesa-devueltos" << "";
    QTest::newRow("returned ones without a date") << QStringList{"--remesa-devueltos", "r.xml"} << true << "" << "con --remesa-devueltos, indique --fecha-cobro AAAA-MM-DD.";
    QTest::newRow("returned ones beside a list")  << QStringList{"--remesa-devueltos", "r.xml", "--fecha-cobro", "2024-03-08", "--emitir-lista", "l.csv", "--comprobar"} << true << "" << "--remesa-devueltos y --emitir-lista no van juntos.";
    QTest::newRow("a report beside an export")    << QStringList{"--importar-devoluciones", "i.xml", "--exportar-registro", "a.csv"} << true << "" << "--importar-devoluciones y --exportar-registro no van juntos.";
    QTest::newRow("a collection date that is not one") << QStringList{"--emitir-lista", "l.csv", "--remesa", "r.xml", "--fecha-cobro", "8/3/2024"} << true << "" << "--fecha-cobro «8/3/2024» no es una fecha AAAA-MM-DD.";
    // clang-format on
}

void TestLineaDeOrdenes::reading() {
    QFETCH(QStringList, argumentos);
    QFETCH(bool, nuestra);
    QFETCH(QString, orden);
    QFETCH(QString, error);
    const orden::Lectura lectura =
        orden::Leer(QStringList{QStringLiteral("talvero")} + argumentos, orden::TablaDelPrograma());
    QCOMPARE(lectura.nuestra, nuestra);
    QCOMPARE(lectura.error, error);
    QCOMPARE(lectura.orden != nullptr ? QString::fromUtf8(lectura.orden->opciones.front().nombre)
                                      : QString(),
             orden);
}

void TestLineaDeOrdenes::usageLineIsMadeFromTheTable() {
    QCOMPARE(
        orden::Uso(orden::TablaDelPrograma()),
        QStringLiteral(
            "Uso: talvero [--exportar-registro ARCHIVO.csv [--desde AAAA-MM-DD] "
            "[--hasta AAAA-MM-DD] | --emitir-lista LISTA.csv (--comprobar | --pdf "
            "SALIDA.pdf | --carpeta-pdf CARPETA | --impresora NOMBRE) [--remesa "
            "REMESA.xml --fecha-cobro AAAA-MM-DD [--version-remesa VERSIÓN]] | "
            "--importar-devoluciones FICHERO.xml | --pendientes ARCHIVO.csv [--hasta "
            "AAAA-MM-DD] | --remesa-devueltos REMESA.xml [--gastos-devolucion IMPORTE] "
            "--fecha-cobro AAAA-MM-DD [--desde "
            "AAAA-MM-DD] [--hasta AAAA-MM-DD] [--version-remesa VERSIÓN] | --verificar-registro | "
            "--verifactu-enviar | --copiar-registro URI | --help]\n"));
}

void TestLineaDeOrdenes::helpListsEveryOptionOfTheTable() {
    const orden::Tabla& tabla = orden::TablaDelPrograma();
    const QString ayuda = orden::Ayuda(tabla, {QStringLiteral("Nota de prueba.\n")});
    const QString uso = orden::Uso(tabla);
    int opciones = 0;
    for (const orden::Capacidad& c : tabla) {
        for (const orden::Opcion& o : c.opciones) {
            ++opciones;
            QString linea = QStringLiteral("\n  ") + QString::fromUtf8(o.nombre);
            if (o.valor != nullptr)
                linea += QLatin1Char(' ') + QString::fromUtf8(o.valor);
            QVERIFY2(ayuda.contains(linea), o.nombre);
            QVERIFY2(uso.contains(QString::fromUtf8(o.nombre)), o.nombre);
        }
    }
    QCOMPARE(opciones, 18);
    QVERIFY(ayuda.startsWith(uso));
    QVERIFY(ayuda.contains(QStringLiteral("\n  -h, --help ")));
    QVERIFY(ayuda.endsWith(QStringLiteral("\nNota de prueba.\n")));
}

QTEST_GUILESS_MAIN(TestLineaDeOrdenes)
#include "test_linea_de_ordenes.moc"
