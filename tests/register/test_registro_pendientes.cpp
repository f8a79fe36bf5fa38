// A list recorded before its files are in place, as a program killed at each step leaves it,
// and what the next emission makes of it: every file at its name and the list kept, or no
// file and no row.
#include "BaseDePrueba.h"
#include "register/Pendientes.h"
#include "register/Registro.h"

#include "SampleRecords.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

#include <unistd.h>

using registro::Registro;

namespace {

qint64 Contar(Registro& reg, const QString& sql) {
    QSqlQuery q(reg.Base());
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(no existe)");
}

} // namespace

class TestRegistroPendientes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void recuperar_data();
    void recuperar();
    void numerosDeTalveroNoSeRepiten();
};

void TestRegistroPendientes::init() {
    if (const QString motivo = registrotest::SinServidor(); !motivo.isEmpty())
        QSKIP(qPrintable(motivo));
}

void TestRegistroPendientes::recuperar_data() {
    QTest::addColumn<bool>("listo");      // the files were marked complete
    QTest::addColumn<QString>("antes");   // what else happened before the program died
    QTest::addColumn<bool>("colocados");  // expected: both files at their names
    QTest::addColumn<qint64>("recibos");  // expected: rows in the register
    QTest::addColumn<QString>("mensaje"); // expected: part of what the user reads

    // Killed before the files were complete: nothing is left.
    QTest::newRow("files not complete: taken back")
        << false << "" << false << qint64(0) << "se ha deshecho";
    QTest::newRow("files not complete, one not even begun: taken back")
        << false << "sin temporal" << false << qint64(0) << "se ha deshecho";
    // Killed once they were complete: everything is put in place.
    QTest::newRow("complete files: put at their names")
        << true << "" << true << qint64(2) << "se ha completado";
    QTest::newRow("complete, one already at its name: the other follows")
        << true << "uno colocado" << true << qint64(2) << "se ha completado";
    // Unless that can no longer be done.
    QTest::newRow("a name taken meanwhile: taken back, the other file untouched")
        << true << "nombre ocupado" << false << qint64(0) << "otro programa lo ha creado";
    QTest::newRow("a complete file removed by hand: taken back")
        << true << "sin temporal" << false << qint64(0) << "ya no está en el disco";
    // An emission still running is nobody else's business.
    QTest::newRow("the program still runs: left alone")
        << true << "vivo" << false << qint64(2) << "";
}

void TestRegistroPendientes::recuperar() {
    QFETCH(bool, listo);
    QFETCH(QString, antes);
    QFETCH(bool, colocados);
    QFETCH(qint64, recibos);
    QFETCH(QString, mensaje);

    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    auto testigo = std::make_unique<registro::Testigo>(reg.Ruta());
    QVERIFY2(testigo->Tomado(), qPrintable(testigo->Error()));
    const QString pdf = dir.filePath(QStringLiteral("marzo.pdf"));
    const QString xml = dir.filePath(QStringLiteral("marzo.xml"));
    Registro::Reserva reserva;
    reserva.archivo = dir.filePath(QStringLiteral("marzo.csv"));
    reserva.destino = pdf;
    reserva.cuantos = 2;
    reserva.emision = [&](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
        r = sample::Varied(quint64(i));
        r.m_Numero = std::to_string(i + 1);
        destino = pdf;
        emitido = QDateTime::currentDateTimeUtc();
    };
    reserva.remesaDe = [](qint64) { return QStringLiteral("REM-1"); };
    reserva.testigo = testigo->Nombre();
    for (const QString& destino : {pdf, xml})
        reserva.salidas.push_back({registro::NombreTemporal(destino, testigo->Nombre()),
                                   destino,
                                   false,
                                   destino == xml ? QStringLiteral("REM-1") : QString(),
                                   {}});
    const qint64 lote = reg.ReservarLote(reserva);
    QVERIFY2(lote > 0, qPrintable(reg.Error()));

    QStringList identidades;
    for (const Registro::Salida& s : reserva.salidas) {
        if (antes != QLatin1String("sin temporal") || &s == &reserva.salidas.front())
            QCOMPARE(registro::EscribirTemporal(s.temporal, s.destino.toUtf8()), QString());
        identidades << registro::Identidad(s.temporal);
    }
    if (listo) {
        if (antes == QLatin1String("sin temporal"))
            identidades.back() = QStringLiteral("1:1"); // written, then removed by hand
        QVERIFY(reg.MarcarListo(lote, identidades));
    }
    if (antes == QLatin1String("uno colocado")) // a hard link: the same file at both names
        QCOMPARE(::link(QFile::encodeName(reserva.salidas.front().temporal).constData(),
                        QFile::encodeName(pdf).constData()),
                 0);
    if (antes == QLatin1String("nombre ocupado")) {
        QFile ajeno(xml);
        QVERIFY(ajeno.open(QIODevice::WriteOnly));
        ajeno.write("ajeno");
    }
    if (antes != QLatin1String("vivo"))
        testigo.reset(); // the program dies: its lock goes

    const QStringList avisos = registro::RecuperarPendientes(reg);
    QCOMPARE(avisos.size(), mensaje.isEmpty() ? 0 : 1);
    if (!mensaje.isEmpty())
        QVERIFY2(avisos.front().contains(mensaje), qPrintable(avisos.front()));
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos")), recibos);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos WHERE remesa = 'REM-1'")),
             recibos);
    const bool vivo = antes == QLatin1String("vivo");
    QCOMPARE(reg.LotesPendientes().size(), std::size_t(vivo ? 1 : 0));
    QCOMPARE(Leer(pdf), colocados ? pdf.toUtf8() : QByteArray("(no existe)"));
    QCOMPARE(Leer(xml), colocados                                  ? xml.toUtf8()
                        : antes == QLatin1String("nombre ocupado") ? QByteArray("ajeno")
                                                                   : QByteArray("(no existe)"));
    if (!vivo)
        QCOMPARE(QDir(dir.path())
                     .entryList({QStringLiteral(".*talvero-parcial")}, QDir::Files | QDir::Hidden),
                 QStringList());
}

void TestRegistroPendientes::numerosDeTalveroNoSeRepiten() {
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    const auto reservar = [&](const std::string& numero, bool deTalvero) {
        Registro::Reserva reserva;
        reserva.archivo = QStringLiteral("lista.csv");
        reserva.destino = QStringLiteral("Oficina");
        reserva.cuantos = 1;
        reserva.emision = [&](qint64, CRecibo& r, QString& destino, QDateTime& emitido) {
            r = sample::Filled();
            r.m_Numero = numero;
            destino = QStringLiteral("Oficina");
            emitido = QDateTime::currentDateTimeUtc();
        };
        reserva.numeroDeTalvero = [deTalvero](qint64) { return deTalvero; };
        reserva.testigo = QStringLiteral("t");
        return reg.ReservarLote(reserva);
    };
    QVERIFY(reservar("7", true) > 0);
    // A number typed by hand may repeat, as it always could (with a warning in the list).
    QVERIFY(reservar("7", false) > 0);
    // One drawn by Talvero may not: another program drew it first.
    QCOMPARE(reservar("7", true), 0);
    QCOMPARE(reg.NumerosOcupados(), QStringList{"7"});
    QVERIFY(reg.Error().contains(QStringLiteral("otro programa")));
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos")), 2);
    // And the file itself refuses it, whoever writes.
    QSqlQuery q(reg.Base());
    QVERIFY(!q.exec(QStringLiteral("UPDATE recibos SET numerado = 1")));
}

QTEST_MAIN(TestRegistroPendientes)
#include "test_registro_pendientes.moc"
