// The register file itself: what a row keeps, that a stored receipt draws again the same
// page, the schema's migration, damaged files and the next free number.
#include "BaseDePrueba.h"
#include "PaginaDibujada.h"
#include "SampleRecords.h"
#include "register/AnotarEmitido.h"
#include "register/Filtro.h"
#include "register/NombreDeColor.h"
#include "register/Registro.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMessageBox>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

using registro::Registro;

Q_DECLARE_METATYPE(CRecibo)

namespace {

// A file of the first schema version, as the first program that kept a register wrote it.
void CrearVersion1(const QString& ruta, const QStringList& pagadores) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v1"));
        db.setDatabaseName(ruta);
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral(
            "CREATE TABLE recibos (id INTEGER PRIMARY KEY, emitido TEXT NOT NULL, destino TEXT "
            "NOT NULL, numero TEXT NOT NULL, localidad TEXT NOT NULL, vencimiento TEXT NOT NULL, "
            "fecha TEXT, concepto1 TEXT NOT NULL, concepto2 TEXT NOT NULL, concepto3 TEXT NOT "
            "NULL, concepto4 TEXT NOT NULL, concepto5 TEXT NOT NULL, importe1 INTEGER, importe2 "
            "INTEGER, importe3 INTEGER, importe4 INTEGER, importe5 INTEGER, iva TEXT NOT NULL, re "
            "TEXT NOT NULL, irpf TEXT NOT NULL, importe_iva INTEGER, importe_re INTEGER, "
            "importe_irpf INTEGER, total INTEGER NOT NULL, direccion TEXT NOT NULL, pagador1 TEXT "
            "NOT NULL, pagador2 TEXT NOT NULL, cobrador1 TEXT NOT NULL, cobrador2 TEXT NOT NULL, "
            "color INTEGER NOT NULL, relleno INTEGER NOT NULL, no_validos TEXT)")));
        int n = 0;
        for (const QString& p : pagadores) {
            QVERIFY(q.exec(
                QStringLiteral("INSERT INTO recibos VALUES (NULL, '2024-01-0%1T10:00:00Z', 'PDF', "
                               "'%1', 'HUESCA', '', '2024-01-0%1', 'Cuota', '', '', '', '', "
                               "100000, 0, 0, 0, 0, '21', '', '', 21000, 0, 0, 121000, '', '%2', "
                               "'', 'COBRADOR', '', %3, 1, NULL)")
                    .arg(++n)
                    .arg(p)
                    .arg(0xC8C8C8)));
        }
        QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = 1")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v1"));
}

// Marks the file at `ruta` as of schema `version`, in its own journal mode.
void PonerVersion(const QString& ruta, int version) {
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("v"));
        db.setDatabaseName(ruta);
        if (!db.open() ||
            !QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version = %1").arg(version)))
            qFatal("cannot set the version of %s", qPrintable(ruta));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("v"));
}

QList<QMessageBox*> Avisos() {
    QList<QMessageBox*> avisos;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* caja = qobject_cast<QMessageBox*>(w);
            caja != nullptr && caja->objectName() == QLatin1String("avisoRegistro") &&
            caja->isVisible())
            avisos << caja;
    return avisos;
}

void CerrarAvisos() {
    for (QMessageBox* caja : Avisos())
        caja->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

CRecibo ConFecha(moneda::Fecha fecha) {
    CRecibo r = sample::Filled();
    r.m_Fecha = fecha;
    return r;
}

CRecibo ConColor(const char* color, const char* relleno) {
    CRecibo r = sample::Filled();
    r.m_ColorFondo = ColorDeNombre(color);
    r.m_Solido = EsRellenoSolido(relleno) ? 1 : 0;
    return r;
}

} // namespace

class TestRegistroStore : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    // --- A stored receipt draws again the same page -------------------------------------
    void storedReceiptDrawsTheSamePage_data();
    void storedReceiptDrawsTheSamePage();
    void storedReceiptGivesTheSamePdfWords();
    void notValidAmountsAreNullColumns();
    void rowKeepsWhenAndWhereTo();

    // --- Schema --------------------------------------------------------------------------
    void freshFileIsWalAtCurrentVersion();
    void olderVersionIsMigrated();
    void newerVersionIsLeftAlone();
    void newerVersionIsNotChangedByteForByte();

    // --- Damage and failures -------------------------------------------------------------
    void damagedFileIsSetAsideAndRecordingGoesOn_data();
    void damagedFileIsSetAsideAndRecordingGoesOn();
    void unusableFolderIsReportedOnce();
    void lockedPastTheTimeoutIsReportedAndLosesNothingElse();

    // --- Searching and numbering ---------------------------------------------------------
    void searchIgnoresAccentsAndCase_data();
    void searchIgnoresAccentsAndCase();
    void nextFreeNumber_data();
    void nextFreeNumber();
    void colourAndFillNamesForTheForm_data();
    void colourAndFillNamesForTheForm();

private:
    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<registrotest::BaseDePrueba> base_;
    // The file in the case's folder, or the case's own database on the tests' server.
    QString Ruta() const { return base_->Ubicacion(); }
};

void TestRegistroStore::init() {
    if (const QString motivo = registrotest::SinServidor(); !motivo.isEmpty())
        QSKIP(qPrintable(motivo));
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
    base_ = std::make_unique<registrotest::BaseDePrueba>(
        dir_->filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base_->Error().isEmpty(), qPrintable(base_->Error()));
    registro::detail::OlvidarAviso();
}

void TestRegistroStore::cleanup() {
    CerrarAvisos();
    registro::detail::OlvidarAviso();
    base_.reset();
}

// --- A stored receipt draws again the same page ------------------------------------------

void TestRegistroStore::storedReceiptDrawsTheSamePage_data() {
    QTest::addColumn<CRecibo>("recibo");
    QTest::newRow("the printed sample") << sample::Filled();
    QTest::newRow("semicolons, quotes, line breaks, null and invalid amounts") << sample::Awkward();
    QTest::newRow("a freshly constructed record, zero date") << CRecibo();
    QTest::newRow("a date that is not valid") << ConFecha(moneda::Fecha(2024, 2, 30, 1, 1, 1));
    QTest::newRow("year 0 is a valid date of the record")
        << ConFecha(moneda::Fecha(0, 5, 1, 1, 1, 1));
    QTest::newRow("grey, solid") << ConColor("GRIS", "SOLIDO");
    QTest::newRow("brown, cross-hatched") << ConColor("MARRÓN", "LINEAS");
    QTest::newRow("green, solid") << ConColor("VERDE", "SOLIDO");
    QTest::newRow("five concepts and three taxes") << sample::Varied(0);
    QTest::newRow("an invalid amount of zero") << sample::Varied(96);
    CRecibo extremo = sample::Filled();
    extremo.m_Importe1 = moneda::Currency(std::numeric_limits<std::int64_t>::max());
    extremo.m_Importe2 = moneda::Currency::Invalid(std::numeric_limits<std::int64_t>::min());
    QTest::newRow("amounts at the 64-bit limits") << extremo;
}

void TestRegistroStore::storedReceiptDrawsTheSamePage() {
    QFETCH(CRecibo, recibo);
    Registro reg(Ruta());
    QVERIFY2(reg.Anotar(recibo, QStringLiteral("Oficina")), qPrintable(reg.Error()));
    const std::optional<CRecibo> leido = reg.Cargar(1);
    QVERIFY2(leido.has_value(), qPrintable(reg.Error()));
    QCOMPARE(registrotest::Llamadas(*leido), registrotest::Llamadas(recibo));
    // The statuses too: a null amount stays null, an invalid one invalid with its value.
    for (auto campo : {&CRecibo::m_Importe1, &CRecibo::m_Importe2, &CRecibo::m_Importe3,
                       &CRecibo::m_Importe4, &CRecibo::m_Importe5, &CRecibo::m_ImporteIva,
                       &CRecibo::m_ImporteRe, &CRecibo::m_ImporteIrpf}) {
        QCOMPARE(int((*leido.*campo).status()), int((recibo.*campo).status()));
        QCOMPARE((*leido.*campo).value(), (recibo.*campo).value());
    }
    QCOMPARE(leido->m_ColorFondo, recibo.m_ColorFondo);
    QCOMPARE(leido->m_Solido, recibo.m_Solido);
    QCOMPARE(leido->m_Iva, recibo.m_Iva);
}

void TestRegistroStore::storedReceiptGivesTheSamePdfWords() {
    const CRecibo recibo = sample::Awkward();
    Registro reg(Ruta());
    QVERIFY(reg.Anotar(recibo, QStringLiteral("Oficina")));
    const std::optional<CRecibo> leido = reg.Cargar(1);
    QVERIFY2(leido.has_value(), qPrintable(reg.Error()));
    const QStringList original =
        registrotest::PalabrasPdf(recibo, dir_->filePath(QStringLiteral("original.pdf")));
    QVERIFY(original.contains(QStringLiteral("LOGROÑO @ 40,151-213,185")) ||
            original.join(QLatin1Char('\n')).contains(QStringLiteral("LOGROÑO")));
    QCOMPARE(registrotest::PalabrasPdf(*leido, dir_->filePath(QStringLiteral("reimpreso.pdf"))),
             original);
}

void TestRegistroStore::notValidAmountsAreNullColumns() {
    Registro reg(Ruta());
    QVERIFY(reg.Anotar(sample::Awkward(), QStringLiteral("Oficina")));
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("SELECT importe1, importe3, importe4, total, fecha, color, "
                                  "relleno FROM recibos")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toLongLong(), 1200000);
    QVERIFY(q.value(1).isNull());
    QVERIFY(q.value(2).isNull());
    QCOMPARE(q.value(3).toLongLong(), 0); // a total over a non-valid amount prints as zero
    QCOMPARE(q.value(4).toString(), QStringLiteral("2004-03-05"));
    QCOMPARE(q.value(5).toLongLong(), 0x98ECF8);
    QCOMPARE(q.value(6).toInt(), 1);
}

void TestRegistroStore::rowKeepsWhenAndWhereTo() {
    Registro reg(Ruta());
    const QDateTime cuando(QDate(2024, 3, 5), QTime(9, 8, 7), Qt::UTC);
    QVERIFY(reg.Anotar(sample::Filled(), QStringLiteral("/home/ana/Recibos/17.pdf"), cuando));
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("SELECT emitido, destino, total, numero FROM recibos")));
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("2024-03-05T09:08:07Z"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("/home/ana/Recibos/17.pdf"));
    QCOMPARE(q.value(2).toLongLong(), 1561056); // 154,56 + 24,7296 - 23,184
    QCOMPARE(q.value(3).toString(), QStringLiteral("17"));
}

// --- Schema ------------------------------------------------------------------------------

void TestRegistroStore::freshFileIsWalAtCurrentVersion() {
    SOLO_SQLITE();
    Registro reg(dir_->filePath(QStringLiteral("nueva/carpeta/recibos.sqlite")));
    QVERIFY2(reg.Abrir(), qPrintable(reg.Error()));
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("PRAGMA journal_mode")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("wal"));
    QVERIFY(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
    QCOMPARE(q.value(0).toInt(), Registro::VERSION);
    QVERIFY(q.exec(QStringLiteral("PRAGMA synchronous")) && q.next());
    QCOMPARE(q.value(0).toInt(), 2); // FULL
}

void TestRegistroStore::olderVersionIsMigrated() {
    SOLO_SQLITE();
    CrearVersion1(Ruta(), {QStringLiteral("JOSÉ PEÑA"), QStringLiteral("ANA LÓPEZ")});
    Registro reg(Ruta());
    QVERIFY2(reg.Abrir(), qPrintable(reg.Error()));
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("PRAGMA user_version")) && q.next());
    QCOMPARE(q.value(0).toInt(), Registro::VERSION);
    // The old rows are found by the new search.
    const registro::Condicion c = registro::CondicionDe({QStringLiteral("jose pena"), {}, {}});
    q.prepare(QStringLiteral("SELECT pagador1") + c.desde + c.where);
    for (const QVariant& v : c.valores)
        q.addBindValue(v);
    QVERIFY(q.exec() && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("JOSÉ PEÑA"));
    QVERIFY(!q.next());
    // They still load, and new ones are recorded after them.
    const std::optional<CRecibo> viejo = reg.Cargar(2);
    QVERIFY(viejo.has_value());
    QCOMPARE(viejo->m_ColorFondo, ColorDeNombre("GRIS"));
    QVERIFY(reg.Anotar(sample::Filled(), QStringLiteral("Oficina")));
    QCOMPARE(registrotest::ContarFilas(Ruta()), 3);
}

void TestRegistroStore::newerVersionIsLeftAlone() {
    if (registrotest::EnPostgres()) {
        // A server register that a newer program migrated: its version in its table.
        {
            Registro nuevo(Ruta());
            QVERIFY(nuevo.Anotar(sample::Filled(), QStringLiteral("Oficina")));
        }
        QVERIFY2(base_->Ejecutar({QStringLiteral("UPDATE talvero_version SET version = 99")}),
                 qPrintable(base_->Error()));
    } else {
        CrearVersion1(Ruta(), {QStringLiteral("X")});
        PonerVersion(Ruta(), 99);
    }
    Registro reg(Ruta());
    QVERIFY(!reg.Abrir());
    QVERIFY2(reg.Error().contains(QStringLiteral("versión más nueva")), qPrintable(reg.Error()));
    QVERIFY(!reg.AbrirParaLeer());
    QVERIFY(reg.Apartado().isEmpty());
    QCOMPARE(registrotest::ContarFilas(Ruta()), 1);
    if (registrotest::EnPostgres())
        QCOMPARE(registrotest::ValorEnServidor(Ruta(), QStringLiteral("SELECT version FROM "
                                                                      "talvero_version")),
                 99);
}

void TestRegistroStore::newerVersionIsNotChangedByteForByte() {
    SOLO_SQLITE();
    CrearVersion1(Ruta(), {QStringLiteral("X")});
    PonerVersion(Ruta(), Registro::VERSION + 1);
    const QByteArray antes = Leer(Ruta());
    Registro reg(Ruta());
    QVERIFY(!reg.Abrir());
    QVERIFY(!reg.AbrirParaLeer());
    QVERIFY2(reg.Error().contains(QStringLiteral("versión más nueva")), qPrintable(reg.Error()));
    QCOMPARE(Leer(Ruta()), antes); // still in its own journal mode, not switched to WAL
    QVERIFY(!QFile::exists(Ruta() + QStringLiteral("-wal")));
}

// --- Damage and failures -----------------------------------------------------------------

void TestRegistroStore::damagedFileIsSetAsideAndRecordingGoesOn_data() {
    QTest::addColumn<QString>("dano");
    QTest::newRow("random bytes") << QStringLiteral("aleatorio");
    QTest::newRow("truncated to half") << QStringLiteral("truncado");
    QTest::newRow("a directory in its place") << QStringLiteral("carpeta");
}

void TestRegistroStore::damagedFileIsSetAsideAndRecordingGoesOn() {
    SOLO_SQLITE();
    QFETCH(QString, dano);
    const QString ruta = Ruta();
    if (dano == QLatin1String("aleatorio")) {
        QFile f(ruta);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QByteArray basura(64 * 1024, '\0');
        QRandomGenerator gen(20240305);
        for (char& c : basura)
            c = char(gen.bounded(256));
        f.write(basura);
    } else if (dano == QLatin1String("truncado")) {
        {
            Registro reg(ruta);
            for (int i = 0; i < 400; ++i)
                QVERIFY(reg.Anotar(sample::Varied(std::uint64_t(i)), QStringLiteral("Oficina")));
        }
        QFile f(ruta);
        QVERIFY(f.size() > 100 * 1024);
        QVERIFY(f.resize(f.size() / 2));
    } else {
        QVERIFY(QDir().mkpath(ruta + QStringLiteral("/dentro")));
    }
    const QByteArray antes = Leer(ruta);

    registro::AnotarEmitidoEn(ruta, sample::Filled(), QStringLiteral("Oficina"), nullptr);

    // Set aside, not deleted: the same bytes under the new name.
    const QStringList apartados = QDir(dir_->path())
                                      .entryList({QStringLiteral("recibos.sqlite.dañado-*")},
                                                 QDir::AllEntries | QDir::NoDotAndDotDot);
    QCOMPARE(apartados.size(), 1);
    const QString apartado = dir_->filePath(apartados.first());
    if (dano == QLatin1String("carpeta"))
        QVERIFY(QFileInfo::exists(apartado + QStringLiteral("/dentro")));
    else
        QCOMPARE(Leer(apartado), antes);

    // One message, naming the file and where the damaged one went.
    QCOMPARE(Avisos().size(), 1);
    const QString texto = Avisos().first()->text();
    QVERIFY2(texto.contains(ruta), qPrintable(texto));
    QVERIFY2(texto.contains(apartado), qPrintable(texto));

    // The receipt went into a fresh register, and recording goes on without more messages.
    registro::AnotarEmitidoEn(ruta, sample::Varied(7), QStringLiteral("Oficina"), nullptr);
    QCOMPARE(registrotest::ContarFilas(ruta), 2);
    QCOMPARE(Avisos().size(), 1);
}

void TestRegistroStore::unusableFolderIsReportedOnce() {
    SOLO_SQLITE();
    // A file where the register's folder should be: nothing can be created there.
    QFile estorbo(dir_->filePath(QStringLiteral("estorbo")));
    QVERIFY(estorbo.open(QIODevice::WriteOnly));
    estorbo.write("no es una carpeta");
    estorbo.close();
    const QString ruta = dir_->filePath(QStringLiteral("estorbo/recibos.sqlite"));

    registro::AnotarEmitidoEn(ruta, sample::Filled(), QStringLiteral("Oficina"), nullptr);
    registro::AnotarEmitidoEn(ruta, sample::Filled(), QStringLiteral("Oficina"), nullptr);

    QCOMPARE(Avisos().size(), 1);
    const QString texto = Avisos().first()->text();
    QVERIFY2(texto.contains(ruta), qPrintable(texto));
    QVERIFY2(texto.contains(QStringLiteral("no se puede crear la carpeta")), qPrintable(texto));
    QCOMPARE(Leer(estorbo.fileName()), QByteArray("no es una carpeta"));
}

void TestRegistroStore::lockedPastTheTimeoutIsReportedAndLosesNothingElse() {
    SOLO_SQLITE();
    {
        Registro reg(Ruta());
        QVERIFY(reg.Anotar(sample::Filled(), QStringLiteral("Oficina")));
    }
    {
        // Another program holds the write lock longer than the busy timeout.
        QSqlDatabase otro =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("otro"));
        otro.setDatabaseName(Ruta());
        QVERIFY(otro.open());
        QSqlQuery q(otro);
        QVERIFY(q.exec(QStringLiteral("BEGIN IMMEDIATE")));
        QElapsedTimer reloj;
        reloj.start();
        registro::AnotarEmitidoEn(Ruta(), sample::Varied(1), QStringLiteral("Oficina"), nullptr);
        QVERIFY(reloj.elapsed() >= 4000); // it did wait for the other program
        QCOMPARE(Avisos().size(), 1);
        const QString texto = Avisos().first()->text();
        QVERIFY2(texto.contains(QStringLiteral("bloqueado")), qPrintable(texto));
        QVERIFY2(texto.contains(Ruta()), qPrintable(texto));
        QVERIFY(q.exec(QStringLiteral("ROLLBACK")));
        q = QSqlQuery();
        otro.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("otro"));
    // Once the lock is gone, recording goes on, without a second message.
    registro::AnotarEmitidoEn(Ruta(), sample::Varied(2), QStringLiteral("Oficina"), nullptr);
    QCOMPARE(registrotest::ContarFilas(Ruta()), 2);
    QCOMPARE(Avisos().size(), 1);
    QVERIFY(QDir(dir_->path()).entryList({QStringLiteral("*dañado*")}).isEmpty());
}

// --- Searching and numbering -------------------------------------------------------------

void TestRegistroStore::searchIgnoresAccentsAndCase_data() {
    QTest::addColumn<QString>("busqueda");
    QTest::addColumn<QStringList>("numeros");
    QTest::newRow("jose finds JOSÉ") << QStringLiteral("jose") << QStringList{"2", "1"};
    QTest::newRow("peña finds PEÑA") << QStringLiteral("peña") << QStringList{"1"};
    QTest::newRow("pena finds PEÑA") << QStringLiteral("PENA") << QStringList{"1"};
    QTest::newRow("two words must both appear")
        << QStringLiteral("josé logroño") << QStringList{"2"};
    QTest::newRow("in a concept") << QStringLiteral("CALDERA") << QStringList{"3"};
    QTest::newRow("in the collector") << QStringLiteral("garcia") << QStringList{"3"};
    QTest::newRow("the number") << QStringLiteral("3") << QStringList{"3"};
    QTest::newRow("a percent sign is no wildcard") << QStringLiteral("%") << QStringList{"1"};
    QTest::newRow("an underscore is no wildcard") << QStringLiteral("_") << QStringList{"1"};
    QTest::newRow("a backslash is searched as such") << QStringLiteral("\\") << QStringList{};
    QTest::newRow("nothing typed finds all, newest first")
        << QString() << QStringList{"3", "2", "1"};
}

void TestRegistroStore::searchIgnoresAccentsAndCase() {
    QFETCH(QString, busqueda);
    QFETCH(QStringList, numeros);
    Registro reg(Ruta());
    CRecibo a;
    a.m_Numero = "1";
    a.m_Pagador1 = "JOSÉ PEÑA";
    a.m_Concepto1 = "Dto. 10% pronto_pago";
    CRecibo b;
    b.m_Numero = "2";
    b.m_Cobrador1 = "María José";
    b.m_Localidad = "LOGROÑO";
    CRecibo c = sample::Filled(); // JUAN PÉREZ GARCÍA, Reparación de la caldera
    c.m_Numero = "3";
    for (const CRecibo& r : {a, b, c})
        QVERIFY(reg.Anotar(r, QStringLiteral("Oficina")));
    const registro::Condicion cond = registro::CondicionDe({busqueda, {}, {}});
    QSqlQuery q(reg.Base());
    q.prepare(QStringLiteral("SELECT numero") + cond.desde + cond.where +
              QStringLiteral(" ORDER BY id DESC"));
    for (const QVariant& v : cond.valores)
        q.addBindValue(v);
    QVERIFY(q.exec());
    QStringList hallados;
    while (q.next())
        hallados << q.value(0).toString();
    QCOMPARE(hallados, numeros);
}

void TestRegistroStore::nextFreeNumber_data() {
    QTest::addColumn<QStringList>("numeros");
    QTest::addColumn<QString>("siguiente");
    // clang-format off
    QTest::newRow("empty register")                 << QStringList{}                   << QString();
    QTest::newRow("highest plus one")               << QStringList{"3", "12", "7"}     << QStringLiteral("13");
    QTest::newRow("zero-padded width kept")         << QStringList{"0001", "0099"}     << QStringLiteral("0100");
    QTest::newRow("widest number sets the width")   << QStringList{"7", "0012"}        << QStringLiteral("0013");
    QTest::newRow("nines carry into a new digit")   << QStringList{"999"}              << QStringLiteral("1000");
    QTest::newRow("empty numbers are not counted")  << QStringList{"", "41"}           << QStringLiteral("42");
    QTest::newRow("any letter: not numeric")        << QStringList{"5", "2024/6"}      << QString();
    QTest::newRow("longer than 64 bits")            << QStringList{"99999999999999999999"} << QStringLiteral("100000000000000000000");
    // clang-format on
}

void TestRegistroStore::nextFreeNumber() {
    QFETCH(QStringList, numeros);
    QFETCH(QString, siguiente);
    Registro reg(Ruta());
    QVERIFY(reg.Abrir());
    for (const QString& n : numeros) {
        CRecibo r;
        r.m_Numero = n.toStdString();
        QVERIFY(reg.Anotar(r, QStringLiteral("Oficina")));
    }
    QCOMPARE(reg.SiguienteNumeroLibre(), siguiente);
}

void TestRegistroStore::colourAndFillNamesForTheForm_data() {
    QTest::addColumn<quint32>("color");
    QTest::addColumn<int>("solido");
    QTest::addColumn<QString>("nombre");
    QTest::addColumn<QString>("relleno");
    // clang-format off
    QTest::newRow("blue, hatched")            << quint32(0xFFFFC8) << 0 << "AZUL"   << "LINEAS";
    QTest::newRow("grey, solid")              << quint32(0xC8C8C8) << 1 << "GRIS"   << "SOLIDO";
    QTest::newRow("brown, any nonzero fill")  << quint32(0x98ECF8) << 7 << "MARRÓN" << "SOLIDO";
    QTest::newRow("green")                    << quint32(0xB3F4BB) << 0 << "VERDE"  << "LINEAS";
    QTest::newRow("a colour no name gives")   << quint32(0x123456) << 0 << "AZUL"   << "LINEAS";
    // clang-format on
}

void TestRegistroStore::colourAndFillNamesForTheForm() {
    QFETCH(quint32, color);
    QFETCH(int, solido);
    QFETCH(QString, nombre);
    QFETCH(QString, relleno);
    QCOMPARE(QString::fromStdString(registro::NombreDeColor(color)), nombre);
    QCOMPARE(QString::fromStdString(registro::NombreDeRelleno(solido)), relleno);
    // And back: the form's name gives the colour that was stored, for every named colour.
    if (nombre != QLatin1String("AZUL") || color == 0xFFFFC8)
        QCOMPARE(ColorDeNombre(nombre.toStdString()), ColorRef(color));
}

QTEST_MAIN(TestRegistroStore)
#include "test_registro_store.moc"
