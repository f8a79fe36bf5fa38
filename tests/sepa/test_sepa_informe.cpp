// The bank's reports of debits that come back, read: hand-written reports in data/informes/,
// each valid against its schema, and files that are no report or no XML at all; and the
// reason codes with their meaning and whether the receipt may go again.
#include "sepa/InformeBanco.h"
#include "sepa/MotivosDevolucion.h"

#include <QFile>
#include <QProcess>
#include <QtTest>

namespace {

QByteArray Archivo(const QString& nombre) {
    QFile f(QStringLiteral(TALVERO_SEPA_DATOS "/") + nombre);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString Xmllint(const QString& ruta, const QString& esquema) {
    QProcess p;
    p.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--schema"),
                                        QStringLiteral(TALVERO_SEPA_DATOS "/") + esquema, ruta});
    p.waitForFinished();
    return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardError());
}

// One returned debit in a line, so that a table row reads as the bank's list:
// "remesa|referencia|céntimos|motivo|fecha|acreedor|mandato".
QString EnUnaLinea(const sepa::Devolucion& d) {
    return QStringList{d.msgId,
                       d.endToEndId,
                       QString::number(d.centimos),
                       d.motivo,
                       d.fecha.toString(Qt::ISODate),
                       d.acreedor,
                       d.mandato}
               .join(u'|') +
           (d.bloque.isEmpty() ? QString() : QStringLiteral("|bloque ") + d.bloque);
}

const QString kRemesa = QStringLiteral("R20260406093000000000AZZ01K7Q2");
const QString kAcreedor = QStringLiteral("ES72000H50123456");

} // namespace

class TestSepaInforme : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void informes_data();
    void informes();
    void motivos_data();
    void motivos();
    void tablaDeMotivos();
};

void TestSepaInforme::informes_data() {
    // clang-format off
    QTest::addColumn<QByteArray>("documento");
    QTest::addColumn<QString>("esquema");
    QTest::addColumn<int>("tipo");
    QTest::addColumn<QStringList>("devoluciones");
    QTest::addColumn<QString>("error");
    const int estado = int(sepa::TipoInforme::EstadoDePagos);
    const int notificacion = int(sepa::TipoInforme::NotificacionDeAdeudos);
    const int ninguno = int(sepa::TipoInforme::Ninguno);
    const QString ajeno = QStringLiteral("El archivo no es un informe de devoluciones del banco que este programa lea (pain.002.001.03 o camt.054.001.02): su elemento raíz es ");

    // Rejections: one with its own reason, one with its block's, one amount written "250.5"
    QTest::newRow("estado de pagos con tres rechazos") << Archivo(QStringLiteral("informes/rechazos-pain.002.001.03.xml")) << "pain.002.001.03.xsd" << estado << QStringList{
        kRemesa + "|33|8000|AC04|2026-04-09|" + kAcreedor + "|ALQ-2026-033",
        kRemesa + "|31|12000|MS03|2026-04-09|" + kAcreedor + "|SOC-031",
        kRemesa + "|32|25050|MD07|2026-04-09|" + kAcreedor + "|SOC-032"} << "";
    QTest::newRow("estado de pagos que rechaza la remesa entera") << Archivo(QStringLiteral("informes/remesa-rechazada-pain.002.001.03.xml")) << "pain.002.001.03.xsd" << estado << QStringList{
        "R20240301101500123000AZZ01K7Q2||161111|FF01|2024-03-04||"} << "";
    QTest::newRow("estado de pagos que rechaza un bloque sin nombrar sus adeudos") << QByteArray("<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.03\"><CstmrPmtStsRpt><GrpHdr><MsgId>B-1</MsgId><CreDtTm>2026-04-09T08:00:00</CreDtTm></GrpHdr><OrgnlGrpInfAndSts><OrgnlMsgId>" + kRemesa.toLatin1() + "</OrgnlMsgId><OrgnlMsgNmId>pain.008.001.08</OrgnlMsgNmId></OrgnlGrpInfAndSts><OrgnlPmtInfAndSts><OrgnlPmtInfId>" + kRemesa.toLatin1() + "-FRST</OrgnlPmtInfId><OrgnlNbOfTxs>2</OrgnlNbOfTxs><OrgnlCtrlSum>200.00</OrgnlCtrlSum><PmtInfSts>RJCT</PmtInfSts><StsRsnInf><Rsn><Cd>MS03</Cd></Rsn></StsRsnInf></OrgnlPmtInfAndSts></CstmrPmtStsRpt></Document>") << "pain.002.001.03.xsd" << estado << QStringList{
        kRemesa + "||20000|MS03|2026-04-09|||bloque " + kRemesa + "-FRST"} << "";
    // Returns: two booked together, one by its date and time, one pending without a date;
    // a credit, an announced entry and a fee left out
    QTest::newRow("notificación con devoluciones") << Archivo(QStringLiteral("informes/devoluciones-camt.054.001.02.xml")) << "camt.054.001.02.xsd" << notificacion << QStringList{
        kRemesa + "|31|12000|MD06|2026-04-17|" + kAcreedor + "|SOC-031",
        "|32|25050|AM04|2026-04-17||",
        "|33|8000|MD01|2026-04-18||ALQ-2026-033",
        "|19|1561|AC01|2026-04-20||"} << "";
    // Other files
    QTest::newRow("una remesa, no un informe") << Archivo(QStringLiteral("remesa-pain.008.001.02.xml")) << "" << ninguno << QStringList{}
        << ajeno + "«Document» con «CstmrDrctDbtInitn» dentro, con el espacio de nombres «urn:iso:std:iso:20022:tech:xsd:pain.008.001.02».";
    QTest::newRow("un extracto de cuenta") << QByteArray("<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:camt.053.001.02\"><BkToCstmrStmt/></Document>") << "" << ninguno << QStringList{}
        << ajeno + "«Document» con «BkToCstmrStmt» dentro, con el espacio de nombres «urn:iso:std:iso:20022:tech:xsd:camt.053.001.02».";
    QTest::newRow("otra versión del estado de pagos") << QByteArray("<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.10\"><CstmrPmtStsRpt/></Document>") << "" << ninguno << QStringList{}
        << ajeno + "«Document» con «CstmrPmtStsRpt» dentro, con el espacio de nombres «urn:iso:std:iso:20022:tech:xsd:pain.002.001.10».";
    QTest::newRow("un XML sin espacio de nombres") << QByteArray("<recibos><recibo numero=\"7\"/></recibos>") << "" << ninguno << QStringList{}
        << ajeno + "«recibos» con «recibo» dentro, sin espacio de nombres.";
    QTest::newRow("informe cortado") << QByteArray("<?xml version=\"1.0\"?>\n<Document xmlns=\"urn:iso:std:iso:20022:tech:xsd:pain.002.001.03\">\n  <CstmrPmtStsRpt>\n    <GrpHdr>") << "" << ninguno << QStringList{}
        << "El archivo no es un XML legible (línea 4): se acaba antes de cerrar todos sus elementos.";
    QTest::newRow("etiquetas cruzadas") << QByteArray("<Document>\n<a><b></a></b>\n</Document>") << "" << ninguno << QStringList{}
        << "El archivo no es un XML legible (línea 2): no está bien formado.";
    QTest::newRow("una hoja de cálculo") << QByteArray("numero;total\n7;12,50\n") << "" << ninguno << QStringList{}
        << "El archivo no es un XML legible (línea 1): no está bien formado.";
    QTest::newRow("archivo vacío") << QByteArray() << "" << ninguno << QStringList{}
        << "El archivo no es un XML legible (línea 1): no tiene ningún elemento.";
    // clang-format on
}

void TestSepaInforme::informes() {
    QFETCH(QByteArray, documento);
    QFETCH(QString, esquema);
    QFETCH(int, tipo);
    QFETCH(QStringList, devoluciones);
    QFETCH(QString, error);
    if (!esquema.isEmpty()) {
        QTemporaryFile archivo;
        QVERIFY(archivo.open());
        archivo.write(documento);
        archivo.close();
        QCOMPARE(Xmllint(archivo.fileName(), esquema), QString());
    }
    const sepa::InformeBanco informe = sepa::LeerInformeBanco(documento);
    QCOMPARE(informe.error, error);
    QCOMPARE(int(informe.tipo), tipo);
    QStringList leidas;
    for (const sepa::Devolucion& d : informe.devoluciones)
        leidas << EnUnaLinea(d);
    QCOMPARE(leidas, devoluciones);
}

void TestSepaInforme::motivos_data() {
    // clang-format off
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("significado");
    QTest::addColumn<bool>("reintento");
    QTest::newRow("saldo insuficiente") << "AM04" << "Saldo insuficiente" << true;
    QTest::newRow("devolución pedida por el deudor") << "MD06" << "Devolución solicitada por el deudor" << true;
    QTest::newRow("rechazo del deudor sin motivo") << "MS02" << "Rechazada por el deudor, sin motivo" << true;
    QTest::newRow("cuenta incorrecta") << "AC01" << "Cuenta (IBAN) incorrecta" << false;
    QTest::newRow("cuenta cancelada") << "AC04" << "Cuenta cancelada" << false;
    QTest::newRow("cuenta bloqueada") << "AC06" << "Cuenta bloqueada" << false;
    QTest::newRow("sin mandato") << "MD01" << "Sin mandato / operación no autorizada" << false;
    QTest::newRow("deudor fallecido") << "MD07" << "Deudor fallecido" << false;
    QTest::newRow("duplicada") << "AM05" << "Operación duplicada" << false;
    QTest::newRow("en minúsculas y con espacios") << " md01 " << "Sin mandato / operación no autorizada" << false;
    QTest::newRow("código desconocido") << "xy99" << "Motivo «XY99» sin descripción" << true;
    // clang-format on
}

void TestSepaInforme::motivos() {
    QFETCH(QString, codigo);
    QFETCH(QString, significado);
    QFETCH(bool, reintento);
    QCOMPARE(QString::fromStdString(sepa::SignificadoMotivo(codigo.toStdString())), significado);
    QCOMPARE(sepa::PermiteReintento(codigo.toStdString()), reintento);
}

void TestSepaInforme::tablaDeMotivos() {
    // The fourteen common codes, ordered; exactly these forbid another attempt.
    QStringList codigos;
    QStringList sinReintento;
    for (const sepa::MotivoDevolucion& m : sepa::MotivosDevolucion()) {
        codigos << QString::fromLatin1(m.codigo.data(), qsizetype(m.codigo.size()));
        QVERIFY(!m.significado.empty());
        if (!m.reintentable)
            sinReintento << codigos.back();
    }
    QCOMPARE(codigos, (QStringList{"AC01", "AC04", "AC06", "AG01", "AM04", "AM05", "BE05", "FF01",
                                   "MD01", "MD06", "MD07", "MS02", "MS03", "SL01"}));
    QCOMPARE(sinReintento,
             (QStringList{"AC01", "AC04", "AC06", "AG01", "AM05", "MD01", "MD07", "SL01"}));
}

QTEST_GUILESS_MAIN(TestSepaInforme)
#include "test_sepa_informe.moc"
