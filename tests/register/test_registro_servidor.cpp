// The register on the tests' own PostgreSQL server, through the real program with the
// settings key "Registro" naming it, as an office checks it: up to ten programs emitting lists
// at once never give one number twice and the issuer's chain of invoices verifies; a server
// stopped and started again under the program; a wrong password, a server that is not there
// or a register of a newer version is told in Spanish and the list leaves nothing.
#include "../lista/EjecutarTalvero.h"
#include "BaseDePrueba.h"
#include "MuestrasFactura.h"
#include "PaginaDibujada.h"
#include "SampleRecords.h"
#include "platform/SettingsStore.h"
#include "register/ExportarCsv.h"
#include "register/Registro.h"
#include "verifactu/Ajustes.h"
#include "verifactu/Cadena.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QSet>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>
#include <vector>

class TestRegistroServidor : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void variosProgramasNoRepitenNumeros_data();
    void variosProgramasNoRepitenNumeros();
    void servidorDetenidoYArrancado();
    void conexionPerdidaYRecuperada();
    void copiaDelArchivoAlServidor();
    void mismaExportacionQueElArchivo_data();
    void mismaExportacionQueElArchivo();
    void servidorQueNoSeAlcanza_data();
    void servidorQueNoSeAlcanza();

private:
    // A list of `n` receipts without numbers: Talvero draws them. Row i is of (10 + i),50 €;
    // as invoices (`facturas`), of (10 + i),00 € and 21 % IVA to a payer with a NIF.
    QString Lista(const QString& nombre, int n, bool facturas = false);
    // The program's settings in the test's folder, with the register at `uri`, and with
    // VERI*FACTU on for the sample issuer when `facturas`.
    void RegistroEn(const QString& uri, bool facturas = false);
    QStringList Numeros();

    std::unique_ptr<QTemporaryDir> dir_;
    std::unique_ptr<registrotest::BaseDePrueba> base_;
};

void TestRegistroServidor::init() {
    if (!registrotest::EnPostgres())
        QSKIP("solo con el servidor PostgreSQL de pruebas");
    if (const QString motivo = registrotest::SinServidor(); !motivo.isEmpty())
        QSKIP(qPrintable(motivo));
    dir_ = std::make_unique<QTemporaryDir>();
    base_ = std::make_unique<registrotest::BaseDePrueba>(QString());
    QVERIFY2(base_->Error().isEmpty(), qPrintable(base_->Error()));
    RegistroEn(base_->Ubicacion());
}

void TestRegistroServidor::cleanup() {
    base_.reset();
}

QString TestRegistroServidor::Lista(const QString& nombre, int n, bool facturas) {
    const QString ruta = dir_->filePath(nombre);
    QFile f(ruta);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    const QString hoy = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    f.write(facturas ? "Fecha;Pagador;NIF del pagador;Concepto 1;Importe 1;% IVA\n"
                     : "Fecha;Pagador;Concepto 1;Importe 1\n");
    for (int i = 0; i < n; ++i)
        f.write((facturas ? QStringLiteral("%1;Socio %2 de %3;00000000T;Cuota;%4,00;21\n")
                          : QStringLiteral("%1;Socio %2 de %3;Cuota;%4,50\n"))
                    .arg(hoy)
                    .arg(i)
                    .arg(nombre)
                    .arg(10 + i)
                    .toUtf8());
    return ruta;
}

void TestRegistroServidor::RegistroEn(const QString& uri, bool facturas) {
    platform::SettingsStore ajustes(
        dir_->filePath(QStringLiteral("ajustes/Quenlaria/%1.conf")
                           .arg(QFileInfo(QStringLiteral(TALVERO_PROGRAMA)).baseName()))
            .toStdString());
    ajustes.WriteString(platform::kTalveroSection, "Registro", uri.toStdString());
    if (facturas) {
        verifactu::Ajustes a;
        a.activo = true;
        a.emisorNif = "12345678Z";
        a.emisorNombre = "TALLERES GIL SL";
        a.servidor = "pruebas";
        verifactu::EscribirAjustes(ajustes, a);
        ajustes.WriteString(platform::kTalveroSection, "TiposIVA", "0;4;10;21");
    }
    QVERIFY(ajustes.Flush());
}

QStringList TestRegistroServidor::Numeros() {
    QStringList numeros;
    const qint64 filas = registrotest::ValorEnServidor(
        base_->Ubicacion(), QStringLiteral("SELECT count(*) FROM recibos"));
    const qint64 distintos = registrotest::ValorEnServidor(
        base_->Ubicacion(), QStringLiteral("SELECT count(DISTINCT numero) FROM recibos"));
    return {QString::number(filas), QString::number(distintos)};
}

void TestRegistroServidor::variosProgramasNoRepitenNumeros_data() {
    QTest::addColumn<int>("programas");
    QTest::addColumn<int>("filas"); // of each program's list
    QTest::addColumn<bool>("facturas");
    QTest::newRow("two desks") << 2 << 40 << false;
    QTest::newRow("ten desks") << 10 << 12 << false;
    QTest::newRow("four desks chaining one issuer's invoices") << 4 << 12 << true;
}

void TestRegistroServidor::variosProgramasNoRepitenNumeros() {
    QFETCH(int, programas);
    QFETCH(int, filas);
    QFETCH(bool, facturas);
    RegistroEn(base_->Ubicacion(), facturas);
    std::vector<std::unique_ptr<QProcess>> p;
    for (int i = 0; i < programas; ++i) {
        p.push_back(std::make_unique<QProcess>());
        const QString nombre = QStringLiteral("lista%1").arg(i);
        LanzarTalvero(*p.back(), dir_->path(),
                      {"--emitir-lista", Lista(nombre + QStringLiteral(".csv"), filas, facturas),
                       "--pdf", nombre + QStringLiteral(".pdf")});
    }
    for (int i = 0; i < programas; ++i) {
        const SalidaTalvero s = TerminoDeTalvero(*p[std::size_t(i)]);
        QVERIFY2(s.estado == 0, qPrintable(s.errores));
        // A desk that waited for another's numbers says nothing of the server's own notices.
        QVERIFY2(!s.errores.contains(QStringLiteral("WARNING")), qPrintable(s.errores));
        QVERIFY(QFileInfo::exists(dir_->filePath(QStringLiteral("lista%1.pdf").arg(i))));
    }
    // Every receipt recorded, each with a number of its own, 1 to the last with no gap, and
    // no file of the register next to the lists.
    const int recibos = programas * filas;
    QCOMPARE(Numeros(), (QStringList{QString::number(recibos), QString::number(recibos)}));
    QCOMPARE(
        registrotest::ValorEnServidor(
            base_->Ubicacion(),
            QStringLiteral("SELECT count(*) FROM recibos WHERE numero::bigint BETWEEN 1 AND %1")
                .arg(recibos)),
        qint64(recibos));
    QVERIFY(!QFileInfo::exists(RegistroDeTalvero(dir_->path())));
    // The register's totals are the lists' sums, in ten-thousandths of a euro: a list's row i
    // is (10 + i),50 €, or (10 + i) € and 21 % IVA, that is 12,10 € for every 10 €.
    qint64 suma = 0;
    for (int i = 0; i < filas; ++i)
        suma += facturas ? (10 + i) * 12100 : (10 + i) * 10000 + 5000;
    QCOMPARE(registrotest::ValorEnServidor(base_->Ubicacion(),
                                           QStringLiteral("SELECT sum(total) FROM recibos")),
             suma * programas);
    // The issuer's chain, made by every desk at once, verifies.
    const SalidaTalvero v = EjecutarTalvero(dir_->path(), {"--verificar-registro"});
    QVERIFY2(v.estado == 0, qPrintable(v.errores + v.salida));
    if (facturas)
        QVERIFY2(v.salida.contains(
                     QStringLiteral("%1 registros de facturación de 1 emisor:").arg(recibos)),
                 qPrintable(v.salida));
}

// A server of this case's own, stopped and started again (scripts/pg-test-server.sh), so that
// the other tests' server is not disturbed.
void TestRegistroServidor::servidorDetenidoYArrancado() {
    QTemporaryDir propio;
    const auto servidor = [&](const char* accion) {
        QProcess p;
        p.start(QStringLiteral("bash"),
                {QStringLiteral(TALVERO_PG_SCRIPT), QLatin1String(accion), propio.path()});
        return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit &&
               p.exitCode() == 0;
    };
    QVERIFY(servidor("start"));
    const auto parar = qScopeGuard([&] { servidor("stop"); });
    QFile archivoUri(propio.filePath(QStringLiteral("uri")));
    QVERIFY(archivoUri.open(QIODevice::ReadOnly));
    const QString uri = QString::fromUtf8(archivoUri.readAll()).trimmed();
    // Its password for the programs and for this one, as for the others' server.
    const QByteArray pgpass = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", propio.filePath(QStringLiteral("pgpass")).toLocal8Bit());
    const auto devolver = qScopeGuard([&] { qputenv("PGPASSFILE", pgpass); });
    RegistroEn(uri);

    // The register the form holds, open all along.
    registro::Registro formulario(uri);
    QVERIFY2(formulario.Anotar(sample::Filled(), QStringLiteral("Oficina")),
             qPrintable(formulario.Error()));
    const QStringList emitir{"--emitir-lista", Lista(QStringLiteral("l.csv"), 3), "--pdf", "l.pdf"};
    const QString pdf = dir_->filePath(QStringLiteral("l.pdf"));

    QVERIFY(servidor("pause"));
    const auto archivos = [&] {
        QStringList todos;
        for (QDirIterator i(dir_->path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
             i.hasNext();)
            todos << i.next();
        todos.sort();
        return todos;
    };
    const QStringList antes = archivos();
    SalidaTalvero s = EjecutarTalvero(dir_->path(), emitir);
    QCOMPARE(s.estado, 1);
    QVERIFY2(s.errores.contains(QStringLiteral("rechaza la conexión")), qPrintable(s.errores));
    QCOMPARE(archivos(), antes); // no PDF, not even a half-written one, and no register file

    QVERIFY(servidor("resume"));
    s = EjecutarTalvero(dir_->path(), emitir);
    QVERIFY2(s.estado == 0, qPrintable(s.errores));
    QVERIFY(QFileInfo::exists(pdf));
    // The form's next receipt connects again: nothing is lost and nothing is asked.
    QVERIFY2(formulario.Anotar(sample::Filled(), QStringLiteral("Oficina")),
             qPrintable(formulario.Error()));
    QCOMPARE(registrotest::ValorEnServidor(uri, QStringLiteral("SELECT count(*) FROM recibos")), 5);
}

void TestRegistroServidor::conexionPerdidaYRecuperada() {
    registro::Registro reg(base_->Ubicacion());
    CRecibo recibo;
    recibo.m_Numero = "1";
    QVERIFY2(reg.Anotar(recibo, QStringLiteral("Oficina")), qPrintable(reg.Error()));
    // The server ends the program's connection in the middle of writing receipt 2.
    QVERIFY2(base_->Ejecutar(
                 {QStringLiteral("CREATE FUNCTION cortar() RETURNS trigger LANGUAGE plpgsql AS "
                                 "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); "
                                 "RETURN NEW; END $$"),
                  QStringLiteral("CREATE TRIGGER cortar BEFORE INSERT ON recibos FOR EACH ROW "
                                 "WHEN (NEW.numero = '2') EXECUTE FUNCTION cortar()")}),
             qPrintable(base_->Error()));
    recibo.m_Numero = "2";
    QVERIFY(!reg.Anotar(recibo, QStringLiteral("Oficina")));
    QVERIFY2(reg.Error().contains(QStringLiteral("se ha perdido la conexión")),
             qPrintable(reg.Error()));
    // The next receipt connects again; the one that failed was not recorded.
    recibo.m_Numero = "3";
    QVERIFY2(reg.Anotar(recibo, QStringLiteral("Oficina")), qPrintable(reg.Error()));
    QCOMPARE(registrotest::ValorEnServidor(
                 base_->Ubicacion(), QStringLiteral("SELECT count(*) FROM recibos WHERE numero "
                                                    "IN ('1', '3')")),
             2);
    QCOMPARE(registrotest::ContarFilas(base_->Ubicacion()), 2);
}

void TestRegistroServidor::copiaDelArchivoAlServidor() {
    // The desk's file, where the program keeps it, with receipts from the form and a list,
    // invoicing records and an anulación, and a receipt debited by a remittance.
    const QString archivo = RegistroDeTalvero(dir_->path());
    QVERIFY(QDir().mkpath(QFileInfo(archivo).absolutePath()));
    {
        registro::Registro reg(archivo);
        const registro::Facturacion f = muestra::Emisor();
        QVERIFY2(reg.AnotarConAlta(muestra::Factura("F-1", 10000, "21"), "PDF", f) > 0,
                 qPrintable(reg.Error()));
        const qint64 segundo = reg.AnotarConAlta(muestra::Factura("F-2", 20000, "21"), "PDF", f);
        QVERIFY(segundo > 0);
        QVERIFY2(reg.Anular(segundo, QDate(2026, 3, 2)), qPrintable(reg.Error()));
        QVERIFY(reg.AnotarLote(
                    QStringLiteral("/datos/marzo.csv"), QStringLiteral("/datos/marzo.pdf"), 3,
                    [](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
                        r = sample::Varied(std::uint64_t(i));
                        destino = QStringLiteral("/datos/marzo.pdf");
                        emitido = QDateTime::currentDateTimeUtc();
                    },
                    QDateTime::currentDateTimeUtc(),
                    [](qint64 i) { return i == 1 ? QStringLiteral("REM-1") : QString(); }) > 0);
    }
    const auto leer = [&] {
        QFile f(archivo);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    };
    const QByteArray antes = leer();
    const SalidaTalvero s =
        EjecutarTalvero(dir_->path(), {"--copiar-registro", base_->Ubicacion()});
    QVERIFY2(s.estado == 0, qPrintable(s.errores));
    QVERIFY2(s.salida.contains(QStringLiteral("5 recibos copiados")), qPrintable(s.salida));
    QCOMPARE(leer(), antes); // the file is only read

    // The chain verifies there as it did in the file, and every row came.
    registro::Registro copia(base_->Ubicacion());
    std::vector<verifactu::Registro> cadena;
    for (const registro::RegistroFacturacion& r : copia.RegistrosFacturacion()) {
        QVERIFY(r.datosIntactos); // its control came with it and still matches
        cadena.push_back(r.registro);
    }
    QCOMPARE(cadena.size(), std::size_t(3));
    QVERIFY(verifactu::VerificarCadena(cadena).correcta);
    const struct {
        const char* sql;
        qint64 cuantos;
    } filas[] = {{"SELECT count(*) FROM busqueda", 5},
                 {"SELECT count(*) FROM remesas_recibo WHERE remesa = 'REM-1'", 1},
                 {"SELECT count(*) FROM recibos WHERE anulado = '2026-03-02'", 1},
                 {"SELECT count(*) FROM lotes WHERE archivo = '/datos/marzo.csv'", 1}};
    for (const auto& f : filas)
        QCOMPARE(registrotest::ValorEnServidor(base_->Ubicacion(), QLatin1String(f.sql)),
                 f.cuantos);
    // The next receipt there follows the copied ones.
    QVERIFY2(copia.Anotar(sample::Filled(), QStringLiteral("Oficina")), qPrintable(copia.Error()));
    QCOMPARE(registrotest::ContarFilas(base_->Ubicacion()), 6);
    // A register that holds receipts is never copied into.
    const SalidaTalvero otra =
        EjecutarTalvero(dir_->path(), {"--copiar-registro", base_->Ubicacion()});
    QCOMPARE(otra.estado, 1);
    QVERIFY2(otra.errores.contains(QStringLiteral("ya tiene recibos")), qPrintable(otra.errores));
    QCOMPARE(registrotest::ContarFilas(base_->Ubicacion()), 6);
}

void TestRegistroServidor::mismaExportacionQueElArchivo_data() {
    QTest::addColumn<QString>("busqueda");
    QTest::newRow("every receipt") << QString();
    QTest::newRow("a search with accents folded") << QStringLiteral("jose pena");
    QTest::newRow("a percent sign is no wildcard") << QStringLiteral("%");
}

void TestRegistroServidor::mismaExportacionQueElArchivo() {
    QFETCH(QString, busqueda);
    // The same receipts, recorded the same way, give the accountant the same file.
    registro::Registro archivo(dir_->filePath(QStringLiteral("recibos.sqlite")));
    registro::Registro servidor(base_->Ubicacion());
    const QDateTime cuando(QDate(2024, 3, 5), QTime(23, 30), Qt::UTC);
    for (registro::Registro* reg : {&archivo, &servidor}) {
        QVERIFY2(reg->AnotarVarios(40,
                                   [&](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
                                       r = sample::Varied(std::uint64_t(i));
                                       if (i % 7 == 0)
                                           r.m_Pagador1 = "JOSÉ PEÑA";
                                       if (i == 3)
                                           r.m_Concepto1 = "Dto. 10% pronto_pago";
                                       destino = QStringLiteral("Oficina");
                                       emitido = cuando.addDays(i);
                                   }),
                 qPrintable(reg->Error()));
    }
    QStringList escritos;
    for (registro::Registro* reg : {&archivo, &servidor}) {
        escritos << dir_->filePath(QStringLiteral("export%1.csv").arg(escritos.size()));
        QString error;
        qint64 filas = 0;
        QVERIFY2(registro::ExportarCsv(reg->Base(), {busqueda, {}, {}}, QString(), escritos.back(),
                                       error, &filas),
                 qPrintable(error));
        QVERIFY(filas > 0);
    }
    QFile a(escritos[0]), b(escritos[1]);
    QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    QCOMPARE(QString::fromUtf8(b.readAll()), QString::fromUtf8(a.readAll()));
}

void TestRegistroServidor::servidorQueNoSeAlcanza_data() {
    QTest::addColumn<QString>("cambio");
    QTest::addColumn<QString>("dice");
    QTest::newRow("a user the server does not know")
        << QStringLiteral("usuario") << QStringLiteral("no acepta el usuario o la contraseña");
    QTest::newRow("a wrong password in the address")
        << QStringLiteral("clave") << QStringLiteral("no acepta el usuario o la contraseña");
    QTest::newRow("a database that is not there")
        << QStringLiteral("base") << QStringLiteral("no existe esa base de datos");
    QTest::newRow("a port where no server listens")
        << QStringLiteral("puerto") << QStringLiteral("rechaza la conexión");
    QTest::newRow("a register of a newer version, left as it is")
        << QStringLiteral("version") << QStringLiteral("versión más nueva de Talvero");
}

void TestRegistroServidor::servidorQueNoSeAlcanza() {
    QFETCH(QString, cambio);
    QFETCH(QString, dice);
    QUrl url(base_->Ubicacion());
    if (cambio == QLatin1String("usuario"))
        url.setUserName(QStringLiteral("nadie"));
    else if (cambio == QLatin1String("clave"))
        url.setPassword(QStringLiteral("no-es-la-clave"));
    else if (cambio == QLatin1String("base"))
        url.setPath(QStringLiteral("/no_hay_tal_base"));
    else if (cambio == QLatin1String("puerto"))
        url.setPort(1); // nothing listens on port 1 of the loopback
    if (cambio == QLatin1String("version")) {
        // A newer program has already migrated the office's register.
        registro::Registro nuevo(base_->Ubicacion());
        QVERIFY2(nuevo.Anotar(sample::Filled(), QStringLiteral("Oficina")),
                 qPrintable(nuevo.Error()));
        QVERIFY2(base_->Ejecutar({QStringLiteral("UPDATE talvero_version SET version = %1")
                                      .arg(registro::Registro::VERSION + 1)}),
                 qPrintable(base_->Error()));
    }
    RegistroEn(url.toString());
    // The tables, the receipts and the version, before and after: nothing is made or changed.
    const auto estado = [&] {
        QStringList e;
        for (const char* sql :
             {"SELECT count(*) FROM information_schema.tables WHERE table_schema = "
              "current_schema()",
              "SELECT count(*) FROM information_schema.columns WHERE table_schema = "
              "current_schema()",
              "SELECT CASE WHEN to_regclass('recibos') IS NULL THEN -1 ELSE (SELECT count(*) "
              "FROM recibos) END",
              "SELECT CASE WHEN to_regclass('talvero_version') IS NULL THEN -1 ELSE (SELECT "
              "max(version) FROM talvero_version) END"})
            e << QString::number(
                registrotest::ValorEnServidor(base_->Ubicacion(), QLatin1String(sql)));
        return e;
    };
    const QStringList antes = estado();
    const SalidaTalvero s = EjecutarTalvero(
        dir_->path(), {"--emitir-lista", Lista(QStringLiteral("l.csv"), 3), "--pdf", "l.pdf"});
    QCOMPARE(s.estado, 1);
    QVERIFY2(s.errores.contains(dice), qPrintable(s.errores));
    QVERIFY(!QFileInfo::exists(dir_->filePath(QStringLiteral("l.pdf"))));
    QCOMPARE(estado(), antes);
    // Where the server was not reached, not even the register's tables were made.
    if (cambio != QLatin1String("version"))
        QCOMPARE(antes.first(), QStringLiteral("0"));
}

QTEST_MAIN(TestRegistroServidor)
#include "test_registro_servidor.moc"
