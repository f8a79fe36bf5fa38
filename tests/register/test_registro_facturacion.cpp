// The invoicing records in the register: what an alta keeps of a receipt, read back as it
// was generated; the chain of receipts from the form and a list, and an anulación, checked;
// the rules that keep a receipt from leaving; a record that the program cannot change.
#include "BaseDePrueba.h"
#include "DatosPrueba.h"
#include "MuestrasFactura.h"
#include "register/Registro.h"
#include "verifactu/Cadena.h"
#include "verifactu/EscribirEnvio.h"
#include "verifactu/Huella.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

using registro::EstadoEnvio;
using registro::Registro;
using registro::RegistroFacturacion;

Q_DECLARE_METATYPE(CRecibo)

namespace {

qint64 Contar(Registro& reg, const QString& sql) {
    QSqlQuery q(reg.Base());
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

std::vector<verifactu::Registro> Cadena(const std::vector<RegistroFacturacion>& filas) {
    std::vector<verifactu::Registro> cadena;
    for (const RegistroFacturacion& f : filas)
        cadena.push_back(f.registro);
    return cadena;
}

// Every record, as the agency would get them, checked against its schema. A build without
// the distributor's NIF (these tests') writes records that only a distributor's build may
// send: the producer's NIF is put in as such a build has it.
QString ValidarEsquema(const std::vector<RegistroFacturacion>& filas) {
    const registro::Facturacion e = muestra::Emisor();
    std::vector<verifactu::Registro> cadena = Cadena(filas);
    for (verifactu::Registro& r : cadena)
        std::visit(
            [](auto& x) {
                if (x.sistema.nif.empty())
                    x.sistema.nif = "89890001K";
                if (x.sistema.nombreRazon.empty())
                    x.sistema.nombreRazon = "DISTRIBUIDOR DE PRUEBAS SL";
            },
            r);
    return datos::Xmllint(verifactu::EscribirEnvio({e.emisorNombre, e.emisorNif}, cadena),
                          QStringLiteral("SuministroLR.xsd"));
}

// A list of `numeros`, recorded as pending with its altas.
qint64 ReservarLista(Registro& reg, const std::vector<std::string>& numeros,
                     const registro::Facturacion& f) {
    Registro::Reserva r;
    r.archivo = QStringLiteral("/datos/enero.csv");
    r.destino = QStringLiteral("/datos/enero.pdf");
    r.cuantos = qint64(numeros.size());
    r.emision = [&](qint64 i, CRecibo& rec, QString& destino, QDateTime& emitido) {
        rec = muestra::Factura(numeros[std::size_t(i)], 10000, "21");
        destino = r.destino;
        emitido = QDateTime::currentDateTimeUtc();
    };
    r.testigo = QStringLiteral("prueba");
    r.facturacion = &f;
    return reg.ReservarLote(r);
}

} // namespace

class TestRegistroFacturacion : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void camposDelAlta_data();
    void camposDelAlta();
    void cadenaDeFormularioListaYAnulacion();
    void reglasDeRechazo_data();
    void reglasDeRechazo();
    void altaTrasRechazo();
    void registroInalterable();
    void listaDeshecha();
    void migracionAnadeLoQueFalta();
};

void TestRegistroFacturacion::init() {
    if (const QString motivo = registrotest::SinServidor(); !motivo.isEmpty())
        QSKIP(qPrintable(motivo));
}

void TestRegistroFacturacion::camposDelAlta_data() {
    QTest::addColumn<CRecibo>("recibo");
    QTest::addColumn<bool>("ivaCeroSujeta");
    // tipo factura, calificación, exención, tipo, cuota, recargo, cuota recargo, totals, NIF
    QTest::addColumn<QStringList>("esperado");

    QTest::newRow("IVA 21 %, the payer's NIF in its second line: F1")
        << muestra::Factura("1", 100000, "21") << false
        << QStringList{"F1", "S1", "", "21", "210.00", "", "", "210.00", "1210.00", "00000000T"};
    QTest::newRow("RE 5,2 % with IVA 21 %")
        << muestra::Factura("2", 10000, "21", "5,2") << false
        << QStringList{"F1",  "S1",   "",      "21",     "21.00",
                       "5.2", "5.20", "26.20", "126.20", "00000000T"};
    QTest::newRow("IRPF 15 % withheld stays out of ImporteTotal")
        << muestra::Factura("3", 100000, "21", "0", "15") << false
        << QStringList{"F1", "S1", "", "21", "210.00", "", "", "210.00", "1210.00", "00000000T"};
    QTest::newRow("IVA 0 exempt, no NIF under 400 €: F2")
        << muestra::Factura("4", 30000, "0", "0", "0", "C/ MAYOR, 3") << false
        << QStringList{"F2", "", "E1", "", "", "", "", "0.00", "300.00", ""};
    QTest::newRow("IVA 0 declared taxed at 0 %")
        << muestra::Factura("5", 30000, "0", "0", "0", "12.345.678-Z") << true
        << QStringList{"F1", "S1", "", "0", "0.00", "", "", "0.00", "300.00", "12345678Z"};
}

void TestRegistroFacturacion::camposDelAlta() {
    QFETCH(CRecibo, recibo);
    QFETCH(bool, ivaCeroSujeta);
    QFETCH(QStringList, esperado);
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    registro::Facturacion f = muestra::Emisor();
    f.ivaCero = ivaCeroSujeta ? verifactu::IvaCero::TipoCero : verifactu::IvaCero::Exenta;
    f.momento = QDateTime(QDate(2026, 1, 20), QTime(10, 30), QTimeZone(3600));
    const qint64 id = reg.AnotarConAlta(recibo, QStringLiteral("Oficina"), f);
    QVERIFY2(id > 0, qPrintable(reg.Error()));

    // Read back through a connection of its own, as another program would.
    Registro otro(reg.Ruta());
    const std::vector<RegistroFacturacion> filas = otro.RegistrosDeRecibo(id);
    QCOMPARE(filas.size(), std::size_t(1));
    QCOMPARE(filas[0].estado, EstadoEnvio::Pendiente);
    const auto& a = std::get<verifactu::RegistroAlta>(filas[0].registro);
    QCOMPARE(a.factura.emisor, std::string("12345678Z"));
    QCOMPARE(a.factura.numSerie, recibo.m_Numero);
    QCOMPARE(a.factura.fecha, std::string("15-01-2026"));
    QCOMPARE(a.descripcion, std::string("Alquiler del local, enero"));
    QCOMPARE(a.fechaHoraHuso, std::string("2026-01-20T10:30:00+01:00"));
    QCOMPARE(a.sistema.numeroInstalacion, std::string("prueba-1"));
    QVERIFY(!a.anterior); // the first of its chain
    QCOMPARE(a.desglose.size(), std::size_t(1));
    const verifactu::LineaDesglose& l = a.desglose[0];
    const QStringList leido{QString::fromStdString(a.tipoFactura),
                            QString::fromStdString(l.calificacion),
                            QString::fromStdString(l.exencion),
                            QString::fromStdString(l.tipoImpositivo),
                            QString::fromStdString(l.cuota),
                            QString::fromStdString(l.tipoRecargo),
                            QString::fromStdString(l.cuotaRecargo),
                            QString::fromStdString(a.cuotaTotal),
                            QString::fromStdString(a.importeTotal),
                            a.destinatario ? QString::fromStdString(a.destinatario->nif)
                                           : QString()};
    QCOMPARE(leido, esperado);
    // Stored as generated: its huella is the huella of what was read back.
    QCOMPARE(verifactu::CalcularHuella(filas[0].registro), a.huella);
    QCOMPARE(ValidarEsquema(filas), QString());
}

void TestRegistroFacturacion::cadenaDeFormularioListaYAnulacion() {
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    const registro::Facturacion f = muestra::Emisor();
    const qint64 primero = reg.AnotarConAlta(muestra::Factura("A-1", 10000, "21"), "PDF", f);
    QVERIFY2(primero > 0, qPrintable(reg.Error()));
    QVERIFY(reg.AnotarConAlta(muestra::Factura("A-2", 20000, "10"), "PDF", f) > 0);
    const qint64 lote = ReservarLista(reg, {"L-1", "L-2", "L-3"}, f);
    QVERIFY2(lote > 0, qPrintable(reg.Error()));
    // A list still pending holds back what follows it from the agency.
    QCOMPARE(reg.RegistrosPorEnviar(QStringLiteral("12345678Z"), 100).size(), std::size_t(2));
    QVERIFY(reg.CerrarLote(lote));
    QVERIFY(reg.AnotarConAlta(muestra::Factura("A-3", 5000, "4", "0,5"), "PDF", f) > 0);
    QVERIFY2(reg.Anular(primero, QDate(2026, 1, 20)), qPrintable(reg.Error()));

    const std::vector<RegistroFacturacion> filas = reg.RegistrosFacturacion();
    QCOMPARE(filas.size(), std::size_t(7));
    QStringList numeros;
    for (const RegistroFacturacion& r : filas)
        numeros << QString::fromStdString(verifactu::FacturaDe(r.registro).numSerie);
    QCOMPARE(numeros, (QStringList{"A-1", "A-2", "L-1", "L-2", "L-3", "A-3", "A-1"}));
    const auto& anulacion = std::get<verifactu::RegistroAnulacion>(filas.back().registro);
    QVERIFY(!anulacion.sinRegistroPrevio); // its alta is on its way to the agency
    QCOMPARE(anulacion.anterior->huella, verifactu::HuellaDe(filas[5].registro));
    const verifactu::ResultadoCadena r = verifactu::VerificarCadena(Cadena(filas));
    QVERIFY2(r.correcta, r.motivo.c_str());
    QCOMPARE(ValidarEsquema(filas), QString());
    QCOMPARE(reg.RegistrosPorEnviar(QStringLiteral("12345678Z"), 100).size(), std::size_t(7));
    QCOMPARE(reg.CuantosPorEnviar(), 7);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT anulado FROM recibos WHERE id = %1").arg(primero)),
             0); // "2026-01-20" reads as 0 through toLongLong: it is set
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("SELECT anulado FROM recibos WHERE id = %1").arg(primero)) &&
            q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("2026-01-20"));
}

void TestRegistroFacturacion::reglasDeRechazo_data() {
    QTest::addColumn<CRecibo>("recibo");
    QTest::addColumn<QString>("motivo");

    QTest::newRow("more than 400 € without the payer's NIF")
        << muestra::Factura("1", 40000, "21", "0", "0", "C/ MAYOR, 3") << "Pagador (2ª línea)";
    QTest::newRow("an IVA the agency does not admit")
        << muestra::Factura("1", 10000, "16") << "no admite un IVA del 16";
    QTest::newRow("an RE that does not go with its IVA")
        << muestra::Factura("1", 10000, "21", "4") << "«% RE»";
    QTest::newRow("a number the issuer already used")
        << muestra::Factura("7", 10000, "21") << "ya se ha usado";
    CRecibo futura = muestra::Factura("1", 10000, "21");
    futura.m_Fecha = moneda::Fecha(2026, 2, 1, 1, 1, 1);
    QTest::newRow("a date after today") << futura << "posterior a hoy";
    CRecibo sinConcepto = muestra::Factura("1", 10000, "21");
    sinConcepto.m_Concepto1.clear();
    QTest::newRow("nothing said of what is charged") << sinConcepto << "«Concepto 1»";
    QTest::newRow("a number with an accent") << muestra::Factura("Nº 1", 10000, "21") << "«Número»";
}

void TestRegistroFacturacion::reglasDeRechazo() {
    QFETCH(CRecibo, recibo);
    QFETCH(QString, motivo);
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    const registro::Facturacion f = muestra::Emisor();
    QVERIFY(reg.AnotarConAlta(muestra::Factura("7", 10000, "21"), "PDF", f) > 0);

    QCOMPARE(reg.AnotarConAlta(recibo, QStringLiteral("PDF"), f), 0);
    QVERIFY2(reg.Error().contains(motivo), qPrintable(reg.Error()));
    // Neither the receipt nor its record.
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos")), 1);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM registros_facturacion")), 1);
}

void TestRegistroFacturacion::altaTrasRechazo() {
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    const registro::Facturacion f = muestra::Emisor();
    QVERIFY(reg.AnotarConAlta(muestra::Factura("9", 10000, "21"), "PDF", f) > 0);
    const qint64 refusado = reg.RegistrosFacturacion().front().id;
    QVERIFY(reg.AnotarEstados({{refusado, EstadoEnvio::Rechazado, 1105, "Fecha incorrecta"}},
                              QString()));
    QCOMPARE(reg.RechazosSinAvisar().size(), std::size_t(1));
    QVERIFY(reg.MarcarAvisado(refusado));
    QCOMPARE(reg.RechazosSinAvisar().size(), std::size_t(0));

    // The corrected receipt leaves with the same number: an alta por rechazo.
    QVERIFY2(reg.AnotarConAlta(muestra::Factura("9", 12000, "21"), "PDF", f) > 0,
             qPrintable(reg.Error()));
    const std::vector<RegistroFacturacion> filas = reg.RegistrosFacturacion();
    QCOMPARE(filas.size(), std::size_t(2));
    const auto& nueva = std::get<verifactu::RegistroAlta>(filas[1].registro);
    QVERIFY(nueva.subsanacion);
    QCOMPARE(nueva.rechazoPrevio, std::string("X"));
    QCOMPARE(ValidarEsquema({filas[1]}), QString());
    // Once is enough: the correction was not refused.
    QCOMPARE(reg.AnotarConAlta(muestra::Factura("9", 12000, "21"), "PDF", f), 0);

    // The refused receipt cancelled: its alta never reached the agency.
    QVERIFY(reg.Anular(filas[0].recibo, QDate(2026, 1, 20)));
    const RegistroFacturacion anulacion = reg.RegistrosFacturacion().back();
    QVERIFY(std::get<verifactu::RegistroAnulacion>(anulacion.registro).sinRegistroPrevio);
    QCOMPARE(ValidarEsquema({anulacion}), QString());
}

void TestRegistroFacturacion::registroInalterable() {
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    QVERIFY(reg.AnotarConAlta(muestra::Factura("1", 10000, "21"), "PDF", muestra::Emisor()) > 0);
    QSqlQuery q(reg.Base());
    for (const char* sql :
         {"UPDATE registros_facturacion SET importe_total = '1.00'",
          "UPDATE registros_facturacion SET huella = 'X', estado = 'aceptado'",
          "UPDATE registros_facturacion SET control = 'X'", "DELETE FROM registros_facturacion"}) {
        QVERIFY2(!q.exec(QLatin1String(sql)), sql);
        QVERIFY(q.lastError().text().contains(QStringLiteral("registro de facturación")));
    }
    // The sending state moves on.
    QVERIFY(reg.MarcarIncidencia({1}));
    QVERIFY(reg.AnotarEstados({{1, EstadoEnvio::AceptadoConErrores, 2001, "NIF no censado"}},
                              QStringLiteral("CSV123")));
    const RegistroFacturacion r = reg.RegistrosFacturacion().front();
    QCOMPARE(r.estado, EstadoEnvio::AceptadoConErrores);
    QCOMPARE(r.codigo, 2001);
    QCOMPARE(r.csv, QStringLiteral("CSV123"));
    QVERIFY(r.incidencia);
    QVERIFY(r.datosIntactos); // the sending state is outside the control
    QCOMPARE(reg.CuantosPorEnviar(), 0);
}

void TestRegistroFacturacion::listaDeshecha() {
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    const registro::Facturacion f = muestra::Emisor();
    // Taken back before anything followed it: its altas go with it.
    qint64 lote = ReservarLista(reg, {"L-1", "L-2"}, f);
    QVERIFY(lote > 0);
    QVERIFY2(reg.DeshacerLote(lote), qPrintable(reg.Error()));
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM registros_facturacion")), 0);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos")), 0);

    // A receipt printed while the list was pending chained after its altas: they stay,
    // each cancelled, and so do its receipts, marked cancelled.
    lote = ReservarLista(reg, {"L-1", "L-2"}, f);
    QVERIFY(lote > 0);
    QVERIFY(reg.AnotarConAlta(muestra::Factura("F-1", 10000, "21"), "PDF", f) > 0);
    QVERIFY2(reg.DeshacerLote(lote), qPrintable(reg.Error()));
    const std::vector<RegistroFacturacion> filas = reg.RegistrosFacturacion();
    QCOMPARE(filas.size(), std::size_t(5));
    QVERIFY(std::holds_alternative<verifactu::RegistroAnulacion>(filas[3].registro));
    QVERIFY(std::holds_alternative<verifactu::RegistroAnulacion>(filas[4].registro));
    QVERIFY(verifactu::VerificarCadena(Cadena(filas)).correcta);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM recibos WHERE anulado IS NOT NULL")),
             2);
    QCOMPARE(reg.LotesPendientes().size(), std::size_t(0));
}

void TestRegistroFacturacion::migracionAnadeLoQueFalta() {
    // A version-5 file that already has `anulado` (the collection states' migration, say)
    // gets only what it lacks.
    SOLO_SQLITE();
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("recibos.sqlite"));
    {
        Registro reg(ruta);
        QVERIFY(reg.Abrir());
        QSqlQuery q(reg.Base());
        for (const char* sql : {"DROP TABLE registros_facturacion", "PRAGMA user_version = 5"})
            QVERIFY2(q.exec(QLatin1String(sql)), sql);
    }
    Registro reg(ruta);
    QVERIFY2(reg.Abrir(), qPrintable(reg.Error()));
    QCOMPARE(Contar(reg, QStringLiteral("PRAGMA user_version")), qint64(Registro::VERSION));
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM sqlite_master WHERE tbl_name = "
                                        "'registros_facturacion' AND type = 'trigger'")),
             2);
    QVERIFY(reg.AnotarConAlta(muestra::Factura("1", 10000, "21"), "PDF", muestra::Emisor()) > 0);
}

QTEST_GUILESS_MAIN(TestRegistroFacturacion)
#include "test_registro_facturacion.moc"
