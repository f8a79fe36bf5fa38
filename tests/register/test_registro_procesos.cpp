// Two copies of the program writing one register at once, and one killed while writing:
// real processes (this test program started again as a helper) on a real file.
#include "SampleRecords.h"
#include "register/Registro.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The helper: records `cuantos` receipts numbered from `desde`, one transaction each, and
// prints "anotado N" after each commit. Exit status 0 when every one was recorded.
int Anotador(const char* ruta, int desde, int cuantos) {
    registro::Registro reg(QString::fromLocal8Bit(ruta));
    for (int i = 0; i < cuantos; ++i) {
        if (!reg.Anotar(sample::Varied(std::uint64_t(desde + i)),
                        QStringLiteral("Proceso %1").arg(desde))) {
            std::fprintf(stderr, "error: %s\n", qPrintable(reg.Error()));
            return 1;
        }
        std::printf("anotado %d\n", i + 1);
        std::fflush(stdout);
    }
    return 0;
}

QProcess* Lanzar(QObject* padre, const QString& ruta, int desde, int cuantos) {
    auto* p = new QProcess(padre);
    p->setProgram(QCoreApplication::applicationFilePath());
    p->setArguments(
        {QStringLiteral("--anotador"), ruta, QString::number(desde), QString::number(cuantos)});
    p->start();
    return p;
}

} // namespace

class TestRegistroProcesos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void twoProgramsRecordingAtOnceLoseNothing();
    void programKilledWhileRecordingLeavesEveryCompletedReceipt();
};

void TestRegistroProcesos::twoProgramsRecordingAtOnceLoseNothing() {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("recibos.sqlite"));
    // Both start on a file that does not exist yet: creating it is part of the race.
    QProcess* a = Lanzar(this, ruta, 0, 500);
    QProcess* b = Lanzar(this, ruta, 100000, 500);
    for (QProcess* p : {a, b}) {
        QVERIFY(p->waitForFinished(240000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 p->readAllStandardError().constData());
    }
    registro::Registro reg(ruta);
    QVERIFY(reg.Abrir());
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("SELECT count(*), count(DISTINCT numero), "
                                  "sum(destino = 'Proceso 0'), sum(destino = 'Proceso 100000') "
                                  "FROM recibos")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toInt(), 1000);
    QCOMPARE(q.value(1).toInt(), 1000);
    QCOMPARE(q.value(2).toInt(), 500);
    QCOMPARE(q.value(3).toInt(), 500);
}

void TestRegistroProcesos::programKilledWhileRecordingLeavesEveryCompletedReceipt() {
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("recibos.sqlite"));
    QProcess* p = Lanzar(this, ruta, 0, 1000000);
    // Let it commit a good number, then kill it without warning, mid-stream.
    int anotados = 0;
    QElapsedTimer reloj;
    reloj.start();
    while (anotados < 150 && reloj.elapsed() < 60000) {
        p->waitForReadyRead(1000);
        while (p->canReadLine()) {
            const QByteArray linea = p->readLine().trimmed();
            if (linea.startsWith("anotado "))
                anotados = linea.mid(8).toInt();
        }
    }
    p->kill();
    QVERIFY(p->waitForFinished(10000));
    QVERIFY(anotados >= 150);

    registro::Registro reg(ruta);
    QVERIFY2(reg.Abrir(), qPrintable(reg.Error()));
    QVERIFY(reg.Apartado().isEmpty());
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("PRAGMA integrity_check")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ok"));
    QVERIFY(q.exec(QStringLiteral("SELECT count(*), max(id) FROM recibos")) && q.next());
    // Every receipt it reported recorded is there (more may have committed before the
    // kill), and the ids have no holes.
    const int filas = q.value(0).toInt();
    QVERIFY2(filas >= anotados, qPrintable(QStringLiteral("%1 < %2").arg(filas).arg(anotados)));
    QCOMPARE(q.value(1).toInt(), filas);
    // Each one whole: it reads back as the receipt that was sent.
    for (int id = 1; id <= filas; ++id) {
        const std::optional<CRecibo> r = reg.Cargar(id);
        QVERIFY(r.has_value());
        const CRecibo enviado = sample::Varied(std::uint64_t(id - 1));
        QCOMPARE(r->m_Numero, enviado.m_Numero);
        QCOMPARE(r->m_Concepto1, enviado.m_Concepto1);
        QCOMPARE(r->m_ImporteIva, enviado.m_ImporteIva);
    }
    // And the register takes new receipts.
    QVERIFY(reg.Anotar(sample::Filled(), QStringLiteral("Oficina")));
}

int main(int argc, char** argv) {
    if (argc == 5 && std::strcmp(argv[1], "--anotador") == 0) {
        QCoreApplication app(argc, argv);
        return Anotador(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    }
    QCoreApplication app(argc, argv);
    TestRegistroProcesos test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_registro_procesos.moc"
