// A list with IBANs and mandates collected by the bank through the real program: the
// remittance alone or with a PDF of every receipt, validated against the bank's official
// schema and read back, the register's rows and their remittance, and the refusals before
// anything is written.
#include "lista/RemesaLista.h"

#include "EjecutarTalvero.h"
#include "SampleAdeudos.h"
#include "platform/SettingsStore.h"
#include "sepa/AjustesAcreedor.h"

#include <QDir>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

const QString kLista = QStringLiteral(TALVERO_DOCS "/lista-remesa.csv");

using Salida = SalidaTalvero;

// The texts of the elements named `nombre`, in the file's order.
QStringList Valores(const QString& ruta, const QString& nombre) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {QStringLiteral("(no existe)")};
    QXmlStreamReader xml(&f);
    QStringList v;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == nombre)
            v << xml.readElementText(QXmlStreamReader::IncludeChildElements);
    }
    return v;
}

// The version a file says it is in: its namespace.
QString Version(const QString& ruta) {
    QFile f(ruta);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QXmlStreamReader xml(&f);
    xml.readNextStartElement();
    return xml.namespaceUri().toString().section(u':', -1);
}

// Validated against the schema of the version the file says it is in.
QString Xmllint(const QString& ruta) {
    const QString esquema = Version(ruta) == QLatin1String("pain.008.001.08")
                                ? QStringLiteral(TALVERO_SEPA_XSD_08)
                                : QStringLiteral(TALVERO_SEPA_XSD);
    QProcess p;
    p.start(QStringLiteral("xmllint"),
            {QStringLiteral("--noout"), QStringLiteral("--schema"), esquema, ruta});
    p.waitForFinished();
    return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardError());
}

} // namespace

class TestListaRemesa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void remesaSolaAnotaLosAdeudados();
    void conPdfAnotaTodos();
    void rechazosAntesDeEscribir_data();
    void rechazosAntesDeEscribir();
    void versionDelArchivo_data();
    void versionDelArchivo();

private:
    Salida Talvero(const QStringList& argumentos);
    void Acreedor(const sepa::Acreedor& acreedor);
    // receipts in the register: "numero|remesa"
    QStringList Registro();

    std::unique_ptr<QTemporaryDir> dir_;
    QString cobro_; // the first day the bank can collect, yyyy-mm-dd
};

void TestListaRemesa::init() {
    dir_ = std::make_unique<QTemporaryDir>();
    const sepa::Fecha hoy = sepa::Hoy();
    cobro_ = QString::fromStdString(sepa::TextoIso(sepa::PrimerDiaValido(hoy, hoy)));
    Acreedor(sample::AcreedorEjemplo());
}

void TestListaRemesa::Acreedor(const sepa::Acreedor& acreedor) {
    platform::SettingsStore ajustes(AjustesDeTalvero(dir_->path()));
    sepa::EscribirAcreedor(ajustes, acreedor);
    ajustes.Flush();
}

Salida TestListaRemesa::Talvero(const QStringList& argumentos) {
    return EjecutarTalvero(dir_->path(), argumentos);
}

QStringList TestListaRemesa::Registro() {
    return FilasDelRegistro(
        dir_->path(), QStringLiteral("SELECT numero, remesa FROM recibos ORDER BY id"),
        [](const QSqlQuery& q) { return q.value(0).toString() + u'|' + q.value(1).toString(); });
}

void TestListaRemesa::remesaSolaAnotaLosAdeudados() {
    const QString xml = dir_->filePath(QStringLiteral("marzo.xml"));
    const Salida s =
        Talvero({"--emitir-lista", kLista, "--remesa", "marzo.xml", "--fecha-cobro", cobro_});
    QCOMPARE(s.errores, QString());
    QCOMPARE(s.estado, 0);
    QCOMPARE(Xmllint(xml), QString());
    const QString msgId = Valores(xml, QStringLiteral("MsgId")).value(0);
    QCOMPARE(s.salida, QStringLiteral("Remesa %1: 2 adeudos, 1.410,00 €; 1 recibo sin IBAN queda "
                                      "fuera a %2\n")
                           .arg(msgId, xml));
    QCOMPARE(Valores(xml, QStringLiteral("EndToEndId")), (QStringList{"2", "1"})); // FRST first
    QCOMPARE(Valores(xml, QStringLiteral("InstdAmt")), (QStringList{"760.00", "650.00"}));
    QCOMPARE(Valores(xml, QStringLiteral("CtrlSum")), (QStringList{"1410.00", "760.00", "650.00"}));
    QCOMPARE(Valores(xml, QStringLiteral("ReqdColltnDt")), (QStringList{cobro_, cobro_}));
    QCOMPARE(Valores(xml, QStringLiteral("MndtId")), (QStringList{"ALQ-2024-002", "ALQ-2021-001"}));
    // Only the debited receipts left the program, each kept as the file debits it, for the
    // bank's answer and for collecting it again.
    QCOMPARE(Registro(), (QStringList{"1|" + msgId, "2|" + msgId}));
    QCOMPARE(FilasDelRegistro(dir_->path(),
                              QStringLiteral("SELECT referencia, mandato, centimos, cobro, remesa "
                                             "FROM remesas_recibo ORDER BY recibo"),
                              [](const QSqlQuery& q) {
                                  QStringList v;
                                  for (int i = 0; i < 5; ++i)
                                      v << q.value(i).toString();
                                  return v.join(u'|');
                              }),
             (QStringList{"1|ALQ-2021-001|65000|" + cobro_ + u'|' + msgId,
                          "2|ALQ-2024-002|76000|" + cobro_ + u'|' + msgId}));
}

void TestListaRemesa::conPdfAnotaTodos() {
    const Salida s = Talvero({"--emitir-lista", kLista, "--pdf", "marzo.pdf", "--remesa",
                              "marzo.xml", "--fecha-cobro", cobro_});
    QCOMPARE(s.errores, QString());
    QCOMPARE(s.estado, 0);
    const QString xml = dir_->filePath(QStringLiteral("marzo.xml"));
    QCOMPARE(Xmllint(xml), QString());
    QVERIFY(QFileInfo(dir_->filePath(QStringLiteral("marzo.pdf"))).size() > 0);
    const QString msgId = Valores(xml, QStringLiteral("MsgId")).value(0);
    QCOMPARE(Registro(), (QStringList{"1|" + msgId, "2|" + msgId, "3|"}));
}

void TestListaRemesa::rechazosAntesDeEscribir_data() {
    QTest::addColumn<QString>("caso");
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("errores");

    const sepa::Fecha hoy = sepa::Hoy();
    sepa::Fecha sabado = hoy;
    while (std::chrono::weekday(std::chrono::sys_days(sabado)) != std::chrono::Saturday)
        sabado = std::chrono::sys_days(sabado) + std::chrono::days(1);
    const QString textoSabado = QString::fromStdString(sepa::TextoIso(sabado));

    QTemporaryDir vacio;
    QTest::newRow("no creditor in the settings")
        << "sin acreedor" << QStringList{"--pdf", "a.pdf"}
        << "talvero: " +
               QString::fromStdString(
                   sepa::CargarAcreedor(platform::SettingsStore(
                                            vacio.filePath(QStringLiteral("t.conf")).toStdString()))
                       .error) +
               u'\n';
    QTest::newRow("a collection date on a Saturday")
        << textoSabado << QStringList{}
        << "talvero: " + QString::fromStdString(sepa::ComprobarFechaCobro(sabado, hoy)) + u'\n';
    QTest::newRow("an existing remittance not overwritten")
        << "existe" << QStringList{}
        << "talvero: «<dir>/r.xml» ya existe: no se sobrescribe; indique otro nombre.\n";
    QTest::newRow("a mandate signed after the collection date")
        << "mandato" << QStringList{}
        << "Fila 2, Fecha del mandato: el mandato se firmó el 01/01/2100, después de la fecha de "
           "cobro (%1)\ntalvero: 2 recibos, total 1.400,00 €; 1 fila con errores: no se emite "
           "ningún recibo.\n";
}

void TestListaRemesa::rechazosAntesDeEscribir() {
    QFETCH(QString, caso);
    QFETCH(QStringList, argumentos);
    QFETCH(QString, errores);
    errores.replace(QStringLiteral("<dir>"), dir_->path());
    QString cobro = cobro_;
    QString lista = kLista;
    if (caso == QLatin1String("sin acreedor"))
        Acreedor({});
    else if (caso == QLatin1String("existe"))
        QFile(dir_->filePath(QStringLiteral("r.xml"))).open(QIODevice::WriteOnly);
    else if (caso == QLatin1String("mandato")) {
        lista = dir_->filePath(QStringLiteral("mandato.csv"));
        QFile f(lista);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("Pagador;Importe 1;IBAN;Mandato;Fecha del mandato\n"
                "Ana;10;ES8099990001450000000001;M-1;01/01/2100\n"
                "Luis;1400;ES1099990001410000000002;M-2;01/01/2020\n");
        errores = errores.arg(QString::fromStdString(
            sepa::TextoFecha(lista::FechaDe(QDate::fromString(cobro, Qt::ISODate)))));
    } else
        cobro = caso;
    const Salida s =
        Talvero(QStringList{"--emitir-lista", lista, "--remesa", "r.xml", "--fecha-cobro", cobro} +
                argumentos);
    QCOMPARE(s.errores, errores);
    QCOMPARE(s.estado, 2);
    QCOMPARE(QFileInfo::exists(dir_->filePath(QStringLiteral("a.pdf"))), false);
    // Only the file that stood there before.
    QCOMPARE(QFileInfo::exists(dir_->filePath(QStringLiteral("r.xml"))),
             caso == QLatin1String("existe"));
    QCOMPARE(Registro(), QStringList());
}

void TestListaRemesa::versionDelArchivo_data() {
    QTest::addColumn<QString>("ajuste"); // AcreedorVersionRemesa; empty: absent
    QTest::addColumn<QStringList>("argumentos");
    QTest::addColumn<QString>("version"); // of the file written; empty: refused, none
    QTest::newRow("today's version by default")
        << QString() << QStringList{} << QStringLiteral("pain.008.001.08");
    QTest::newRow("the earlier one from the creditor's settings")
        << QStringLiteral("pain.008.001.02") << QStringList{} << QStringLiteral("pain.008.001.02");
    QTest::newRow("a setting written wrong by hand: today's")
        << QStringLiteral("pain.008") << QStringList{} << QStringLiteral("pain.008.001.08");
    QTest::newRow("the command line before the settings")
        << QStringLiteral("pain.008.001.02") << QStringList{"--version-remesa", "pain.008.001.08"}
        << QStringLiteral("pain.008.001.08");
    QTest::newRow("the earlier one on the command line")
        << QString() << QStringList{"--version-remesa", "pain.008.001.02"}
        << QStringLiteral("pain.008.001.02");
    QTest::newRow("a version that does not exist: refused")
        << QString() << QStringList{"--version-remesa", "pain.008.001.09"} << QString();
}

void TestListaRemesa::versionDelArchivo() {
    QFETCH(QString, ajuste);
    QFETCH(QStringList, argumentos);
    QFETCH(QString, version);
    if (!ajuste.isEmpty()) {
        platform::SettingsStore ajustes(AjustesDeTalvero(dir_->path()));
        ajustes.WriteString(platform::kTalveroSection, "AcreedorVersionRemesa",
                            ajuste.toStdString());
        ajustes.Flush();
    }
    const Salida s = Talvero(
        QStringList{"--emitir-lista", kLista, "--remesa", "r.xml", "--fecha-cobro", cobro_} +
        argumentos);
    const QString xml = dir_->filePath(QStringLiteral("r.xml"));
    QCOMPARE(s.estado, version.isEmpty() ? 2 : 0);
    QCOMPARE(Version(xml), version);
    if (version.isEmpty()) {
        QCOMPARE(s.errores, QStringLiteral("talvero: --version-remesa «pain.008.001.09» no es "
                                           "pain.008.001.08 ni pain.008.001.02.\n"));
        return;
    }
    QCOMPARE(Xmllint(xml), QString());
    // The same debits in either version.
    QCOMPARE(Valores(xml, QStringLiteral("InstdAmt")), (QStringList{"760.00", "650.00"}));
}

QTEST_MAIN(TestListaRemesa)
#include "test_lista_remesa.moc"
