// Lists of receipts in the register: version 3 from a version 2 file, a list recorded all
// or none, and the filter that shows one list's receipts; version 4 from a version 3 file,
// and the remittance each debited receipt of a list carries.
#include "BaseDePrueba.h"
#include "register/Filtro.h"
#include "register/ModeloRecibos.h"
#include "register/Registro.h"

#include "SampleRecords.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <initializer_list>

using registro::Registro;

namespace {

qint64 Contar(Registro& reg, const QString& sql) {
    QSqlQuery q(reg.Base());
    if (!q.exec(sql) || !q.next())
        return -1;
    return q.value(0).toLongLong();
}

qint64 AnotarTres(Registro& reg, const char* terceroNumero) {
    return reg.AnotarLote(
        QStringLiteral("/datos/marzo.csv"), QStringLiteral("Oficina"), 3,
        [&](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
            r = sample::Varied(quint64(i));
            r.m_Numero = i == 2 ? terceroNumero : std::to_string(100 + i);
            destino = QStringLiteral("Oficina");
            emitido = QDateTime(QDate(2024, 3, 5), QTime(9, 8, 7), Qt::UTC);
        },
        QDateTime(QDate(2024, 3, 5), QTime(9, 8, 7), Qt::UTC));
}

// A register of an older version: this program's file, with one receipt recorded, and what
// the later versions added taken off again by `sql`. False when a statement fails.
bool RegistroAntiguo(const QString& ruta, std::initializer_list<const char*> sql) {
    Registro reg(ruta);
    if (!reg.Anotar(sample::Filled(), QStringLiteral("PDF")))
        return false;
    QSqlQuery q(reg.Base());
    for (const char* sentencia : sql) {
        if (!q.exec(QLatin1String(sentencia))) {
            qWarning("%s: %s", sentencia, qPrintable(q.lastError().text()));
            return false;
        }
    }
    return true;
}

} // namespace

class TestRegistroLotes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void version2EsMigrada();
    void listaTodaONada();
    void version3EsMigrada();
};

void TestRegistroLotes::init() {
    if (const QString motivo = registrotest::SinServidor(); !motivo.isEmpty())
        QSKIP(qPrintable(motivo));
}

void TestRegistroLotes::version2EsMigrada() {
    SOLO_SQLITE();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("recibos.sqlite"));
    QVERIFY(
        RegistroAntiguo(ruta, {"DROP TABLE registros_facturacion", "DROP INDEX recibos_remesa",
                               "ALTER TABLE recibos DROP COLUMN remesa", "DROP INDEX recibos_lote",
                               "ALTER TABLE recibos DROP COLUMN lote", "DROP TABLE lotes",
                               "PRAGMA user_version = 2"}));
    Registro reg(ruta);
    QVERIFY2(reg.Abrir(), qPrintable(reg.Error()));
    QCOMPARE(Contar(reg, QStringLiteral("PRAGMA user_version")), Registro::VERSION);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos WHERE lote IS NULL")), 1);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM lotes")), 0);

    const qint64 lote = AnotarTres(reg, "102");
    QCOMPARE(lote, 1);
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("SELECT creado, archivo, destino, recibos FROM lotes")) &&
            q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("2024-03-05T09:08:07Z"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("/datos/marzo.csv"));
    QCOMPARE(q.value(2).toString(), QStringLiteral("Oficina"));
    QCOMPARE(q.value(3).toLongLong(), 3);
    QCOMPARE(reg.Lotes().size(), std::size_t(1));
    QCOMPARE(reg.NumerosEnUso(), (QSet<QString>{"17", "100", "101", "102"}));

    // "Recibos emitidos" shows one list's receipts through the filter.
    registro::Filtro filtro;
    filtro.lote = lote;
    const registro::Condicion c = registro::CondicionDe(filtro);
    q.prepare(QStringLiteral("SELECT count(*)") + c.desde + c.where);
    for (const QVariant& v : c.valores)
        q.addBindValue(v);
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toLongLong(), 3);
}

void TestRegistroLotes::listaTodaONada() {
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    QVERIFY(reg.Abrir());
    // The third receipt of the list cannot be written: neither can the other two nor the list.
    if (registrotest::EnPostgres())
        QVERIFY2(base.Ejecutar(
                     {QStringLiteral("CREATE FUNCTION falla() RETURNS trigger LANGUAGE plpgsql AS "
                                     "$$ BEGIN RAISE EXCEPTION 'no'; END $$"),
                      QStringLiteral("CREATE TRIGGER falla BEFORE INSERT ON recibos FOR "
                                     "EACH ROW WHEN (NEW.numero = 'X') EXECUTE "
                                     "FUNCTION falla()")}),
                 qPrintable(base.Error()));
    else
        QVERIFY(QSqlQuery(reg.Base())
                    .exec(QStringLiteral("CREATE TRIGGER falla BEFORE INSERT ON recibos WHEN "
                                         "NEW.numero = 'X' BEGIN SELECT RAISE(ABORT, 'no'); END")));
    QCOMPARE(AnotarTres(reg, "X"), 0);
    QVERIFY(!reg.Error().isEmpty());
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos")), 0);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM lotes")), 0);
}

void TestRegistroLotes::version3EsMigrada() {
    SOLO_SQLITE();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("recibos.sqlite"));
    QVERIFY(RegistroAntiguo(ruta,
                            {"DROP INDEX recibos_remesa", "ALTER TABLE recibos DROP COLUMN remesa",
                             "PRAGMA user_version = 3"}));
    Registro reg(ruta);
    QVERIFY2(reg.Abrir(), qPrintable(reg.Error()));
    QCOMPARE(Contar(reg, QStringLiteral("PRAGMA user_version")), Registro::VERSION);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos WHERE remesa IS NULL")), 1);
    registro::ModeloRecibos modelo(reg.Base().connectionName());
    QCOMPARE(modelo.columnCount(), int(registro::ModeloRecibos::Remesa)); // none debited yet

    // The second receipt of a list is debited; the others carry no remittance.
    QVERIFY(reg.AnotarLote(
                QStringLiteral("/datos/abril.csv"), QStringLiteral("/datos/abril.xml"), 3,
                [](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
                    r = sample::Varied(quint64(i));
                    r.m_Numero = std::to_string(200 + i);
                    destino = QStringLiteral("/datos/abril.xml");
                    emitido = QDateTime(QDate(2024, 4, 2), QTime(10, 0), Qt::UTC);
                },
                QDateTime(QDate(2024, 4, 2), QTime(10, 0), Qt::UTC),
                [](qint64 i) { return i == 1 ? QStringLiteral("TALVERO-1") : QString(); }) > 0);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos WHERE remesa IS NULL")), 3);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT numero FROM recibos WHERE remesa = 'TALVERO-1'")),
             201);

    // "Recibos emitidos" shows the column once a receipt carries a remittance.
    modelo.Refrescar();
    QCOMPARE(modelo.columnCount(), int(registro::ModeloRecibos::Factura)); // no invoices
    QCOMPARE(modelo.headerData(registro::ModeloRecibos::Remesa, Qt::Horizontal).toString(),
             QStringLiteral("Remesa"));
    QStringList remesas;
    for (int f = 0; f < modelo.rowCount(); ++f)
        remesas << modelo.index(f, registro::ModeloRecibos::Remesa).data().toString();
    QCOMPARE(remesas, (QStringList{"", "TALVERO-1", "", ""})); // newest first
}

QTEST_GUILESS_MAIN(TestRegistroLotes)
#include "test_registro_lotes.moc"
