// The register on the tests' own PostgreSQL server, through the real program ("Registro" in
// its settings): desks emitting at once, a server stopped or lost, the copy from a file, and
// servers the program cannot use, told in Spanish with nothing left behind.
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
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <memory>
#include <vector>

namespace {

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

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
    // `n` receipts without numbers; row i is (10 + i),50 €, or as invoices (10 + i) € + 21 %.
    QString Lista(const QString& nombre, int n, bool facturas = false);
    // The settings with the register at `uri`, and VERI*FACTU on when `facturas`.
    void RegistroEn(const QString& uri, bool facturas = false);
    qint64 Valor(const QString& sql) const {
        return registrotest::ValorEnServidor(base_->Ubicacion(), sql);
    }

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
    platform::SettingsStore ajustes(AjustesDeTalvero(dir_->path()));
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
        // Exit 0, and nothing of the server's own notices from a desk that waited.
        QVERIFY2(s.estado == 0 && !s.errores.contains(QStringLiteral("WARNING")),
                 qPrintable(s.errores));
        QVERIFY(QFileInfo::exists(dir_->filePath(QStringLiteral("lista%1.pdf").arg(i))));
    }
    // Every receipt recorded, numbered 1 to the last with no gap or repeat, no register file
    // next to the lists, and the totals the lists' sums (in ten-thousandths of a euro).
    const int recibos = programas * filas;
    QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM recibos")), recibos);
    QCOMPARE(Valor(QStringLiteral("SELECT count(DISTINCT numero) FROM recibos "
                                  "WHERE numero::bigint BETWEEN 1 AND %1")
                       .arg(recibos)),
             recibos);
    QVERIFY(!QFileInfo::exists(RegistroDeTalvero(dir_->path())));
    qint64 suma = 0;
    for (int i = 0; i < filas; ++i)
        suma += facturas ? (10 + i) * 12100 : (10 + i) * 10000 + 5000;
    QCOMPARE(Valor(QStringLiteral("SELECT sum(total) FROM recibos")), suma * programas);
    const SalidaTalvero v = EjecutarTalvero(dir_->path(), {"--verificar-registro"});
    QVERIFY2(v.estado == 0, qPrintable(v.errores + v.salida));
    if (facturas)
        QVERIFY2(v.salida.contains(
                     QStringLiteral("%1 registros de facturación de 1 emisor:").arg(recibos)),
                 qPrintable(v.salida));
}

// On a server of this case's own (scripts/pg-test-server.sh), not to disturb the others'.
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
    const QString uri = QString::fromUtf8(Leer(propio.filePath(QStringLiteral("uri")))).trimmed();
    QVERIFY(!uri.isEmpty());
    const QByteArray pgpass = qgetenv("PGPASSFILE");
    qputenv("PGPASSFILE", propio.filePath(QStringLiteral("pgpass")).toLocal8Bit());
    const auto devolver = qScopeGuard([&] { qputenv("PGPASSFILE", pgpass); });
    RegistroEn(uri);

    registro::Registro formulario(uri); // the form's, open all along
    QVERIFY2(formulario.Anotar(sample::Filled(), QStringLiteral("Oficina")),
             qPrintable(formulario.Error()));
    const QStringList emitir{"--emitir-lista", Lista(QStringLiteral("l.csv"), 3), "--pdf", "l.pdf"};

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
    QVERIFY2(s.estado == 1 && s.errores.contains(QStringLiteral("rechaza la conexión")),
             qPrintable(s.errores));
    QCOMPARE(archivos(), antes); // no PDF, not even a half-written one, and no register file

    QVERIFY(servidor("resume"));
    s = EjecutarTalvero(dir_->path(), emitir);
    QVERIFY2(s.estado == 0, qPrintable(s.errores));
    QVERIFY(QFileInfo::exists(dir_->filePath(QStringLiteral("l.pdf"))));
    // The form's next receipt connects again: nothing is lost and nothing is asked.
    QVERIFY2(formulario.Anotar(sample::Filled(), QStringLiteral("Oficina")),
             qPrintable(formulario.Error()));
    QCOMPARE(registrotest::ValorEnServidor(uri, QStringLiteral("SELECT count(*) FROM recibos")), 5);
}

void TestRegistroServidor::conexionPerdidaYRecuperada() {
    registro::Registro reg(base_->Ubicacion());
    const auto anotar = [&](const char* numero) {
        CRecibo recibo;
        recibo.m_Numero = numero;
        return reg.Anotar(recibo, QStringLiteral("Oficina"));
    };
    QVERIFY2(anotar("1"), qPrintable(reg.Error()));
    // The server ends the program's connection in the middle of writing receipt 2.
    QVERIFY2(base_->Ejecutar(
                 {QStringLiteral("CREATE FUNCTION cortar() RETURNS trigger LANGUAGE plpgsql AS "
                                 "$$ BEGIN PERFORM pg_terminate_backend(pg_backend_pid()); "
                                 "RETURN NEW; END $$"),
                  QStringLiteral("CREATE TRIGGER cortar BEFORE INSERT ON recibos FOR EACH ROW "
                                 "WHEN (NEW.numero = '2') EXECUTE FUNCTION cortar()")}),
             qPrintable(base_->Error()));
    QVERIFY(!anotar("2"));
    QVERIFY2(reg.Error().contains(QStringLiteral("se ha perdido la conexión")),
             qPrintable(reg.Error()));
    // The next receipt connects again; the one that failed was not recorded.
    QVERIFY2(anotar("3"), qPrintable(reg.Error()));
    QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM recibos WHERE numero IN ('1', '3')")), 2);
    QCOMPARE(registrotest::ContarFilas(base_->Ubicacion()), 2);
}

void TestRegistroServidor::copiaDelArchivoAlServidor() {
    // The desk's file: form and list receipts, invoices, an anulación and a remittance.
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
    const QByteArray antes = Leer(archivo);
    const auto copiar = [&] {
        return EjecutarTalvero(dir_->path(), {"--copiar-registro", base_->Ubicacion()});
    };
    const SalidaTalvero s = copiar();
    QVERIFY2(s.estado == 0, qPrintable(s.errores));
    QVERIFY2(s.salida.contains(QStringLiteral("5 recibos copiados")), qPrintable(s.salida));
    QCOMPARE(Leer(archivo), antes); // the file is only read

    // Every row came, and the chain verifies there.
    registro::Registro copia(base_->Ubicacion());
    std::vector<verifactu::Registro> cadena;
    for (const registro::RegistroFacturacion& r : copia.RegistrosFacturacion()) {
        QVERIFY(r.datosIntactos); // its control came with it and still matches
        cadena.push_back(r.registro);
    }
    QCOMPARE(cadena.size(), std::size_t(3));
    QVERIFY(verifactu::VerificarCadena(cadena).correcta);
    QCOMPARE(Valor(QStringLiteral("SELECT count(*) FROM busqueda")), 5);
    for (const char* sql : {"SELECT count(*) FROM remesas_recibo WHERE remesa = 'REM-1'",
                            "SELECT count(*) FROM recibos WHERE anulado = '2026-03-02'",
                            "SELECT count(*) FROM lotes WHERE archivo = '/datos/marzo.csv'"})
        QVERIFY2(Valor(QLatin1String(sql)) == 1, sql);
    // The next receipt follows the copied ones; a register holding receipts is never copied into.
    QVERIFY2(copia.Anotar(sample::Filled(), QStringLiteral("Oficina")), qPrintable(copia.Error()));
    QCOMPARE(registrotest::ContarFilas(base_->Ubicacion()), 6);
    const SalidaTalvero otra = copiar();
    QVERIFY2(otra.estado == 1 && otra.errores.contains(QStringLiteral("ya tiene recibos")),
             qPrintable(otra.errores));
    QCOMPARE(registrotest::ContarFilas(base_->Ubicacion()), 6);
}

void TestRegistroServidor::mismaExportacionQueElArchivo_data() {
    QTest::addColumn<QString>("busqueda");
    QTest::newRow("every receipt") << QString();
    QTest::newRow("a search with accents folded") << QStringLiteral("jose pena");
    QTest::newRow("a percent sign is no wildcard") << QStringLiteral("%");
}

// The same receipts, recorded the same way, give the accountant the same file.
void TestRegistroServidor::mismaExportacionQueElArchivo() {
    QFETCH(QString, busqueda);
    registro::Registro archivo(dir_->filePath(QStringLiteral("recibos.sqlite")));
    registro::Registro servidor(base_->Ubicacion());
    const QDateTime cuando(QDate(2024, 3, 5), QTime(23, 30), Qt::UTC);
    const auto recibo = [&](qint64 i, CRecibo& r, QString& destino, QDateTime& emitido) {
        r = sample::Varied(std::uint64_t(i));
        if (i % 7 == 0)
            r.m_Pagador1 = "JOSÉ PEÑA";
        if (i == 3)
            r.m_Concepto1 = "Dto. 10% pronto_pago";
        destino = QStringLiteral("Oficina");
        emitido = cuando.addDays(i);
    };
    QStringList escritos;
    for (registro::Registro* reg : {&archivo, &servidor}) {
        QVERIFY2(reg->AnotarVarios(40, recibo), qPrintable(reg->Error()));
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
            e << QString::number(Valor(QLatin1String(sql)));
        return e;
    };
    const QStringList antes = estado();
    const SalidaTalvero s = EjecutarTalvero(
        dir_->path(), {"--emitir-lista", Lista(QStringLiteral("l.csv"), 3), "--pdf", "l.pdf"});
    QVERIFY2(s.estado == 1 && s.errores.contains(dice), qPrintable(s.errores));
    QVERIFY(!QFileInfo::exists(dir_->filePath(QStringLiteral("l.pdf"))));
    QCOMPARE(estado(), antes);
    // Where the server was not reached, not even the register's tables were made.
    if (cambio != QLatin1String("version"))
        QCOMPARE(antes.first(), QStringLiteral("0"));
}

QTEST_MAIN(TestRegistroServidor)
#include "test_registro_servidor.moc"
