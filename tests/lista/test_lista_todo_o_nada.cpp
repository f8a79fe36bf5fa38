// A list's files and the register never disagree, through the real program: two outputs on
// one file, the register as an output, a locked register, two programs writing the same
// remittance or drawing the same numbers at once, and a program killed at any moment. A
// remittance is at its name exactly when the register holds its receipts with its MsgId; so is
// a remittance of returned receipts collected again, with its fee receipts.
#include "EjecutarTalvero.h"
#include "SampleAdeudos.h"
#include "platform/SettingsStore.h"
#include "register/Registro.h"
#include "sepa/AjustesAcreedor.h"
#include "sepa/Calendario.h"
#include "sepa/EscribirRemesa.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

#include <functional>
#include <initializer_list>
#include <memory>

namespace {

using Salida = SalidaTalvero;

// The MsgId of a remittance file, or empty when there is none.
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

// The rows of a kill table: one for each moment, as a share of a whole run.
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
    // Receipts in the register: "remesa" (or "-") for each.
    QStringList Remesas();
    QStringList Archivos();
    // Launches the program with `argumentos` and kills it at `momento` of a whole run's time,
    // which the first call measures on a run of its own, whose traces `deshacer` then removes;
    // then runs it again on `lista`, which finishes what was complete or takes back what was not.
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
    for (QString* t : {&dice})
        t->replace(QStringLiteral("<dir>"), dir_->path())
            .replace(QStringLiteral("<registro>"), registro);
    for (QString& s : salidas)
        s.replace(QStringLiteral("<registro>"), registro);
    QDir(dir_->path()).mkdir(QStringLiteral("sub"));
    const QString lista = Lista(QStringLiteral("lista.csv"), 3);

    // Another program holds the register's write lock for longer than the program waits.
    QSqlDatabase db;
    const bool bloqueado = salidas.removeAll(QStringLiteral("bloqueado")) > 0;
    if (bloqueado) {
        QVERIFY(registro::Registro(registro).Abrir()); // a register in use for some time
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
    QCOMPARE(QDir(dir_->filePath(QStringLiteral("sub"))).isEmpty(), true);
    QCOMPARE(Remesas(), QStringList());
}

void TestListaTodoONada::dosProgramasUnaRemesa() {
    const int n = 1500;
    QProcess a, b;
    LanzarTalvero(a, dir_->path(),
                  {"--emitir-lista", Lista(QStringLiteral("a.csv"), n), "--remesa", "r.xml",
                   "--fecha-cobro", cobro_});
    LanzarTalvero(b, dir_->path(),
                  {"--emitir-lista", Lista(QStringLiteral("b.csv"), n, n), "--remesa", "r.xml",
                   "--fecha-cobro", cobro_});
    const Salida sa = TerminoDeTalvero(a), sb = TerminoDeTalvero(b);
    // One wins; the other fails, whether it saw the file before it began or only at the end.
    QCOMPARE(QList<int>({sa.estado, sb.estado}).count(0), 1);
    QVERIFY2(sa.estado + sb.estado >= 1, qPrintable(sa.errores + sb.errores));
    const QString msgId = MsgIdDe(dir_->filePath(QStringLiteral("r.xml")));
    QVERIFY(!msgId.isEmpty());
    QCOMPARE(Remesas(), QStringList(n, msgId));
    QCOMPARE(Archivos(), (QStringList{"a.csv", "b.csv", "r.xml"}));
}

void TestListaTodoONada::dosProgramasNoCompartenNumeros() {
    const int n = 300;
    QProcess a, b;
    LanzarTalvero(a, dir_->path(),
                  {"--emitir-lista", Lista(QStringLiteral("a.csv"), n), "--pdf", "a.pdf"});
    LanzarTalvero(b, dir_->path(),
                  {"--emitir-lista", Lista(QStringLiteral("b.csv"), n, n), "--pdf", "b.pdf"});
    const Salida sa = TerminoDeTalvero(a), sb = TerminoDeTalvero(b);
    QVERIFY2(sa.estado == 0 || sb.estado == 0, qPrintable(sa.errores + sb.errores));
    for (const Salida* s : {&sa, &sb})
        QVERIFY2(s->estado == 0 || s->estado == 1, qPrintable(s->errores));
    // A run that failed left nothing: no PDF, no row.
    QCOMPARE(QFileInfo::exists(dir_->filePath(QStringLiteral("a.pdf"))), sa.estado == 0);
    QCOMPARE(QFileInfo::exists(dir_->filePath(QStringLiteral("b.pdf"))), sb.estado == 0);
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
    const QString lista = Lista(QStringLiteral("lista.csv"), n);
    const QStringList argumentos{"--emitir-lista", lista,   "--pdf",         "marzo.pdf",
                                 "--remesa",       "r.xml", "--fecha-cobro", cobro_};
    static qint64 duracion = 0;
    MatarEnMomento(lista, argumentos, momento, duracion, [&] {
        for (const QString& f : {QStringLiteral("marzo.pdf"), QStringLiteral("r.xml")})
            QFile::remove(dir_->filePath(f));
        QDir(dir_->filePath(QStringLiteral("datos"))).removeRecursively();
    });
    const QString msgId = MsgIdDe(dir_->filePath(QStringLiteral("r.xml")));
    const bool todo = QFileInfo::exists(dir_->filePath(QStringLiteral("marzo.pdf")));
    QCOMPARE(!msgId.isEmpty(), todo);
    QCOMPARE(Remesas(), todo ? QStringList(n, msgId) : QStringList());
    QCOMPARE(Archivos(),
             todo ? (QStringList{"lista.csv", "marzo.pdf", "r.xml"}) : (QStringList{"lista.csv"}));
}

// Fewer moments than a list's: each row first emits and rejects a whole list, and the
// moments that matter are the start, the middle and the very end of the writing.
void TestListaTodoONada::devueltosMuertoEnCualquierMomento_data() {
    MomentosDeMuerte({0.2, 0.6, 0.9, 0.99});
}

// A list debited by r.xml, every debit rejected by the bank; its receipts collected again in
// otra.xml, with the fee charged, by a program killed at any moment. After the next run,
// either otra.xml is there and the register holds the receipts and the fee receipts in it, or
// there is no otra.xml and the register is as it was: the receipts returned, in r.xml.
void TestListaTodoONada::devueltosMuertoEnCualquierMomento() {
    QFETCH(double, momento);
    const int n = 120;
    const QString lista = Lista(QStringLiteral("lista.csv"), n);
    QCOMPARE(EjecutarTalvero(dir_->path(), {"--emitir-lista", lista, "--remesa", "r.xml",
                                            "--fecha-cobro", cobro_})
                 .estado,
             0);
    const QString primera = MsgIdDe(dir_->filePath(QStringLiteral("r.xml")));
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
                   QStringLiteral("SELECT referencia, centimos, acreedor, mandato FROM "
                                  "remesas_recibo ORDER BY id"),
                   [](const QSqlQuery& q) {
                       return QStringLiteral(
                                  "<TxInfAndSts><OrgnlEndToEndId>%1</OrgnlEndToEndId><TxSts>RJCT"
                                  "</TxSts><StsRsnInf><Rsn><Cd>AM04</Cd></Rsn></StsRsnInf>"
                                  "<OrgnlTxRef><Amt><InstdAmt Ccy=\"EUR\">%2.%3</InstdAmt></Amt>"
                                  "<CdtrSchmeId><Id><PrvtId><Othr><Id>%4</Id></Othr></PrvtId></Id>"
                                  "</CdtrSchmeId><MndtRltdInf><MndtId>%5</MndtId></MndtRltdInf>"
                                  "</OrgnlTxRef></TxInfAndSts>")
                           .arg(q.value(0).toString())
                           .arg(q.value(1).toLongLong() / 100)
                           .arg(q.value(1).toLongLong() % 100, 2, 10, QLatin1Char('0'))
                           .arg(q.value(2).toString(), q.value(3).toString());
                   })
                   .join(QString()) +
               QStringLiteral("</OrgnlPmtInfAndSts></CstmrPmtStsRpt></Document>");
    QFile f(dir_->filePath(QStringLiteral("informe.xml")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(informe.toUtf8());
    f.close();
    const Salida importada =
        EjecutarTalvero(dir_->path(), {"--importar-devoluciones", "informe.xml"});
    QVERIFY2(importada.estado == 0, qPrintable(importada.errores));

    const QStringList argumentos{"--remesa-devueltos",  "otra.xml", "--fecha-cobro", cobro_,
                                 "--gastos-devolucion", "3,50"};
    // The run that measures puts the register back as it was.
    const QString registro = RegistroDeTalvero(dir_->path());
    const QString copia = registro + QStringLiteral(".copia");
    static qint64 duracion = 0;
    if (duracion == 0)
        QFile::copy(registro, copia);
    MatarEnMomento(lista, argumentos, momento, duracion, [&] {
        for (const char* sufijo : {"", "-wal", "-shm"})
            QFile::remove(registro + QLatin1String(sufijo));
        QFile::rename(copia, registro);
        QFile::remove(dir_->filePath(QStringLiteral("otra.xml")));
    });

    const QString otra = MsgIdDe(dir_->filePath(QStringLiteral("otra.xml")));
    const bool todo = !otra.isEmpty();
    QCOMPARE(Remesas(), todo ? QStringList(2 * n, otra) : QStringList(n, primera));
    // Rows of remittances, changes of state, and pending lists.
    const QStringList cuentas = FilasDelRegistro(
        dir_->path(),
        QStringLiteral("SELECT (SELECT count(*) FROM remesas_recibo), (SELECT count(*) FROM "
                       "cambios_cobro), (SELECT count(*) FROM lotes WHERE pendiente IS NOT NULL)"),
        [](const QSqlQuery& q) {
            return QStringLiteral("%1 %2 %3")
                .arg(q.value(0).toInt())
                .arg(q.value(1).toInt())
                .arg(q.value(2).toInt());
        });
    QCOMPARE(cuentas, QStringList(todo ? QStringLiteral("%1 %2 0").arg(3 * n).arg(4 * n)
                                       : QStringLiteral("%1 %2 0").arg(n).arg(2 * n)));
    QStringList archivos{"informe.xml", "lista.csv", "r.xml"};
    if (todo)
        archivos.insert(2, QStringLiteral("otra.xml"));
    QCOMPARE(Archivos(), archivos);
}

QTEST_MAIN(TestListaTodoONada)
#include "test_lista_todo_o_nada.moc"
