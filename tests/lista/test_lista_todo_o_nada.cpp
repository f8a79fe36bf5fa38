// A list's files and the register never disagree, through the real program: outputs refused,
// two programs at once, a program killed at any moment (also collecting returned receipts again).
#include "EjecutarTalvero.h"
#include "SampleAdeudos.h"
#include "platform/SettingsStore.h"
#include "register/Registro.h"
#include "sepa/AjustesAcreedor.h"
#include "sepa/Calendario.h"
#include "sepa/EscribirRemesa.h"

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <functional>
#include <initializer_list>
#include <memory>

namespace {

using Salida = SalidaTalvero;

// The MsgId of a remittance file; empty without the file.
QString MsgIdDe(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&f);
    while (xml.readNextStartElement() || !xml.atEnd())
        if (xml.isStartElement() && xml.name() == QLatin1String("MsgId"))
            return xml.readElementText();
    return QStringLiteral("(sin MsgId)");
}

// A kill table: one row per moment, as a share of a whole run.
void MomentosDeMuerte(std::initializer_list<double> momentos) {
    QTest::addColumn<double>("momento");
    for (const double m : momentos)
        QTest::addRow("killed at %d%% of the run", int(m * 100)) << m;
}

} // namespace

class TestListaTodoONada : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void rechazosSinEscribir_data();
    void rechazosSinEscribir();
    void dosProgramasUnaRemesa();
    void dosProgramasNoCompartenNumeros();
    void muertoEnCualquierMomento_data();
    void muertoEnCualquierMomento();
    void devueltosMuertoEnCualquierMomento_data();
    void devueltosMuertoEnCualquierMomento();

private:
    // A list of `n` debited receipts without numbers; its path.
    QString Lista(const QString& nombre, int n, int primerPagador = 0);
    QStringList Remesas(); // each receipt's remittance, or "-"
    QStringList Archivos();
    // Two programs at once, on a.csv and b.csv of `n` receipts each, with `a` and `b` added.
    std::pair<Salida, Salida> DosALaVez(int n, const QStringList& a, const QStringList& b);
    // The program killed at `momento` of a whole run (measured once, its traces then undone by
    // `deshacer`), then run again on `lista` to finish or take back what it left.
    void MatarEnMomento(const QString& lista, const QStringList& argumentos, double momento,
                        qint64& duracion, const std::function<void()>& deshacer);

    std::unique_ptr<QTemporaryDir> dir_;
    QString cobro_;
};

void TestListaTodoONada::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    const sepa::Fecha hoy = sepa::Hoy();
    cobro_ = QString::fromStdString(sepa::TextoIso(sepa::PrimerDiaValido(hoy, hoy)));
    platform::SettingsStore ajustes(AjustesDeTalvero(dir_->path()));
    sepa::EscribirAcreedor(ajustes, sample::AcreedorEjemplo());
    ajustes.Flush();
}

QString TestListaTodoONada::Lista(const QString& nombre, int n, int primerPagador) {
    const QString ruta = dir_->filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    f.write("Pagador;Concepto 1;Importe 1;IBAN;Mandato;Fecha del mandato\n");
    for (int i = primerPagador; i < primerPagador + n; ++i)
        f.write(QStringLiteral("Socio %1;Cuota de marzo;%2,50;%3;M-%1;15/01/2021\n")
                    .arg(i)
                    .arg(10 + i % 90)
                    .arg(QString::fromStdString(sample::IbanFicticio(std::uint64_t(i))))
                    .toUtf8());
    return ruta;
}

QStringList TestListaTodoONada::Remesas() {
    return FilasDelRegistro(dir_->path(),
                            QStringLiteral("SELECT coalesce(remesa, '-') FROM recibos ORDER BY id"),
                            [](const QSqlQuery& q) { return q.value(0).toString(); });
}

QStringList TestListaTodoONada::Archivos() {
    return QDir(dir_->path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

std::pair<Salida, Salida> TestListaTodoONada::DosALaVez(int n, const QStringList& a,
                                                        const QStringList& b) {
    QProcess pa, pb;
    LanzarTalvero(pa, dir_->path(), QStringList{"--emitir-lista", Lista("a.csv", n)} + a);
    LanzarTalvero(pb, dir_->path(), QStringList{"--emitir-lista", Lista("b.csv", n, n)} + b);
    return {TerminoDeTalvero(pa), TerminoDeTalvero(pb)};
}

void TestListaTodoONada::MatarEnMomento(const QString& lista, const QStringList& argumentos,
                                        double momento, qint64& duracion,
                                        const std::function<void()>& deshacer) {
    if (duracion == 0) {
        QElapsedTimer t;
        t.start();
        EjecutarTalvero(dir_->path(), argumentos);
        duracion = t.elapsed();
        deshacer();
    }
    QProcess p;
    LanzarTalvero(p, dir_->path(), argumentos);
    QVERIFY(p.waitForStarted());
    QTest::qWait(int(double(duracion) * momento));
    p.kill();
    p.waitForFinished();
    QCOMPARE(EjecutarTalvero(dir_->path(), {"--emitir-lista", lista, "--comprobar"}).estado, 0);
}

void TestListaTodoONada::rechazosSinEscribir_data() {
    QTest::addColumn<QStringList>("salidas");
    QTest::addColumn<int>("estado");
    QTest::addColumn<QString>("dice");

    QTest::newRow("the PDF and the remittance on one path")
        << QStringList{"--pdf", "marzo", "--remesa", "marzo"} << 2
        << "«<dir>/marzo» se ha indicado para dos salidas a la vez";
    QTest::newRow("the PDF and the remittance on one file by two names")
        << QStringList{"--pdf", "marzo", "--remesa", "./sub/../marzo"} << 2
        << "«<dir>/marzo» se ha indicado para dos salidas a la vez";
    QTest::newRow("the remittance on the register, before there is one")
        << QStringList{"--remesa", "<registro>"} << 2
        << "«<registro>» es el registro de recibos emitidos";
    QTest::newRow("the PDF on the register's journal")
        << QStringList{"--pdf", "<registro>-wal", "--remesa", "r.xml"} << 2
        << "«<registro>-wal» es el registro de recibos emitidos";
    QTest::newRow("a register locked by another program past the wait")
        << QStringList{"--pdf", "marzo.pdf", "--remesa", "r.xml", "bloqueado"} << 1
        << "No se ha emitido ningún recibo: no se pueden anotar en el registro";
}

void TestListaTodoONada::rechazosSinEscribir() {
    QFETCH(QStringList, salidas);
    QFETCH(int, estado);
    QFETCH(QString, dice);
    const QString registro = RegistroDeTalvero(dir_->path());
    dice.replace(QStringLiteral("<dir>"), dir_->path())
        .replace(QStringLiteral("<registro>"), registro);
    for (QString& s : salidas)
        s.replace(QStringLiteral("<registro>"), registro);
    QDir(dir_->path()).mkdir(QStringLiteral("sub"));
    const QString lista = Lista("lista.csv", 3);

    // Another program holds the register's write lock past the program's wait.
    QSqlDatabase db;
    const bool bloqueado = salidas.removeAll(QStringLiteral("bloqueado")) > 0;
    if (bloqueado) {
        QVERIFY(registro::Registro(registro).Abrir());
        db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("otro"));
        db.setDatabaseName(registro);
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral("BEGIN IMMEDIATE")));
    }
    const QStringList antes = Archivos();
    const Salida s = EjecutarTalvero(
        dir_->path(), QStringList{"--emitir-lista", lista, "--fecha-cobro", cobro_} + salidas);
    if (bloqueado) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(QStringLiteral("otro"));
    }
    QVERIFY2(s.errores.contains(dice), qPrintable(s.errores));
    QCOMPARE(s.estado, estado);
    QCOMPARE(Archivos(), antes);
    QCOMPARE(QDir(dir_->filePath("sub")).isEmpty(), true);
    QCOMPARE(Remesas(), QStringList());
}

void TestListaTodoONada::dosProgramasUnaRemesa() {
    const int n = 1500;
    const QStringList remesa{"--remesa", "r.xml", "--fecha-cobro", cobro_};
    const auto [sa, sb] = DosALaVez(n, remesa, remesa);
    // One wins; the other fails, whether it saw the file before it began or only at the end.
    QCOMPARE(QList<int>({sa.estado, sb.estado}).count(0), 1);
    QVERIFY2(sa.estado + sb.estado >= 1, qPrintable(sa.errores + sb.errores));
    const QString msgId = MsgIdDe(dir_->filePath("r.xml"));
    QVERIFY(!msgId.isEmpty());
    QCOMPARE(Remesas(), QStringList(n, msgId));
    QCOMPARE(Archivos(), (QStringList{"a.csv", "b.csv", "r.xml"}));
}

void TestListaTodoONada::dosProgramasNoCompartenNumeros() {
    const int n = 300;
    const auto [sa, sb] = DosALaVez(n, {"--pdf", "a.pdf"}, {"--pdf", "b.pdf"});
    QVERIFY2(sa.estado == 0 || sb.estado == 0, qPrintable(sa.errores + sb.errores));
    for (const Salida* s : {&sa, &sb})
        QVERIFY2(s->estado == 0 || s->estado == 1, qPrintable(s->errores));
    // A run that failed left nothing: no PDF, no row.
    QCOMPARE(QFileInfo::exists(dir_->filePath("a.pdf")), sa.estado == 0);
    QCOMPARE(QFileInfo::exists(dir_->filePath("b.pdf")), sb.estado == 0);
    const QStringList numeros =
        FilasDelRegistro(dir_->path(), QStringLiteral("SELECT numero FROM recibos"),
                         [](const QSqlQuery& q) { return q.value(0).toString(); });
    QCOMPARE(numeros.size(), n * ((sa.estado == 0) + (sb.estado == 0)));
    QCOMPARE(QSet<QString>(numeros.begin(), numeros.end()).size(), numeros.size());
}

void TestListaTodoONada::muertoEnCualquierMomento_data() {
    MomentosDeMuerte({0.05, 0.2, 0.4, 0.6, 0.8, 0.9, 0.95, 0.99});
}

void TestListaTodoONada::muertoEnCualquierMomento() {
    QFETCH(double, momento);
    const int n = 600;
    const QString lista = Lista("lista.csv", n);
    const QStringList argumentos{"--emitir-lista", lista,   "--pdf",         "marzo.pdf",
                                 "--remesa",       "r.xml", "--fecha-cobro", cobro_};
    static qint64 duracion = 0;
    MatarEnMomento(lista, argumentos, momento, duracion, [&] {
        for (const QString& f : {QStringLiteral("marzo.pdf"), QStringLiteral("r.xml")})
            QFile::remove(dir_->filePath(f));
        QDir(dir_->filePath("datos")).removeRecursively();
    });
    const QString msgId = MsgIdDe(dir_->filePath("r.xml"));
    const bool todo = QFileInfo::exists(dir_->filePath("marzo.pdf"));
    QCOMPARE(!msgId.isEmpty(), todo);
    QCOMPARE(Remesas(), todo ? QStringList(n, msgId) : QStringList());
    QCOMPARE(Archivos(),
             todo ? (QStringList{"lista.csv", "marzo.pdf", "r.xml"}) : (QStringList{"lista.csv"}));
}

// Fewer moments: each row first emits and rejects a whole list.
void TestListaTodoONada::devueltosMuertoEnCualquierMomento_data() {
    MomentosDeMuerte({0.2, 0.6, 0.9, 0.99});
}

// Every debit of r.xml rejected, then collected again with a fee in otra.xml by a program
// killed at any moment: after the next run, otra.xml holds them all, or nothing changed.
void TestListaTodoONada::devueltosMuertoEnCualquierMomento() {
    QFETCH(double, momento);
    const int n = 120;
    const QString lista = Lista("lista.csv", n);
    const QStringList remesa{"--emitir-lista", lista, "--remesa", "r.xml", "--fecha-cobro", cobro_};
    QCOMPARE(EjecutarTalvero(dir_->path(), remesa).estado, 0);
    const QString primera = MsgIdDe(dir_->filePath("r.xml"));
    // The bank's report rejecting every debit, as the register says r.xml wrote them.
    QString informe =
        QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document xmlns=\"urn:iso:"
                       "std:iso:20022:tech:xsd:pain.002.001.03\"><CstmrPmtStsRpt><GrpHdr><MsgId>"
                       "B-1</MsgId><CreDtTm>%1T08:00:00</CreDtTm></GrpHdr><OrgnlGrpInfAndSts>"
                       "<OrgnlMsgId>%2</OrgnlMsgId><OrgnlMsgNmId>pain.008.001.08</OrgnlMsgNmId>"
                       "</OrgnlGrpInfAndSts><OrgnlPmtInfAndSts><OrgnlPmtInfId>1</OrgnlPmtInfId>")
            .arg(QDate::currentDate().toString(Qt::ISODate), primera);
    informe += FilasDelRegistro(
                   dir_->path(),
                   QStringLiteral("SELECT referencia, printf('%d.%02d', centimos / 100, centimos "
                                  "% 100), acreedor, mandato FROM remesas_recibo ORDER BY id"),
                   [](const QSqlQuery& q) {
                       return QStringLiteral(
                                  "<TxInfAndSts><OrgnlEndToEndId>%1</OrgnlEndToEndId><TxSts>RJCT"
                                  "</TxSts><StsRsnInf><Rsn><Cd>AM04</Cd></Rsn></StsRsnInf>"
                                  "<OrgnlTxRef><Amt><InstdAmt Ccy=\"EUR\">%2</InstdAmt></Amt>"
                                  "<CdtrSchmeId><Id><PrvtId><Othr><Id>%3</Id></Othr></PrvtId></Id>"
                                  "</CdtrSchmeId><MndtRltdInf><MndtId>%4</MndtId></MndtRltdInf>"
                                  "</OrgnlTxRef></TxInfAndSts>")
                           .arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                                q.value(3).toString());
                   })
                   .join(QString()) +
               QStringLiteral("</OrgnlPmtInfAndSts></CstmrPmtStsRpt></Document>");
    QFile f(dir_->filePath("informe.xml"));
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(informe.toUtf8()) > 0);
    f.close();
    const Salida importada =
        EjecutarTalvero(dir_->path(), {"--importar-devoluciones", "informe.xml"});
    QVERIFY2(importada.estado == 0, qPrintable(importada.errores));

    const QStringList argumentos{"--remesa-devueltos",  "otra.xml", "--fecha-cobro", cobro_,
                                 "--gastos-devolucion", "3,50"};
    const QString registro = RegistroDeTalvero(dir_->path());
    const QString copia = registro + QStringLiteral(".copia");
    static qint64 duracion = 0;
    if (duracion == 0)
        QFile::copy(registro, copia);
    MatarEnMomento(lista, argumentos, momento, duracion, [&] {
        for (const char* sufijo : {"", "-wal", "-shm"})
            QFile::remove(registro + QLatin1String(sufijo));
        QFile::rename(copia, registro);
        QFile::remove(dir_->filePath("otra.xml"));
    });

    const QString otra = MsgIdDe(dir_->filePath("otra.xml"));
    const bool todo = !otra.isEmpty();
    QCOMPARE(Remesas(), todo ? QStringList(2 * n, otra) : QStringList(n, primera));
    // Rows of remittances, changes of state, and pending lists.
    const QStringList cuentas = FilasDelRegistro(
        dir_->path(),
        QStringLiteral("SELECT (SELECT count(*) FROM remesas_recibo) || ' ' || (SELECT count(*) "
                       "FROM cambios_cobro) || ' ' || (SELECT count(*) FROM lotes WHERE "
                       "pendiente IS NOT NULL)"),
        [](const QSqlQuery& q) { return q.value(0).toString(); });
    QCOMPARE(cuentas, QStringList(todo ? QStringLiteral("%1 %2 0").arg(3 * n).arg(4 * n)
                                       : QStringLiteral("%1 %2 0").arg(n).arg(2 * n)));
    QCOMPARE(Archivos(), todo ? (QStringList{"informe.xml", "lista.csv", "otra.xml", "r.xml"})
                              : (QStringList{"informe.xml", "lista.csv", "r.xml"}));
}

QTEST_MAIN(TestListaTodoONada)
#include "test_lista_todo_o_nada.moc"
