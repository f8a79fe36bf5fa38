// "Recibos emitidos" under the offscreen platform, its CSV read back with Python's csv module,
// and the same CSV from the command line without a display.
#include "BaseDePrueba.h"
#include "PaginaDibujada.h"
#include "SampleRecords.h"
#include "register/BarraCobros.h"
#include "register/DialogoDevoluciones.h"
#include "register/ExportarCsv.h"
#include "register/ModeloRecibos.h"
#include "register/RecibosEmitidos.h"
#include "register/Registro.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using registro::RecibosEmitidos;
using registro::Registro;

namespace {

// Receipts 1..4: the awkward one, the printed sample, and two of José Peña's.
QList<CRecibo> Recibos() {
    CRecibo raro = sample::Awkward(); // number "=1+1"
    raro.m_Fecha = moneda::Fecha(2024, 1, 15, 1, 1, 1);
    CRecibo muestra = sample::Filled(); // "17", 5 March 2004
    CRecibo jose1;
    jose1.m_Numero = "18";
    jose1.m_Pagador1 = "JOSÉ PEÑA";
    jose1.m_Concepto1 = "Cuota de marzo";
    jose1.m_Importe1 = sample::Euros(5000);
    jose1.m_Fecha = moneda::Fecha(2024, 3, 31, 1, 1, 1);
    CRecibo jose2 = jose1;
    jose2.m_Numero = "19";
    jose2.m_Concepto1 = "Cuota de abril";
    jose2.m_Fecha = moneda::Fecha(2024, 4, 1, 1, 1, 1);
    return {raro, muestra, jose1, jose2};
}

QStringList Columna(QTableView* tabla, int columna) {
    QStringList l;
    for (int fila = 0; fila < tabla->model()->rowCount(); ++fila)
        l << tabla->model()->index(fila, columna).data().toString();
    return l;
}

// Types `texto` into `w` key by key, as a user would; QTest's own helper takes Latin-1 only.
void Teclear(QWidget* w, const QString& texto) {
    for (const QChar c : texto) {
        QKeyEvent pulsa(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &pulsa);
        QKeyEvent suelta(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(w, &suelta);
    }
}

QJsonArray LeerConPython(const QString& csv) {
    QProcess py;
    py.start(QStringLiteral("python3"),
             {QStringLiteral("-c"),
              QStringLiteral("import csv, json, sys\n"
                             "with open(sys.argv[1], encoding='utf-8-sig', newline='') as f:\n"
                             "    print(json.dumps(list(csv.reader(f, delimiter=';'))))\n"),
              csv});
    if (!py.waitForFinished(30000) || py.exitCode() != 0)
        return {};
    return QJsonDocument::fromJson(py.readAllStandardOutput()).array();
}

struct Salida {
    int codigo = -1;
    QString texto; // standard output and error
};

// The real program with no display, on the register under `datos`, run in `carpeta`, writing
// no file over `limite` bytes (0: no limit; a full disk as the program sees it).
Salida Talvero(const QStringList& argumentos, const QString& datos, const QString& carpeta = {},
               rlim_t limite = 0) {
    QProcess talvero;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), datos);
    talvero.setProcessEnvironment(env);
    talvero.setWorkingDirectory(carpeta);
    if (limite > 0)
        talvero.setChildProcessModifier([limite] {
            const rlimit r{limite, limite};
            ::setrlimit(RLIMIT_FSIZE, &r);
        });
    talvero.start(QStringLiteral(TALVERO_PROGRAMA), argumentos);
    if (!talvero.waitForFinished(30000) || talvero.exitStatus() != QProcess::NormalExit)
        return {};
    return {talvero.exitCode(), QString::fromLocal8Bit(talvero.readAllStandardOutput() +
                                                       talvero.readAllStandardError())};
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

mode_t Tipo(const QString& ruta) {
    struct stat s {};
    return ::stat(QFile::encodeName(ruta).constData(), &s) == 0 ? (s.st_mode & S_IFMT) : 0;
}

QStringList Fila(const QJsonArray& filas, int i) {
    QStringList l;
    for (const QJsonValue& v : filas.at(i).toArray())
        l << v.toString();
    return l;
}

} // namespace

class TestRegistroVentana : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup() { base_.reset(); }

    void showsNewestFirstWithTheNextFreeNumber();
    void paymentsByHandFilteredAndTotalled();
    void bankReportShowsWhatWasNotApplied();
    void searchFiltersAsYouType_data();
    void searchFiltersAsYouType();
    void sortsByAColumn();
    void scrollingBringsEveryRowOnce();
    void buttonsHandTheReceiptAsFirstIssued_data();
    void buttonsHandTheReceiptAsFirstIssued();
    void refreshShowsAReceiptJustRecorded();
    void amountEditedByHandIsUnknownAndNotReprinted();
    void csvField_data();
    void csvField();
    void csvEuros_data();
    void csvEuros();
    void exportWritesTheRowsShownForPython();
    void commandLine_data();
    void commandLine();
    void exportChangesNothingButItsTarget_data();
    void exportChangesNothingButItsTarget();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<registrotest::BaseDePrueba> base_;
    // The program's file here, or the case's database on the tests' server.
    QString Ruta() const { return base_->Ubicacion(); }
    template <class T = QTableView>
    static T* Hijo(QWidget* v, const char* nombre = "tablaRecibos") {
        return v->findChild<T*>(QLatin1String(nombre));
    }
    // Runs `sql` on the register, as a store other than the window's would.
    bool Ejecutar(const QString& sql) const {
        Registro reg(Ruta());
        return reg.Abrir() && QSqlQuery(reg.Base()).exec(sql);
    }
    std::unique_ptr<RecibosEmitidos> Ventana(registro::AccionesRegistro acciones = {}) {
        auto v = std::make_unique<RecibosEmitidos>(Ruta(), std::move(acciones));
        v->show();
        // On a server the window connects once shown.
        const auto* estado = v->findChild<QLabel*>(QStringLiteral("estadoRegistro"));
        if (!QTest::qWaitFor([estado] {
                return estado->isHidden() ||
                       !estado->text().startsWith(QStringLiteral("Conectando"));
            }))
            qWarning("la ventana sigue conectando con el servidor del registro");
        return v;
    }
};

void TestRegistroVentana::init() {
    if (const QString motivo = registrotest::SinServidor(); !motivo.isEmpty())
        QSKIP(qPrintable(motivo));
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    base_ = std::make_unique<registrotest::BaseDePrueba>(
        dir_->filePath(QStringLiteral("datos/Quenlaria/Talvero/recibos.sqlite")));
    QVERIFY2(base_->Error().isEmpty(), qPrintable(base_->Error()));
    Registro reg(Ruta());
    for (const CRecibo& r : Recibos())
        QVERIFY(reg.Anotar(r, QStringLiteral("Oficina")));
}

void TestRegistroVentana::showsNewestFirstWithTheNextFreeNumber() {
    auto v = Ventana();
    QCOMPARE(v->objectName(), QStringLiteral("recibosEmitidos"));
    QCOMPARE(v->windowTitle(), QStringLiteral("Recibos emitidos"));
    auto* tabla = Hijo(v.get());
    QVERIFY(tabla != nullptr);
    QCOMPARE(Columna(tabla, 0), (QStringList{"19", "18", "17", "=1+1"}));
    QCOMPARE(Columna(tabla, 1),
             (QStringList{"01/04/2024", "31/03/2024", "05/03/2004", "15/01/2024"}));
    using M = registro::ModeloRecibos;
    QCOMPARE((QStringList{Columna(tabla, 2).at(0), Columna(tabla, 3).at(0), Columna(tabla, 4).at(2),
                          Columna(tabla, M::Destino).at(0), Columna(tabla, M::Cobro).at(0)}),
             (QStringList{"JOSÉ PEÑA", "Cuota de abril", "156,11 €", "Oficina", "Pendiente"}));
    QStringList cabeceras;
    for (int c = 0; c < tabla->model()->columnCount(); ++c)
        cabeceras << tabla->model()->headerData(c, Qt::Horizontal).toString();
    QCOMPARE(cabeceras, (QStringList{"Número", "Fecha", "Pagador", "Concepto", "Total", "Cobro",
                                     "Emitido", "Destino"}));
    // "=1+1" is not a number: no next free number.
    QCOMPARE(Hijo<QLabel>(v.get(), "siguienteNumero")->text(), QString());
}

// Typed key by key after the range 1 January to 31 March 2024 is set, and used as chosen.
void TestRegistroVentana::searchFiltersAsYouType_data() {
    QTest::addColumn<QString>("tecleado");
    QTest::addColumn<bool>("usarDesde");
    QTest::addColumn<bool>("usarHasta");
    QTest::addColumn<QStringList>("numeros");
    // clang-format off
    QTest::newRow("jose finds JOSÉ")              << "jose"         << false << false << QStringList{"19", "18", "=1+1"};
    QTest::newRow("peña finds PEÑA in any case")  << "PeÑa"         << false << false << QStringList{"19", "18", "=1+1"};
    QTest::newRow("a concept")                    << "abril"        << false << false << QStringList{"19"};
    QTest::newRow("the collector, accents typed") << "pérez garcía" << false << false << QStringList{"17"};
    QTest::newRow("the address")                  << "c/ mayor"     << false << false << QStringList{"17", "=1+1"};
    QTest::newRow("the place")                    << "logrono"      << false << false << QStringList{"=1+1"};
    QTest::newRow("nothing matches")              << "zzz"          << false << false << QStringList{};
    QTest::newRow("a range not in use")           << ""             << false << false << QStringList{"19", "18", "17", "=1+1"};
    QTest::newRow("from a date")                  << ""             << true  << false << QStringList{"19", "18", "=1+1"};
    QTest::newRow("from and to a date")           << ""             << true  << true  << QStringList{"18", "=1+1"};
    QTest::newRow("a range and a search")         << "cuota"        << true  << true  << QStringList{"18"};
    // clang-format on
}

void TestRegistroVentana::searchFiltersAsYouType() {
    QFETCH(QString, tecleado);
    QFETCH(bool, usarDesde);
    QFETCH(bool, usarHasta);
    QFETCH(QStringList, numeros);
    auto v = Ventana();
    Hijo<QDateEdit>(v.get(), "desde")->setDate(QDate(2024, 1, 1));
    Hijo<QDateEdit>(v.get(), "hasta")->setDate(QDate(2024, 3, 31));
    Hijo<QCheckBox>(v.get(), "usarDesde")->setChecked(usarDesde);
    Hijo<QCheckBox>(v.get(), "usarHasta")->setChecked(usarHasta);
    Teclear(Hijo<QLineEdit>(v.get(), "buscar"), tecleado);
    QCOMPARE(Columna(Hijo(v.get()), 0), numeros);
}

void TestRegistroVentana::sortsByAColumn() {
    auto v = Ventana();
    auto* tabla = Hijo(v.get());
    tabla->sortByColumn(1, Qt::AscendingOrder); // Fecha
    QCOMPARE(Columna(tabla, 0), (QStringList{"17", "=1+1", "18", "19"}));
    tabla->sortByColumn(4, Qt::DescendingOrder); // Total: 156,11; 50; 50; 0 (a null amount)
    QCOMPARE(Columna(tabla, 0), (QStringList{"17", "19", "18", "=1+1"}));
}

void TestRegistroVentana::scrollingBringsEveryRowOnce() {
    const int mas = 1200;
    {
        Registro reg(Ruta());
        QVERIFY2(reg.AnotarVarios(mas,
                                  [](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
                                      r = sample::Filled();
                                      r.m_Numero = std::to_string(1000 + i);
                                      destino = QStringLiteral("Oficina");
                                      emitido = QDateTime::currentDateTimeUtc();
                                  }),
                 qPrintable(reg.Error()));
    }
    auto v = Ventana();
    QAbstractItemModel* modelo = Hijo(v.get())->model();
    // A server is asked for the first rows only; the rest come as the table scrolls.
    if (registrotest::EnPostgres())
        QVERIFY(modelo->rowCount() < mas);
    for (int vez = 0; vez < 20 && modelo->canFetchMore({}); ++vez)
        modelo->fetchMore({});
    QStringList esperados;
    for (int i = mas - 1; i >= 0; --i)
        esperados << QString::number(1000 + i);
    esperados << QStringList{"19", "18", "17", "=1+1"};
    QCOMPARE(Columna(Hijo(v.get()), 0), esperados);
}

void TestRegistroVentana::buttonsHandTheReceiptAsFirstIssued_data() {
    QTest::addColumn<QString>("accion");
    QTest::newRow("Imprimir…") << QStringLiteral("imprimir");
    QTest::newRow("Guardar como PDF…") << QStringLiteral("guardarPdf");
    QTest::newRow("Copiar al formulario") << QStringLiteral("copiarAlFormulario");
}

// Each button idle until a row is chosen, then handing that receipt, and only to itself.
void TestRegistroVentana::buttonsHandTheReceiptAsFirstIssued() {
    QFETCH(QString, accion);
    QMap<QString, QList<CRecibo>> recibidos;
    const auto a = [&](const char* n) {
        return [&, n](const CRecibo& r) { recibidos[QLatin1String(n)] << r; };
    };
    auto v = Ventana({a("imprimir"), a("guardarPdf"), a("copiarAlFormulario")});
    QAction* boton = v->findChild<QAction*>(accion);
    QVERIFY(!boton->isEnabled());
    boton->trigger();
    QVERIFY(recibidos.isEmpty());
    Hijo(v.get())->selectRow(3); // the awkward one, issued first
    QVERIFY(boton->isEnabled());
    boton->trigger();
    QCOMPARE(recibidos.size(), 1);
    QCOMPARE(recibidos.value(accion).size(), 1);
    QCOMPARE(registrotest::Llamadas(recibidos.value(accion).first()),
             registrotest::Llamadas(Recibos().first()));
}

// Two receipts marked paid by hand: the state column says so, the filter by state shows them
// with their total, and undoing one puts it back among the receipts owed.
void TestRegistroVentana::paymentsByHandFilteredAndTotalled() {
    auto v = Ventana();
    auto* tabla = Hijo(v.get());
    auto* barra = Hijo<registro::BarraCobros>(v.get(), "barraCobros");
    auto* estado = Hijo<QComboBox>(v.get(), "estadoCobro");
    auto* total = Hijo<QLabel>(v.get(), "totalFiltro");
    QVERIFY(barra != nullptr && estado != nullptr && total != nullptr);
    tabla->selectRow(0); // 19 and 18, José Peña's, 50,00 € each
    tabla->selectionModel()->select(tabla->model()->index(1, 0),
                                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QString error;
    QVERIFY2(barra->MarcarCobrado(QDate(2024, 4, 2), error), qPrintable(error));
    QCOMPARE(Columna(tabla, registro::ModeloRecibos::Cobro),
             (QStringList{"Cobrado", "Cobrado", "Pendiente", "Pendiente"}));
    estado->setCurrentIndex(estado->findText(QStringLiteral("Cobrado")));
    QCOMPARE(Columna(tabla, 0), (QStringList{"19", "18"}));
    QCOMPARE(total->text(), QStringLiteral("2 recibos, total 100,00 €"));

    tabla->selectRow(0);
    QVERIFY2(barra->DeshacerCobro(error), qPrintable(error));
    QCOMPARE(Columna(tabla, 0), (QStringList{"18"}));
    QCOMPARE(total->text(), QStringLiteral("1 recibo, total 50,00 €"));
    estado->setCurrentIndex(estado->findText(QStringLiteral("Pendientes de cobro")));
    QCOMPARE(Columna(tabla, 0), (QStringList{"19", "17", "=1+1"}));
}

// "Devoluciones del banco…" with a report of another register's remittance: nothing applied,
// each entry named with its reason; and a file that is no such report, refused by name.
void TestRegistroVentana::bankReportShowsWhatWasNotApplied() {
    bool cambios = true;
    std::unique_ptr<QDialog> ventana(registro::MostrarImportacion(
        Ruta(), QStringLiteral(TALVERO_SEPA_DATOS "/informes/rechazos-pain.002.001.03.xml"),
        nullptr, &cambios));
    QCOMPARE(ventana->objectName(), QStringLiteral("resultadoDevoluciones"));
    QVERIFY(!cambios);
    QVERIFY(Hijo<QLabel>(ventana.get(), "resumen")
                ->text()
                .endsWith(QStringLiteral(": 0 aplicadas, 0 ya aplicadas, 3 no aplicadas.")));
    const QStringList lineas =
        Hijo<QPlainTextEdit>(ventana.get(), "noAplicadas")->toPlainText().split(QLatin1Char('\n'));
    QCOMPARE(lineas.size(), 3);
    QVERIFY2(lineas.front().endsWith(QStringLiteral(
                 "la remesa «R20260406093000000000AZZ01K7Q2» no es de este registro")),
             qPrintable(lineas.front()));

    ventana.reset(registro::MostrarImportacion(
        Ruta(), QStringLiteral(TALVERO_SEPA_DATOS "/remesa-pain.008.001.08.xml"), nullptr));
    QVERIFY(Hijo<QLabel>(ventana.get(), "resumen")
                ->text()
                .contains(QStringLiteral("no es un informe de devoluciones")));
    QVERIFY(Hijo<QPlainTextEdit>(ventana.get(), "noAplicadas") == nullptr);
}

void TestRegistroVentana::refreshShowsAReceiptJustRecorded() {
    auto v = Ventana();
    auto* tabla = Hijo(v.get());
    // The print path records through a store of its own, then tells the window.
    QVERIFY(Ejecutar(QStringLiteral("UPDATE recibos SET numero = '0020' WHERE numero = '=1+1'")));
    QVERIFY(Registro(Ruta()).Anotar(sample::Filled(), QStringLiteral("/tmp/17.pdf")));
    QCOMPARE(Columna(tabla, 0).size(), 4);
    v->Refrescar();
    QCOMPARE(Columna(tabla, 0).size(), 5);
    QCOMPARE(Columna(tabla, registro::ModeloRecibos::Destino).first(),
             QStringLiteral("/tmp/17.pdf"));
    QCOMPARE(Hijo<QLabel>(v.get(), "siguienteNumero")->text(),
             QStringLiteral("Siguiente número libre: 0021"));
}

void TestRegistroVentana::amountEditedByHandIsUnknownAndNotReprinted() {
    SOLO_SQLITE();
    QVERIFY(Ejecutar(
        QStringLiteral("UPDATE recibos SET total = '50,00', importe1 = '50,00' WHERE id = 4")));
    int impresos = 0;
    auto v = Ventana({[&](const CRecibo&) { ++impresos; }, {}, {}});
    auto* tabla = Hijo(v.get());
    QCOMPARE(Columna(tabla, 4).first(), QStringLiteral("¿?"));
    tabla->selectRow(0);
    QString aviso;
    QTimer::singleShot(0, v.get(), [&] {
        if (auto* caja = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            aviso = caja->text();
            caja->close();
        }
    });
    v->findChild<QAction*>(QStringLiteral("imprimir"))->trigger();
    QVERIFY2(aviso.contains(QStringLiteral("columna importe1")), qPrintable(aviso));
    QCOMPARE(impresos, 0);
}

void TestRegistroVentana::csvField_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("campo");
    // clang-format off
    QTest::newRow("plain text as is")            << "ZARAGOZA"          << "ZARAGOZA";
    QTest::newRow("a comma needs no quotes")     << "12,5"              << "12,5";
    QTest::newRow("a semicolon is quoted")       << "a;b"               << "\"a;b\"";
    QTest::newRow("quotes are doubled")          << "el \"bueno\""      << "\"el \"\"bueno\"\"\"";
    QTest::newRow("a line break is quoted")      << "uno\ndos"          << "\"uno\ndos\"";
    QTest::newRow("a carriage return is quoted") << "uno\rdos"          << "\"uno\rdos\"";
    QTest::newRow("leading = gets an apostrophe") << "=SUMA(A1)"        << "'=SUMA(A1)";
    QTest::newRow("leading + gets an apostrophe") << "+34"              << "'+34";
    QTest::newRow("leading - gets an apostrophe") << "-5"               << "'-5";
    QTest::newRow("leading @ gets an apostrophe") << "@x"               << "'@x";
    QTest::newRow("apostrophe then quoting")     << "=1;2"              << "\"'=1;2\"";
    QTest::newRow("an = inside is harmless")     << "a=b"               << "a=b";
    QTest::newRow("leading tab gets an apostrophe") << "\t=1+1"         << "'\t=1+1";
    QTest::newRow("leading CR gets one, quoted") << "\r=1"              << "\"'\r=1\"";
    QTest::newRow("= after blanks gets one")     << "  =1"              << "'  =1";
    QTest::newRow("empty stays empty")           << ""                  << "";
    // clang-format on
}

void TestRegistroVentana::csvField() {
    QFETCH(QString, texto);
    QFETCH(QString, campo);
    QCOMPARE(registro::CampoCsv(texto), campo);
}

void TestRegistroVentana::csvEuros_data() {
    QTest::addColumn<qint64>("diezmilesimas");
    QTest::addColumn<QString>("euros");
    // clang-format off
    QTest::newRow("zero")                          << qint64(0)       << "0,00";
    QTest::newRow("156,1056 rounds to 156,11")     << qint64(1561056) << "156,11";
    QTest::newRow("0,005 rounds up, away from 0")  << qint64(50)      << "0,01";
    QTest::newRow("0,0049 rounds down")            << qint64(49)      << "0,00";
    QTest::newRow("-23,184 keeps its sign")        << qint64(-231840) << "-23,18";
    QTest::newRow("-0,005 rounds away from zero")  << qint64(-50)     << "-0,01";
    QTest::newRow("-0,0004 is no negative zero")   << qint64(-4)      << "0,00";
    QTest::newRow("no thousands points")           << qint64(12345678900) << "1234567,89";
    QTest::newRow("the most negative amount")      << std::numeric_limits<qint64>::min() << "-922337203685477,58";
    QTest::newRow("the largest amount")            << std::numeric_limits<qint64>::max() << "922337203685477,58";
    // clang-format on
}

void TestRegistroVentana::csvEuros() {
    QFETCH(qint64, diezmilesimas);
    QFETCH(QString, euros);
    QCOMPARE(registro::EurosCsv(diezmilesimas), euros);
}

void TestRegistroVentana::exportWritesTheRowsShownForPython() {
    auto v = Ventana();
    Teclear(Hijo<QLineEdit>(v.get(), "buscar"), QStringLiteral("peña"));
    const QString csv = dir_->filePath(QStringLiteral("trimestre.csv"));
    QString error;
    QVERIFY2(v->ExportarA(csv, error), qPrintable(error));

    QVERIFY(Leer(csv).startsWith("\xEF\xBB\xBF"));
    const QJsonArray filas = LeerConPython(csv);
    QCOMPARE(filas.size(), 4); // the header and the three rows shown
    const QStringList cabecera = Fila(filas, 0);
    QCOMPARE(cabecera.mid(0, 5),
             (QStringList{"Número", "Fecha", "Localidad", "Vencimiento", "Pagador"}));
    const auto campos = [&](int fila, const QStringList& titulos) {
        QStringList l;
        for (const QString& t : titulos)
            l << Fila(filas, fila).value(cabecera.indexOf(t));
        return l;
    };
    QCOMPARE(campos(1, {"Número", "Fecha", "Importe 1", "Total"}),
             (QStringList{"19", "01/04/2024", "50,00", "50,00"}));
    // The awkward receipt, every value intact; Importe 3 null and Importe 4 invalid: empty.
    QCOMPARE(campos(3, {"Número", "Fecha", "Pagador", "Pagador (2ª línea)", "Cobrador",
                        "Cobrador (2ª línea)", "Concepto 1", "Concepto 3", "Importe 1", "Importe 3",
                        "Importe 4", "IRPF", "% IVA", "Destino", "Relleno"}),
             (QStringList{"'=1+1", "15/01/2024", "PEÑA; \"LA ALEGRÍA\"", "'+34 976 000 000",
                          "'-JOSÉ-", "'@usuario", "Primera línea\nsegunda línea",
                          "Coma, punto y coma; comillas \"dobles\"", "120,00", "", "", "-23,18",
                          "16", "Oficina", "SOLIDO"}));
}

void TestRegistroVentana::commandLine_data() {
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<int>("salida");
    QTest::addColumn<QString>("dice");        // on standard output or error
    QTest::addColumn<QStringList>("numeros"); // in the CSV, when one is written
    const QString csv = QStringLiteral("@CSV@");
    // clang-format off
    QTest::newRow("--help lists the options")     << QStringList{"--help"} << 0 << "--exportar-registro" << QStringList{};
    QTest::newRow("export everything")            << QStringList{"--exportar-registro", csv} << 0 << "4 recibos exportados" << QStringList{"19", "18", "17", "'=1+1"};
    QTest::newRow("export a quarter")             << QStringList{"--exportar-registro", csv, "--desde", "2024-01-01", "--hasta", "2024-03-31"} << 0 << "2 recibos exportados" << QStringList{"18", "'=1+1"};
    QTest::newRow("options with =")               << QStringList{"--exportar-registro=" + csv, "--desde=2024-04-01"} << 0 << "1 recibo exportado" << QStringList{"19"};
    QTest::newRow("a date that is not valid")     << QStringList{"--exportar-registro", csv, "--desde", "2024-02-30"} << 2 << "no es válida" << QStringList{};
    QTest::newRow("a missing file name")          << QStringList{"--exportar-registro"} << 2 << "falta el valor" << QStringList{};
    QTest::newRow("an unknown option")            << QStringList{"--exportar-registro", csv, "--todo"} << 2 << "opción desconocida" << QStringList{};
    QTest::newRow("range the wrong way round")    << QStringList{"--exportar-registro", csv, "--desde", "2024-05-01", "--hasta", "2024-01-01"} << 2 << "posterior" << QStringList{};
    QTest::newRow("an unwritable file")           << QStringList{"--exportar-registro", "/proc/no/existe.csv"} << 1 << "no se puede escribir /proc/no/existe.csv: la carpeta no existe." << QStringList{};
    QTest::newRow("an option as the file name")   << QStringList{"--exportar-registro", "--hasta"} << 2 << "falta el valor de --exportar-registro" << QStringList{};
    QTest::newRow("-h as the file name")          << QStringList{"--exportar-registro", "-h"} << 2 << "falta el valor de --exportar-registro" << QStringList{};
    QTest::newRow("an empty date")                << QStringList{"--exportar-registro", csv, "--desde="} << 2 << "falta el valor de --desde." << QStringList{};
    QTest::newRow("a typo of the option")         << QStringList{"--exportar", csv} << 2 << "opción desconocida «--exportar». Pruebe «talvero --help».\nUso: talvero" << QStringList{};
    QTest::newRow("a date range alone")           << QStringList{"--desde", "2024-01-01"} << 2 << "solo valen con --exportar-registro" << QStringList{};
    QTest::newRow("the same option twice")        << QStringList{"--exportar-registro", csv, "--exportar-registro=" + csv} << 2 << "más de una vez" << QStringList{};
    // --- who has paid: every receipt recorded here is owed, and none went to the bank
    QTest::newRow("debts today")                  << QStringList{"--pendientes", csv} << 0 << "4 recibos debidos" << QStringList{"19", "18", "17", "'=1+1"};
    QTest::newRow("debts before they were issued") << QStringList{"--pendientes", csv, "--hasta", "2020-01-01"} << 0 << "0 recibos debidos el 01/01/2020" << QStringList{};
    QTest::newRow("debts on a day that is not one") << QStringList{"--pendientes", csv, "--hasta", "2024-02-30"} << 2 << "no es válida" << QStringList{};
    QTest::newRow("a report of another register") << QStringList{"--importar-devoluciones", TALVERO_SEPA_DATOS "/informes/rechazos-pain.002.001.03.xml"} << 1 << "0 aplicadas, 0 ya aplicadas, 3 no aplicadas" << QStringList{};
    QTest::newRow("a report that is not there")  << QStringList{"--importar-devoluciones", "/proc/no/existe.xml"} << 2 << "No existe el archivo «/proc/no/existe.xml»." << QStringList{};
    QTest::newRow("a remittance, not a report")   << QStringList{"--importar-devoluciones", TALVERO_SEPA_DATOS "/remesa-pain.008.001.08.xml"} << 2 << "no es un informe de devoluciones" << QStringList{};
    QTest::newRow("a toolkit option goes along")  << QStringList{"--exportar-registro", csv, "--style", "fusion"} << 0 << "4 recibos exportados" << QStringList{"19", "18", "17", "'=1+1"};
    // clang-format on
}

void TestRegistroVentana::commandLine() {
    SOLO_SQLITE();
    QFETCH(QStringList, argumentos);
    QFETCH(int, salida);
    QFETCH(QString, dice);
    QFETCH(QStringList, numeros);
    const QString csv = dir_->filePath(QStringLiteral("registro.csv"));
    for (QString& a : argumentos)
        a.replace(QStringLiteral("@CSV@"), csv);

    const auto [codigo, texto] = Talvero(argumentos, dir_->filePath(QStringLiteral("datos")));
    QVERIFY2(texto.contains(dice), qPrintable(texto));
    QCOMPARE(codigo, salida);
    if (salida == 0 && !argumentos.first().startsWith(QLatin1String("--help"))) {
        const QJsonArray filas = LeerConPython(csv);
        QStringList leidos;
        for (int i = 1; i < filas.size(); ++i)
            leidos << Fila(filas, i).first();
        QCOMPARE(leidos, numeros);
    } else if (salida != 0) {
        QVERIFY(!QFile::exists(csv));
    }
}

void TestRegistroVentana::exportChangesNothingButItsTarget_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<int>("salida");
    QTest::addColumn<QString>("dice");
    // clang-format off
    QTest::newRow("a FIFO is refused")              << "fifo"      << 2 << "no es un archivo normal";
    QTest::newRow("a device is refused")            << "/dev/null" << 2 << "no es un archivo normal";
    QTest::newRow("the register by its own name")   << "registro"  << 2 << "es el propio registro";
    QTest::newRow("the register by a hard link")    << "enlace"    << 2 << "es el propio registro";
    QTest::newRow("a full disk keeps the old copy") << "lleno"     << 1 << "supera el tamaño máximo";
    QTest::newRow("a damaged register")             << "roto"      << 1 << "no es un registro de recibos";
    QTest::newRow("no register at all")             << "ausente"   << 1 << "no hay ningún registro";
    QTest::newRow("an amount edited as text")       << "UPDATE recibos SET importe1 = '12,50' WHERE id = 4" << 1 << "el recibo 4 tiene en la columna importe1";
    QTest::newRow("an amount edited as a real")     << "UPDATE recibos SET importe_iva = 1.5e19 WHERE id = 2" << 1 << "el recibo 2 tiene en la columna importe_iva";
    // clang-format on
}

void TestRegistroVentana::exportChangesNothingButItsTarget() {
    SOLO_SQLITE();
    QFETCH(QString, caso);
    QFETCH(int, salida);
    QFETCH(QString, dice);
    const QString carpeta = QFileInfo(Ruta()).absolutePath();
    QString destino = dir_->filePath(QStringLiteral("copia.csv"));
    QFile copia(destino);
    QVERIFY(copia.open(QIODevice::WriteOnly) && copia.write("la copia buena\r\n") > 0);
    copia.close();
    QString argumento = destino;
    rlim_t limite = 0;
    if (caso == QLatin1String("fifo")) {
        destino = argumento = dir_->filePath(QStringLiteral("tuberia"));
        QCOMPARE(::mkfifo(QFile::encodeName(destino).constData(), 0600), 0);
    } else if (caso.startsWith(QLatin1Char('/'))) {
        destino = argumento = caso;
    } else if (caso == QLatin1String("registro")) {
        destino = Ruta();
        argumento = QFileInfo(Ruta()).fileName(); // run in the register's own folder
    } else if (caso == QLatin1String("enlace")) {
        destino = argumento = dir_->filePath(QStringLiteral("enlace.csv"));
        QCOMPARE(
            ::link(QFile::encodeName(Ruta()).constData(), QFile::encodeName(destino).constData()),
            0);
    } else if (caso == QLatin1String("lleno")) {
        limite = 512; // less than the four receipts take
    } else if (caso == QLatin1String("roto")) {
        QFile f(Ruta());
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(QByteArray(8192, 'x'));
    } else if (caso == QLatin1String("ausente")) {
        QVERIFY(QFile::remove(Ruta()));
    } else {
        QVERIFY(Ejecutar(caso));
    }
    const QByteArray registro = Leer(Ruta());
    const mode_t tipo = Tipo(destino);
    const QByteArray antes = tipo == S_IFREG ? Leer(destino) : QByteArray();

    const Salida s = Talvero({QStringLiteral("--exportar-registro"), argumento},
                             dir_->filePath(QStringLiteral("datos")), carpeta, limite);
    QVERIFY2(s.texto.contains(dice), qPrintable(s.texto));
    QCOMPARE(s.codigo, salida);
    QCOMPARE(Tipo(destino), tipo);
    if (tipo == S_IFREG)
        QCOMPARE(Leer(destino), antes);
    // The register is only read: not created, set aside, changed or given journal files.
    QCOMPARE(QFileInfo::exists(Ruta()), caso != QLatin1String("ausente"));
    QCOMPARE(Leer(Ruta()), registro);
    QCOMPARE(QDir(carpeta).entryList(QDir::Files | QDir::NoDotAndDotDot),
             QFileInfo::exists(Ruta()) ? QStringList{QStringLiteral("recibos.sqlite")}
                                       : QStringList{});
}

QTEST_MAIN(TestRegistroVentana)
#include "test_registro_ventana.moc"
