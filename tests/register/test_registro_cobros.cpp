// Who has paid: the state by date, version 6 from 5 or 4, the bank's reports applied, a payment
// by hand undone, and the returned receipts collected again in a file valid against its schema.
#include "BaseDePrueba.h"
#include "register/Cobros.h"
#include "register/EstadoCobro.h"
#include "register/EstadoCobroSql.h"
#include "register/ExportarCsv.h"
#include "register/ImportarDevoluciones.h"
#include "register/RemesaDevueltos.h"

#include "SampleAdeudos.h"
#include "SampleRecords.h"
#include "sepa/Pain008.h"

#include <QFile>
#include <QProcess>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using registro::CambioCobro;
using registro::Estado;
using registro::HechosCobro;
using registro::Registro;

Q_DECLARE_METATYPE(registro::HechosCobro)
Q_DECLARE_METATYPE(registro::Estado)

namespace {

const QString kAcreedor = QStringLiteral("ES72000H50123456");
const QString kRemesa = QStringLiteral("REM-1");
const QDate kHecha(2026, 3, 5);
const QDate kCobro(2026, 3, 10);

CambioCobro EnRemesa(QDate hecha, QDate cobro) {
    return {CambioCobro::Tipo::EnRemesa, hecha, cobro, {}};
}
CambioCobro Devuelto(QDate fecha, const char* motivo) {
    return {CambioCobro::Tipo::Devuelto, fecha, {}, QLatin1String(motivo)};
}
CambioCobro Cobrado(QDate fecha) {
    return {CambioCobro::Tipo::Cobrado, fecha, {}, {}};
}
HechosCobro Hechos(std::vector<CambioCobro> cambios, bool seguimiento = true,
                   bool anulado = false) {
    return {seguimiento, anulado, std::move(cambios)};
}

// A register with one list of three receipts, «101», «102» and «103» of 156,11 € each,
// debited by remittance REM-1 (made on 5 March 2026 for the 10th) under mandates M-101...
std::unique_ptr<Registro> RegistroConRemesa(const QString& ruta) {
    auto reg = std::make_unique<Registro>(ruta);
    Registro::Reserva r;
    r.archivo = QStringLiteral("/datos/marzo.csv");
    r.destino = QStringLiteral("/datos/marzo.xml");
    r.creado = QDateTime(kHecha, QTime(9, 0), Qt::UTC);
    r.cuantos = 3;
    r.emision = [](qint64 i, CRecibo& recibo, QString& destino, QDateTime& emitido) {
        recibo = sample::Filled();
        recibo.m_Numero = std::to_string(101 + i);
        destino = QStringLiteral("/datos/marzo.xml");
        emitido = QDateTime(kHecha, QTime(9, 0), Qt::UTC);
    };
    r.remesaDe = [](qint64) { return kRemesa; };
    r.adeudoDe = [](qint64 i) {
        Registro::EnRemesa a;
        a.cobro = kCobro;
        a.mandato = QStringLiteral("M-%1").arg(101 + i);
        a.referencia = QString::number(101 + i);
        a.acreedor = kAcreedor;
        a.centimos = 15611;
        a.iban = QString::fromStdString(sample::IbanFicticio(std::uint64_t(i)));
        a.titular = QStringLiteral("COMUNIDAD DE PROPIETARIOS");
        a.fechaMandato = QDate(2020, 1, 15);
        return a;
    };
    r.testigo = QStringLiteral("prueba");
    const qint64 lote = reg->ReservarLote(r);
    if (lote == 0 || !reg->CerrarLote(lote))
        qWarning("%s", qPrintable(reg->Error()));
    return reg;
}

// One debit as the bank reports it.
struct Tx {
    Tx(const char* r, const char* c, const char* i = "156.11", QString a = kAcreedor,
       QString m = {}, const char* moneda = "EUR")
        : referencia(QLatin1String(r)), codigo(QLatin1String(c)), importe(QLatin1String(i)),
          acreedor(std::move(a)), mandato(std::move(m)), moneda(QLatin1String(moneda)) {}
    QString referencia, codigo, importe, acreedor, mandato, moneda;
};

QByteArray Pain002(const QString& msgId, const std::vector<Tx>& txs) {
    QString t = QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document "
                    "xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.03\"><CstmrPmtStsRpt>"
                    "<GrpHdr><MsgId>B-1</MsgId><CreDtTm>2026-03-09T08:00:00</CreDtTm></GrpHdr>"
                    "<OrgnlGrpInfAndSts><OrgnlMsgId>%1</OrgnlMsgId><OrgnlMsgNmId>pain.008.001.08"
                    "</OrgnlMsgNmId></OrgnlGrpInfAndSts><OrgnlPmtInfAndSts><OrgnlPmtInfId>%1-RCUR"
                    "</OrgnlPmtInfId>")
                    .arg(msgId);
    for (const Tx& x : txs)
        t += QStringLiteral(
                 "<TxInfAndSts><OrgnlEndToEndId>%1</OrgnlEndToEndId><TxSts>RJCT</TxSts>"
                 "<StsRsnInf><Rsn><Cd>%2</Cd></Rsn></StsRsnInf><OrgnlTxRef><Amt><InstdAmt "
                 "Ccy=\"EUR\">%3</InstdAmt></Amt><CdtrSchmeId><Id><PrvtId><Othr><Id>%4</Id>"
                 "</Othr></PrvtId></Id></CdtrSchmeId><MndtRltdInf><MndtId>%5</MndtId>"
                 "</MndtRltdInf></OrgnlTxRef></TxInfAndSts>")
                 .arg(x.referencia, x.codigo, x.importe, x.acreedor,
                      x.mandato.isEmpty() ? QStringLiteral("M-") + x.referencia : x.mandato);
    return (t + QStringLiteral("</OrgnlPmtInfAndSts></CstmrPmtStsRpt></Document>")).toUtf8();
}

// A notification of returns booked on `dia`, without the remittance's identifier.
QByteArray Camt054(const std::vector<Tx>& txs, const QString& dia = QStringLiteral("2026-03-15")) {
    QString t = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?><Document "
        "xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.054.001.02\"><BkToCstmrDbtCdtNtfctn>"
        "<GrpHdr><MsgId>N-1</MsgId><CreDtTm>2026-03-16T08:00:00</CreDtTm></GrpHdr><Ntfctn>"
        "<Id>1</Id><Acct><Id><IBAN>ES5812345678010123456789</IBAN></Id></Acct>");
    for (const Tx& x : txs)
        t += QStringLiteral(
                 "<Ntry><Amt Ccy=\"%5\">%3</Amt><CdtDbtInd>DBIT</CdtDbtInd><Sts>BOOK</Sts>"
                 "<BookgDt><Dt>%4</Dt></BookgDt><NtryDtls><TxDtls><Refs><EndToEndId>%1"
                 "</EndToEndId></Refs><AmtDtls><TxAmt><Amt Ccy=\"%5\">%3</Amt></TxAmt>"
                 "</AmtDtls><RtrInf><Rsn><Cd>%2</Cd></Rsn></RtrInf></TxDtls></NtryDtls></Ntry>")
                 .arg(x.referencia, x.codigo, x.importe, dia, x.moneda);
    return (t + QStringLiteral("</Ntfctn></BkToCstmrDbtCdtNtfctn></Document>")).toUtf8();
}

// "101 Devuelto AM04 2026-03-09" for each receipt of the list on `dia`.
QStringList Estados(Registro& reg, const QDate& dia) {
    QStringList estados;
    QSqlQuery q(reg.Base());
    q.exec(QStringLiteral("SELECT id, numero FROM recibos ORDER BY id"));
    while (q.next()) {
        const auto h = registro::HechosDe(reg.Base(), q.value(0).toLongLong());
        const registro::EstadoCobro e = registro::EstadoEn(h.value_or(HechosCobro{}), dia);
        QStringList partes{q.value(1).toString(), registro::NombreEstado(e.estado)};
        if (!e.motivo.isEmpty())
            partes << e.motivo;
        if (e.fecha.isValid())
            partes << e.fecha.toString(Qt::ISODate);
        estados << partes.join(QLatin1Char(' '));
    }
    return estados;
}

// The state of each receipt on `dia` by the window's SQL, then by EstadoEn(): they must agree.
QStringList PorSql(Registro& reg, const QDate& dia, bool programa = false) {
    QStringList nombres;
    QSqlQuery q(reg.Base());
    q.exec(QStringLiteral("SELECT %1, id FROM recibos ORDER BY id").arg(registro::EstadoSql(dia)));
    while (q.next()) {
        const auto hechos = registro::HechosDe(reg.Base(), q.value(1).toLongLong());
        nombres << (programa ? registro::NombreEstado(registro::EstadoEn(*hechos, dia).estado)
                             : q.value(0).toString());
    }
    return nombres;
}

QByteArray Leer(const QString& ruta) {
    QFile f(ruta);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The accountant's export of the whole register on 1 January 2100, states included.
QByteArray Exportado(Registro& reg, const QString& archivo) {
    QString error;
    return registro::ExportarCsv(reg.Base(), {}, {}, archivo, error, nullptr, QDate(2100, 1, 1),
                                 false)
               ? Leer(archivo)
               : error.toUtf8();
}

qint64 Contar(Registro& reg, const QString& sql) {
    QSqlQuery q(reg.Base());
    return q.exec(sql) && q.next() ? q.value(0).toLongLong() : -1;
}

sepa::Fecha FechaSepa(const QDate& d) {
    return sepa::Fecha{std::chrono::year(d.year()), std::chrono::month(unsigned(d.month())),
                       std::chrono::day(unsigned(d.day()))};
}

// A bank's report as a file; false when it cannot be written whole.
bool Escribir(const QString& ruta, const QByteArray& datos) {
    QFile f(ruta);
    return f.open(QIODevice::WriteOnly) && f.write(datos) == datos.size() && f.flush();
}

} // namespace

class TestRegistroCobros : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void estado_data();
    void estado();
    void migracion_data();
    void migracion();
    void informes_data();
    void informes();
    void cobradoAManoSeDeshace();
    void devueltosOtraVez_data();
    void devueltosOtraVez();
};

void TestRegistroCobros::init() {
    if (const QString motivo = registrotest::SinServidor(); !motivo.isEmpty())
        QSKIP(qPrintable(motivo));
}

void TestRegistroCobros::estado_data() {
    QTest::addColumn<HechosCobro>("hechos");
    QTest::addColumn<QDate>("dia");
    QTest::addColumn<Estado>("estado");
    QTest::addColumn<QDate>("fecha");
    QTest::addColumn<QString>("motivo");
    const QDate d5(2026, 3, 5), d9(2026, 3, 9), d10(2026, 3, 10), d20(2026, 3, 20);
    const QDate abril(2026, 4, 20), mayo(2026, 5, 4);
    const HechosCobro remesa = Hechos({EnRemesa(d5, d10)});
    const HechosCobro reembolso = Hechos({EnRemesa(d5, d10), Devuelto(abril, "MD06")});
    const HechosCobro otraVez =
        Hechos({EnRemesa(d5, d10), Devuelto(d9, "AM04"), EnRemesa(d20, mayo)});
    // clang-format off
    // --- in no remittance
    QTest::newRow("issued from this version: pendiente")     << Hechos({}) << d5 << Estado::Pendiente << QDate() << "";
    QTest::newRow("recorded before: sin seguimiento")         << Hechos({}, false) << d5 << Estado::SinSeguimiento << QDate() << "";
    QTest::newRow("recorded before, paid by hand")            << Hechos({Cobrado(d9)}, false) << d20 << Estado::Cobrado << d9 << "";
    QTest::newRow("paid by hand, the day before")             << Hechos({Cobrado(d9)}) << QDate(2026, 3, 8) << Estado::Pendiente << QDate() << "";
    // --- a remittance and its collection date
    QTest::newRow("the day before it was made")               << remesa << QDate(2026, 3, 4) << Estado::Pendiente << QDate() << "";
    QTest::newRow("made, not collected yet: en remesa")      << remesa << d9 << Estado::EnRemesa << d10 << "";
    QTest::newRow("on its collection date: cobrado")          << remesa << d10 << Estado::Cobrado << d10 << "";
    QTest::newRow("long after, no return: cobrado")           << remesa << mayo << Estado::Cobrado << d10 << "";
    QTest::newRow("collection date not kept: cobrado")        << Hechos({EnRemesa(d5, {})}) << d9 << Estado::Cobrado << QDate() << "";
    // --- returns
    QTest::newRow("rejected before collection")               << Hechos({EnRemesa(d5, d10), Devuelto(d9, "AM04")}) << d20 << Estado::Devuelto << d9 << "AM04";
    QTest::newRow("refund asked for: cobrado until then")     << reembolso << QDate(2026, 4, 19) << Estado::Cobrado << d10 << "";
    QTest::newRow("refund asked for: devuelto from then")     << reembolso << abril << Estado::Devuelto << abril << "MD06";
    QTest::newRow("unauthorised, a year on: devuelto")        << Hechos({EnRemesa(d5, d10), Devuelto(QDate(2027, 2, 1), "MD01")}) << QDate(2027, 2, 1) << Estado::Devuelto << QDate(2027, 2, 1) << "MD01";
    QTest::newRow("returned, then paid by hand")              << Hechos({EnRemesa(d5, d10), Devuelto(d9, "AM04"), Cobrado(d20)}) << d20 << Estado::Cobrado << d20 << "";
    // --- presented again
    QTest::newRow("presented again: en remesa")               << otraVez << abril << Estado::EnRemesa << mayo << "";
    QTest::newRow("presented again, before it was made")      << otraVez << QDate(2026, 3, 19) << Estado::Devuelto << d9 << "AM04";
    QTest::newRow("presented again and collected")            << otraVez << mayo << Estado::Cobrado << mayo << "";
    // --- cancelled
    QTest::newRow("cancelled: anulado whatever happened")     << Hechos({EnRemesa(d5, d10)}, true, true) << d20 << Estado::Anulado << QDate() << "";
    // clang-format on
}

void TestRegistroCobros::estado() {
    QFETCH(HechosCobro, hechos);
    QFETCH(QDate, dia);
    QFETCH(Estado, estado);
    QFETCH(QDate, fecha);
    QFETCH(QString, motivo);
    const registro::EstadoCobro e = registro::EstadoEn(hechos, dia);
    QCOMPARE(registro::NombreEstado(e.estado), registro::NombreEstado(estado));
    QCOMPARE(e.fecha, fecha);
    QCOMPARE(e.motivo, motivo);
}

// A file of version 5 or 4 (what version 6 added taken off, the remittance column too for 4)
// with a receipt debited by a remittance and one in none: both sin seguimiento, the first in
// its remittance with what was kept (collected, its collection date unknown), and a receipt
// recorded afterwards pendiente. Read without migrating, the file gives the same states.
void TestRegistroCobros::migracion_data() {
    QTest::addColumn<int>("version");
    QTest::newRow("from version 5") << 5;
    QTest::newRow("from version 4") << 4;
}

void TestRegistroCobros::migracion() {
    SOLO_SQLITE();
    QFETCH(int, version);
    QTemporaryDir dir;
    const QString ruta = dir.filePath(QStringLiteral("recibos.sqlite"));
    {
        Registro reg(ruta);
        QVERIFY(reg.Anotar(sample::Filled(), QStringLiteral("PDF")));
        CRecibo otro = sample::Filled();
        otro.m_Numero = "Ñ-18";
        QVERIFY(reg.Anotar(otro, QStringLiteral("PDF")));
        QSqlQuery q(reg.Base());
        for (const char* sql :
             {"UPDATE recibos SET remesa = 'VIEJA' WHERE id = 2", "DROP TABLE cambios_cobro",
              "DROP TABLE remesas_recibo", "ALTER TABLE recibos DROP COLUMN seguimiento",
              "ALTER TABLE recibos DROP COLUMN anulado"})
            QVERIFY2(q.exec(QLatin1String(sql)), qPrintable(q.lastError().text()));
        QVERIFY(q.exec(QStringLiteral("PRAGMA user_version = %1").arg(version)));
    }
    QByteArray leido;
    {
        Registro soloLeer(ruta);
        QVERIFY2(soloLeer.AbrirParaLeer(), qPrintable(soloLeer.Error()));
        leido = Exportado(soloLeer, dir.filePath(QStringLiteral("leido.csv")));
    }
    Registro reg(ruta);
    QVERIFY2(reg.Abrir(), qPrintable(reg.Error()));
    QCOMPARE(Contar(reg, QStringLiteral("PRAGMA user_version")), registro::Registro::VERSION);
    QCOMPARE(leido, Exportado(reg, dir.filePath(QStringLiteral("migrado.csv"))));
    QVERIFY(leido.contains(";Cobrado;"));
    QVERIFY(reg.Anotar(sample::Filled(), QStringLiteral("PDF")));
    QSqlQuery q(reg.Base());
    QVERIFY(q.exec(QStringLiteral("SELECT recibo, remesa, referencia, centimos, cobro IS NULL, "
                                  "mandato IS NULL FROM remesas_recibo")));
    // One row. The reference as the file wrote it, in the banks' characters; 156,1056 € printed
    // 156,11.
    QStringList filas;
    while (q.next())
        for (int c = 0; c < 6; ++c)
            filas << q.value(c).toString();
    QCOMPARE(filas, QStringList({"2", "VIEJA", "N-18", "15611", "1", "1"}));
    QCOMPARE(Estados(reg, QDate(2100, 1, 1)),
             QStringList({"17 Sin seguimiento", "Ñ-18 Cobrado", "17 Pendiente"}));
    QCOMPARE(PorSql(reg, QDate(2100, 1, 1)), PorSql(reg, QDate(2100, 1, 1), true));
}

void TestRegistroCobros::informes_data() {
    QTest::addColumn<QList<QByteArray>>("informes"); // applied in turn; the last one counted
    QTest::addColumn<QList<int>>("cuentas");         // applied, already applied, not applied
    QTest::addColumn<QStringList>("estados");        // on 1 April 2026
    QTest::addColumn<QString>("noAplicada");         // the reason of the first not applied
    const QString c101 = QStringLiteral("101 Cobrado 2026-03-10");
    const QString c102 = QStringLiteral("102 Cobrado 2026-03-10");
    const QString c103 = QStringLiteral("103 Cobrado 2026-03-10");
    const QStringList nada{c101, c102, c103};
    const QByteArray rechazos =
        Pain002(kRemesa, {{"101", "AM04"}, {"102", "MD01"}, {"103", "ZZ99"}});
    // clang-format off
    QTest::newRow("pain.002 with several reasons")
        << QList<QByteArray>{rechazos} << QList<int>{3, 0, 0}
        << QStringList{"101 Devuelto AM04 2026-03-09", "102 Devuelto MD01 2026-03-09", "103 Devuelto ZZ99 2026-03-09"} << "";
    QTest::newRow("camt.054 without the remittance")
        << QList<QByteArray>{Camt054({{"103", "MD06"}})} << QList<int>{1, 0, 0}
        << QStringList{c101, c102, "103 Devuelto MD06 2026-03-15"} << "";
    QTest::newRow("the same report twice")
        << QList<QByteArray>{rechazos, rechazos} << QList<int>{0, 3, 0}
        << QStringList{"101 Devuelto AM04 2026-03-09", "102 Devuelto MD01 2026-03-09", "103 Devuelto ZZ99 2026-03-09"} << "";
    QTest::newRow("an unknown receipt beside a known one")
        << QList<QByteArray>{Pain002(kRemesa, {{"999", "AM04"}, {"102", "AM04"}})} << QList<int>{1, 0, 1}
        << QStringList{c101, "102 Devuelto AM04 2026-03-09", c103} << "ningún recibo de la remesa «REM-1» tiene la referencia «999»";
    QTest::newRow("another creditor")
        << QList<QByteArray>{Pain002(kRemesa, {{"101", "AM04", "156.11", QStringLiteral("ES11ZZZB12345674")}})} << QList<int>{0, 0, 1}
        << nada << "es de otro acreedor («ES11ZZZB12345674»; el de la remesa es «ES72000H50123456»)";
    QTest::newRow("a wrong amount")
        << QList<QByteArray>{Pain002(kRemesa, {{"101", "AM04", "156.10"}})} << QList<int>{0, 0, 1}
        << nada << "el importe no coincide: el informe dice 156,10 € y la remesa cobró 156,11 €";
    QTest::newRow("another mandate")
        << QList<QByteArray>{Pain002(kRemesa, {{"101", "AM04", "156.11", kAcreedor, QStringLiteral("M-999")}})} << QList<int>{0, 0, 1}
        << nada << "el mandato no coincide: el informe dice «M-999» y la remesa usó «M-101»";
    QTest::newRow("an amount the report does not give")
        << QList<QByteArray>{QByteArray("<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.03\"><CstmrPmtStsRpt><GrpHdr><MsgId>B-2</MsgId><CreDtTm>2026-03-09T08:00:00</CreDtTm></GrpHdr><OrgnlGrpInfAndSts><OrgnlMsgId>REM-1</OrgnlMsgId><OrgnlMsgNmId>pain.008.001.08</OrgnlMsgNmId></OrgnlGrpInfAndSts><OrgnlPmtInfAndSts><OrgnlPmtInfId>REM-1-RCUR</OrgnlPmtInfId><TxInfAndSts><OrgnlEndToEndId>101</OrgnlEndToEndId><TxSts>RJCT</TxSts><StsRsnInf><Rsn><Cd>AM04</Cd></Rsn></StsRsnInf></TxInfAndSts></OrgnlPmtInfAndSts></CstmrPmtStsRpt></Document>")} << QList<int>{0, 0, 1}
        << nada << "el informe no da el importe, y sin él no se puede comprobar que sea el del recibo";
    QTest::newRow("camt.054 with one amount in dollars")
        << QList<QByteArray>{Camt054({{"101", "MD06"}, {"102", "MD06", "156.11", kAcreedor, {}, "USD"}})} << QList<int>{1, 0, 1}
        << QStringList{"101 Devuelto MD06 2026-03-15", c102, c103} << "el informe da el importe en USD";
    QTest::newRow("pain.002 with one amount of three decimals")
        << QList<QByteArray>{Pain002(kRemesa, {{"101", "AM04"}, {"102", "AM04", "156.115"}})} << QList<int>{1, 0, 1}
        << QStringList{"101 Devuelto AM04 2026-03-09", c102, c103} << "el importe «156.115» no es un importe en euros";
    QTest::newRow("camt.054 with one amount of zero")
        << QList<QByteArray>{Camt054({{"101", "MD06"}, {"102", "MD06", "0.00"}})} << QList<int>{1, 0, 1}
        << QStringList{"101 Devuelto MD06 2026-03-15", c102, c103} << "el importe «0.00» no es un importe en euros";
    QTest::newRow("a remittance of another register")
        << QList<QByteArray>{Pain002(QStringLiteral("REM-2"), {{"101", "AM04"}})} << QList<int>{0, 0, 1}
        << nada << "la remesa «REM-2» no es de este registro";
    QTest::newRow("a file of another type")
        << QList<QByteArray>{QByteArray("<?xml version=\"1.0\"?><Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.008.001.08\"><CstmrDrctDbtInitn/></Document>")}
        << QList<int>{0, 0, 0} << nada << "";
    // clang-format on
}

void TestRegistroCobros::informes() {
    QFETCH(QList<QByteArray>, informes);
    QFETCH(QList<int>, cuentas);
    QFETCH(QStringList, estados);
    QFETCH(QString, noAplicada);
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    auto reg = RegistroConRemesa(base.Ubicacion());
    registro::Importacion imp;
    for (qsizetype i = 0; i < informes.size(); ++i) {
        const QString archivo = dir.filePath(QStringLiteral("informe-%1.xml").arg(i));
        QVERIFY(Escribir(archivo, informes[i]));
        imp = registro::ImportarDevoluciones(*reg, archivo, kAcreedor);
    }
    using R = registro::EntradaImportada::Resultado;
    QCOMPARE(QList<int>({int(imp.Cuantas(R::Aplicada)), int(imp.Cuantas(R::YaAplicada)),
                         int(imp.Cuantas(R::NoAplicada))}),
             cuentas);
    QCOMPARE(imp.noEsInforme, cuentas == QList<int>({0, 0, 0}));
    QString primera;
    for (const registro::EntradaImportada& e : imp.entradas)
        if (e.resultado == R::NoAplicada && primera.isEmpty())
            primera = e.motivo;
    QCOMPARE(primera, noAplicada);
    QCOMPARE(Estados(*reg, QDate(2026, 4, 1)), estados);
    for (const QDate& dia : {QDate(2026, 3, 8), QDate(2026, 3, 9), QDate(2026, 3, 15)})
        QCOMPARE(PorSql(*reg, dia), PorSql(*reg, dia, true));
}

void TestRegistroCobros::cobradoAManoSeDeshace() {
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    Registro reg(base.Ubicacion());
    QVERIFY(reg.Anotar(sample::Filled(), QStringLiteral("PDF")));
    QString error;
    const QDate dia(2026, 3, 2);
    QVERIFY(registro::MarcarCobrado(reg, {1}, dia, error));
    QCOMPARE(Estados(reg, dia), QStringList({"17 Cobrado 2026-03-02"}));
    QCOMPARE(registro::DeshacerCobro(reg, {1}, error), 1);
    QCOMPARE(Estados(reg, dia), QStringList({"17 Pendiente"}));
    QCOMPARE(PorSql(reg, dia), PorSql(reg, dia, true));
    // Nothing left to undo; the mark and its undoing both stay in the history.
    QCOMPARE(registro::DeshacerCobro(reg, {1}, error), 0);
    QCOMPARE(Contar(reg, QStringLiteral("SELECT count(*) FROM cambios_cobro")), 2);
}

void TestRegistroCobros::devueltosOtraVez_data() {
    QTest::addColumn<QString>("version");
    QTest::addColumn<int>("gastos"); // cents charged to each payer for the return; 0: none
    QTest::newRow("pain.008.001.08") << QStringLiteral("pain.008.001.08") << 0;
    QTest::newRow("pain.008.001.02") << QStringLiteral("pain.008.001.02") << 0;
    QTest::newRow("pain.008.001.08 with the fee") << QStringLiteral("pain.008.001.08") << 350;
    QTest::newRow("pain.008.001.02 with the fee") << QStringLiteral("pain.008.001.02") << 350;
}

// 101 returned for lack of funds and 102 for a closed account: a new remittance of 101 alone,
// valid against its schema, 102 named as left out; 101 en remesa again, its first remittance
// kept; with a fee, receipt «104» charges it to 101's payer in the same remittance; and then
// nothing more to collect, so no file. A file that cannot be written changes nothing.
void TestRegistroCobros::devueltosOtraVez() {
    QFETCH(QString, version);
    QFETCH(int, gastos);
    QTemporaryDir dir;
    registrotest::BaseDePrueba base(dir.filePath(QStringLiteral("recibos.sqlite")));
    QVERIFY2(base.Error().isEmpty(), qPrintable(base.Error()));
    auto reg = RegistroConRemesa(base.Ubicacion());
    const QString informe = dir.filePath(QStringLiteral("rechazos.xml"));
    QVERIFY(Escribir(informe, Pain002(kRemesa, {{"101", "AM04"}, {"102", "AC04"}})));
    QCOMPARE(registro::ImportarDevoluciones(*reg, informe, kAcreedor).entradas.size(), 2u);
    // 101's payer also asks for a refund, booked the day it is collected again.
    const QString reembolso = dir.filePath(QStringLiteral("reembolso.xml"));
    QVERIFY(Escribir(reembolso, Camt054({{"101", "MD06"}}, QStringLiteral("2026-03-20"))));
    using R = registro::EntradaImportada::Resultado;
    QCOMPARE(registro::ImportarDevoluciones(*reg, reembolso, kAcreedor).Cuantas(R::Aplicada), 1);

    const QDate hoy(2026, 3, 20);
    registro::PedidoDevueltos pedido;
    pedido.ruta = dir.filePath(QStringLiteral("otra-vez.xml"));
    const sepa::Fecha cobro = sepa::PrimerDiaValido(FechaSepa(hoy), FechaSepa(hoy));
    pedido.cobro =
        QDate(int(cobro.year()), int(unsigned(cobro.month())), int(unsigned(cobro.day())));
    pedido.acreedor = sample::AcreedorEjemplo();
    pedido.formato = sepa::FormatoDeRemesa(version);
    pedido.gastos = gastos;
    // Only 102 chosen, as in the window: it may not be collected again, so nothing is written.
    pedido.recibos = {2};
    const registro::RemesaDeDevueltos solo102 = registro::RemesaDevueltos(*reg, pedido, hoy);
    QVERIFY(solo102.ninguno);
    QCOMPARE(solo102.excluidos.size(), 1);
    QVERIFY(!QFile::exists(pedido.ruta));
    pedido.recibos.clear();
    // A file that cannot be written, once the receipts are recorded in it: all taken back.
    const QStringList devueltos = Estados(*reg, hoy);
    const QString ruta = pedido.ruta;
    pedido.ruta = dir.filePath(QStringLiteral("no-hay/otra-vez.xml"));
    const registro::RemesaDeDevueltos sinCarpeta = registro::RemesaDevueltos(*reg, pedido, hoy);
    QVERIFY2(sinCarpeta.error.contains(QStringLiteral("la carpeta no existe")),
             qPrintable(sinCarpeta.error));
    QCOMPARE(Estados(*reg, hoy), devueltos);
    // In REM-1 still, with its three debits; no list added.
    QCOMPARE(QList<qint64>({Contar(*reg, QStringLiteral("SELECT count(*) FROM recibos WHERE remesa "
                                                        "= 'REM-1'")),
                            Contar(*reg, QStringLiteral("SELECT count(*) FROM remesas_recibo")),
                            Contar(*reg, QStringLiteral("SELECT count(*) FROM lotes"))}),
             QList<qint64>({3, 3, 1}));
    pedido.ruta = ruta;
    const registro::RemesaDeDevueltos r = registro::RemesaDevueltos(*reg, pedido, hoy);
    QVERIFY2(r.Escrita(), qPrintable(r.error));
    QCOMPARE(r.escrita.adeudos, gastos > 0 ? 2 : 1);
    QCOMPARE(r.gastos, gastos > 0 ? QStringList{"104"} : QStringList{});
    QCOMPARE(r.excluidos, QStringList({"Recibo «102»: devuelto por AC04 (Cuenta cancelada), que "
                                       "no permite volver a cobrarlo"}));

    QProcess xmllint;
    const QString esquema = version.endsWith(QLatin1String("08"))
                                ? QStringLiteral(TALVERO_SEPA_DATOS "/pain.008.001.08.xsd")
                                : QStringLiteral(TALVERO_SEPA_XSD);
    xmllint.start(QStringLiteral("xmllint"),
                  {QStringLiteral("--noout"), QStringLiteral("--schema"), esquema, pedido.ruta});
    QVERIFY(xmllint.waitForFinished());
    QCOMPARE(QString::fromUtf8(xmllint.readAllStandardError()),
             pedido.ruta + QStringLiteral(" validates\n"));
    const QByteArray xml = Leer(pedido.ruta);
    for (const char* parte : {"<EndToEndId>101</EndToEndId>", "<SeqTp>RCUR</SeqTp>",
                              "<MndtId>M-101</MndtId>", "<InstdAmt Ccy=\"EUR\">156.11</InstdAmt>"})
        QVERIFY2(xml.contains(parte), parte);

    const QString enRemesa = QStringLiteral(" En remesa ") + pedido.cobro.toString(Qt::ISODate);
    QStringList estados{"101" + enRemesa, "102 Devuelto AC04 2026-03-09", "103 Cobrado 2026-03-10"};
    if (gastos > 0) {
        estados << "104" + enRemesa;
        for (const char* parte :
             {"<EndToEndId>104</EndToEndId>", "<InstdAmt Ccy=\"EUR\">3.50</InstdAmt>",
              "Recibo 104: Gastos de devolucion del recibo 101"})
            QVERIFY2(xml.contains(parte), parte);
        QCOMPARE(xml.count("<MndtId>M-101</MndtId>"), 2);
        const std::optional<CRecibo> recibo = reg->Cargar(
            Contar(*reg, QStringLiteral("SELECT id FROM recibos WHERE numero = '104'")));
        QVERIFY2(recibo.has_value(), qPrintable(reg->Error()));
        QCOMPARE(recibo->m_Concepto1, std::string("Gastos de devolución del recibo 101"));
        QCOMPARE(recibo->m_Pagador1, sample::Filled().m_Pagador1);
    }
    // The refund read again is still the first remittance's, not the new one's.
    const registro::Importacion otraVez =
        registro::ImportarDevoluciones(*reg, reembolso, kAcreedor);
    QCOMPARE(QList<qint64>({otraVez.Cuantas(R::Aplicada), otraVez.Cuantas(R::YaAplicada)}),
             QList<qint64>({0, 1}));
    QCOMPARE(Estados(*reg, hoy), estados);
    QCOMPARE(Contar(*reg, QStringLiteral("SELECT count(*) FROM remesas_recibo WHERE recibo = 1")),
             2);
    for (const QDate& dia : {hoy, pedido.cobro})
        QCOMPARE(PorSql(*reg, dia), PorSql(*reg, dia, true));

    pedido.ruta = dir.filePath(QStringLiteral("nada.xml"));
    const registro::RemesaDeDevueltos otra = registro::RemesaDevueltos(*reg, pedido, hoy);
    QVERIFY(otra.ninguno);
    QVERIFY(!QFile::exists(pedido.ruta));
}

QTEST_GUILESS_MAIN(TestRegistroCobros)
#include "test_registro_cobros.moc"
