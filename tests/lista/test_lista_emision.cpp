// A list of three tenants emitted by the real program: through the tests' print server (one
// job, three pages, each receipt's texts in their places), as one PDF and as three, the
// register's rows, the refusals before anything is written, and a cancelled emission that
// leaves nothing.
#include "lista/Emision.h"

#include "../print/PrintTestSupport.h"
#include "EjecutarTalvero.h"
#include "SampleRecords.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kEjemplo = QStringLiteral(TALVERO_DOCS "/lista-ejemplo.csv");
const QString kCola = QStringLiteral("TalveroOtra");

using Salida = SalidaTalvero;

QStringList Texto(const QList<printtest::Word>& palabras) {
    QStringList t;
    for (const auto& p : palabras)
        t << p.text;
    return t;
}

} // namespace

class TestListaEmision : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void imprimeUnTrabajoDeTresPaginas();
    void unPdfYUnoPorRecibo();
    void rechazosAntesDeEscribir_data();
    void rechazosAntesDeEscribir();
    void canceladaNoDejaNada();

private:
    Salida Talvero(const QStringList& argumentos);
    // receipts in the register: "numero|destino|lote"
    QStringList Registro();

    std::unique_ptr<QTemporaryDir> dir_;
};

void TestListaEmision::init() {
    dir_ = std::make_unique<QTemporaryDir>();
}

Salida TestListaEmision::Talvero(const QStringList& argumentos) {
    return EjecutarTalvero(dir_->path(), argumentos);
}

QStringList TestListaEmision::Registro() {
    return FilasDelRegistro(
        dir_->path(), QStringLiteral("SELECT numero, destino, lote FROM recibos ORDER BY id"),
        [](const QSqlQuery& q) {
            return QStringLiteral("%1|%2|%3")
                .arg(q.value(0).toString(), QFileInfo(q.value(1).toString()).fileName(),
                     q.value(2).toString());
        });
}

void TestListaEmision::imprimeUnTrabajoDeTresPaginas() {
    if (const QString por = printtest::WhyNoServer(); !por.isEmpty())
        QSKIP(qPrintable(por));
    const QList<int> antes = printtest::JobIds(kCola);
    const Salida s = Talvero({"--emitir-lista", kEjemplo, "--impresora", kCola});
    QCOMPARE(s.errores, QString());
    QCOMPARE(s.estado, 0);
    QList<int> nuevos = printtest::JobIds(kCola);
    for (int id : antes)
        nuevos.removeAll(id);
    QCOMPARE(nuevos.size(), 1);
    QCOMPARE(printtest::JobAttributes(kCola, nuevos.front()).value(QStringLiteral("job-name")),
             QStringLiteral("Talvero: Imprimiento Recibo"));
    printtest::WaitForJobEnd(kCola, nuevos.front());
    const QString pdf = printtest::PdfOfJob(nuevos.front());
    QCOMPARE(printtest::PageCount(pdf), 3);
    // Each page its own tenant, in the same place on every page.
    const char* pagadores[] = {"Ana", "Luis", "Comercial"};
    QRectF lugar;
    for (int pagina = 1; pagina <= 3; ++pagina) {
        const QList<printtest::Word> palabras = printtest::Words(pdf, pagina);
        const auto it = std::find_if(palabras.begin(), palabras.end(), [&](const auto& p) {
            return p.text == QLatin1String(pagadores[pagina - 1]);
        });
        QVERIFY2(it != palabras.end(), pagadores[pagina - 1]);
        if (pagina == 1)
            lugar = it->box;
        QVERIFY(qAbs(it->box.left() - lugar.left()) < 0.5 &&
                qAbs(it->box.top() - lugar.top()) < 0.5);
    }
    QVERIFY(Texto(printtest::Words(pdf, 3)).contains(QStringLiteral("1.020,00")));
    QCOMPARE(Registro(), (QStringList{"1|TalveroOtra|1", "2|TalveroOtra|1", "3|TalveroOtra|1"}));
}

void TestListaEmision::unPdfYUnoPorRecibo() {
    const Salida uno = Talvero({"--emitir-lista", kEjemplo, "--pdf", "marzo.pdf"});
    QCOMPARE(uno.errores, QString());
    QCOMPARE(uno.estado, 0);
    const QString pdf = dir_->filePath(QStringLiteral("marzo.pdf"));
    QCOMPARE(printtest::PageCount(pdf), 3);
    QVERIFY(Texto(printtest::Words(pdf, 2)).contains(QStringLiteral("garaje")));

    // The numbers follow the register's.
    const Salida tres = Talvero({"--emitir-lista", kEjemplo, "--carpeta-pdf", "recibos"});
    QCOMPARE(tres.estado, 0);
    QCOMPARE(QDir(dir_->filePath(QStringLiteral("recibos"))).entryList(QDir::Files),
             (QStringList{"Recibo 4 2024-03-01.pdf", "Recibo 5 2024-03-01.pdf",
                          "Recibo 6 2024-03-01.pdf"}));
    QCOMPARE(Registro(), (QStringList{"1|marzo.pdf|1", "2|marzo.pdf|1", "3|marzo.pdf|1",
                                      "4|Recibo 4 2024-03-01.pdf|2", "5|Recibo 5 2024-03-01.pdf|2",
                                      "6|Recibo 6 2024-03-01.pdf|2"}));
}

void TestListaEmision::rechazosAntesDeEscribir_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("dice");

    QTest::newRow("existing PDF not overwritten")
        << QStringList{"--emitir-lista", kEjemplo, "--pdf", "ya.pdf"} << 2
        << "talvero: «ya.pdf» ya existe: no se sobrescribe; indique otro nombre.\n";
    QTest::newRow("unknown print queue")
        << QStringList{"--emitir-lista", kEjemplo, "--impresora", "NoHay"} << 2
        << "talvero: no hay ninguna impresora «NoHay» en este equipo.\n";
    QTest::newRow("missing list") << QStringList{"--emitir-lista", "no.csv", "--comprobar"} << 2
                                  << "talvero: no existe la lista «no.csv».\n";
    QTest::newRow("two outputs")
        << QStringList{"--emitir-lista", kEjemplo, "--pdf", "a.pdf", "--comprobar"} << 2
        << "talvero: con --emitir-lista, indique una y solo una de --comprobar, --pdf, "
           "--carpeta-pdf o --impresora. Pruebe «talvero --help».\nUso: talvero "
           "[--exportar-registro ARCHIVO.csv [--desde AAAA-MM-DD] [--hasta AAAA-MM-DD] | "
           "--emitir-lista LISTA.csv (--comprobar | --pdf SALIDA.pdf | --carpeta-pdf CARPETA | "
           "--impresora NOMBRE) [--remesa REMESA.xml --fecha-cobro AAAA-MM-DD [--version-remesa "
           "VERSIÓN]] | --importar-devoluciones FICHERO.xml | --pendientes ARCHIVO.csv [--hasta "
           "AAAA-MM-DD] | --remesa-devueltos REMESA.xml [--gastos-devolucion IMPORTE] "
           "--fecha-cobro AAAA-MM-DD [--desde "
           "AAAA-MM-DD] [--hasta AAAA-MM-DD] [--version-remesa VERSIÓN] | --verificar-registro | "
           "--verifactu-enviar | --copiar-registro URI | --help]\n";
    QTest::newRow("a list with errors")
        << QStringList{"--emitir-lista", "mal.csv", "--pdf", "b.pdf"} << 2
        << "Fila 3, Importe 1: \"12.50\" no es un importe\ntalvero: 2 recibos, total 10,00 €; 1 "
           "fila con errores: no se emite ningún recibo.\n";
}

void TestListaEmision::rechazosAntesDeEscribir() {
    QFETCH(QStringList, argumentos);
    QFETCH(int, estado);
    QFETCH(QString, dice);
    QFile ya(dir_->filePath(QStringLiteral("ya.pdf")));
    QVERIFY(ya.open(QIODevice::WriteOnly) && ya.write("mío") == 4);
    ya.close();
    QFile mal(dir_->filePath(QStringLiteral("mal.csv")));
    QVERIFY(mal.open(QIODevice::WriteOnly));
    mal.write("Pagador;Importe 1\nAna;10\nLuis;12.50\n");
    mal.close();
    const Salida s = Talvero(argumentos);
    QCOMPARE(s.errores, dice);
    QCOMPARE(s.estado, estado);
    QCOMPARE(QDir(dir_->path()).entryList({"*.pdf"}, QDir::Files), QStringList{"ya.pdf"});
    QVERIFY(ya.open(QIODevice::ReadOnly));
    QCOMPARE(ya.readAll(), QByteArray("mío"));
    QCOMPARE(Registro(), QStringList());
}

void TestListaEmision::canceladaNoDejaNada() {
    lista::ListaRevisada l = lista::RevisarLista(lista::LeerArchivoCsv(kEjemplo), sample::Filled(),
                                                 {{"0"}, {"0"}, {"0", "15"}}, {});
    QVERIFY(l.Emitible());
    lista::PedidoEmision pedido;
    pedido.registro = dir_->filePath(QStringLiteral("recibos.sqlite"));
    pedido.archivoLista = kEjemplo;
    const auto cancelaEnLaSegunda = [](qsizetype hechos, qsizetype) { return hechos < 2; };
    pedido.ruta = dir_->filePath(QStringLiteral("lista.pdf"));
    QCOMPARE(lista::Emitir(l, pedido, cancelaEnLaSegunda).estado,
             lista::Emision::Estado::Cancelada);
    pedido.destino = lista::PedidoEmision::Destino::CarpetaPdf;
    pedido.ruta = dir_->filePath(QStringLiteral("carpeta"));
    QCOMPARE(lista::Emitir(l, pedido, cancelaEnLaSegunda).estado,
             lista::Emision::Estado::Cancelada);
    QCOMPARE(QDir(pedido.ruta).entryList(QDir::Files | QDir::Hidden), QStringList());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::Files), QStringList());
}

QTEST_MAIN(TestListaEmision)
#include "test_lista_emision.moc"
