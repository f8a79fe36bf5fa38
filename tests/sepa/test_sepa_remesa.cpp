// Remittance files written, validated against the bank's official schema with xmllint and
// read back: counts, sums and groups are checked from the XML; and one document compared,
// byte for byte, with the file in data/, written and reviewed by hand and valid against the
// schema.
#include "SampleAdeudos.h"
#include "SampleRecords.h"
#include "amounts/moneda.h"
#include "sepa/EscribirRemesa.h"
#include "sepa/IdentificadorMensaje.h"
#include "sepa/Pain008.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>

#include <map>

Q_DECLARE_METATYPE(sepa::Remesa)

namespace {

const std::chrono::year_month_day kHoy = std::chrono::year(2024) / 3 / 5;
const std::chrono::year_month_day kCobro = std::chrono::year(2024) / 3 / 8;

// The amount as the receipt prints it ("1.234,56"), written the bank's way ("1234.56").
QString ComoSeImprime(const moneda::Currency& total) {
    return QString::fromStdString(moneda::FormatEuros(total)).remove(u'.').replace(u',', u'.');
}

qint64 Centimos(const QString& decimal) {
    return QString(decimal).remove(u'.').toLongLong();
}

// What the bank reads of a file: element paths below Document with their texts and those of
// their attributes ("…/InstdAmt@Ccy"), in order; the blanks that only indent are no texts.
using Lectura = std::vector<std::pair<QString, QString>>;
Lectura Leer(const QString& ruta) {
    QFile f(ruta);
    f.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&f);
    Lectura leido;
    QStringList camino;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            camino << xml.name().toString();
            for (const QXmlStreamAttribute& a : xml.attributes())
                leido.emplace_back(camino.join(u'/') + u'@' + a.name().toString(),
                                   a.value().toString());
        } else if (xml.isEndElement()) {
            camino.removeLast();
        } else if (xml.isCharacters() && !xml.isWhitespace()) {
            leido.emplace_back(camino.join(u'/'), xml.text().toString());
        }
    }
    return leido;
}

QStringList Valores(const Lectura& l, const QString& final) {
    QStringList v;
    for (const auto& [camino, texto] : l)
        if (camino.endsWith(final))
            v << texto;
    return v;
}

QString Xmllint(const QString& ruta) {
    QProcess p;
    p.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), QStringLiteral("--schema"),
                                        QStringLiteral(TALVERO_SEPA_XSD), ruta});
    p.waitForFinished();
    return p.exitCode() == 0 ? QString() : QString::fromUtf8(p.readAllStandardError());
}

sepa::Remesa RemesaEjemplo(int adeudos) {
    sepa::Remesa r{sample::AcreedorEjemplo(), kCobro, {}};
    for (int n = 0; n < adeudos; ++n)
        r.adeudos.push_back(sample::AdeudoEjemplo(std::uint64_t(n)));
    // 156,1056: the one total that the cent rounding of the printed receipt takes up.
    sepa::Adeudo impreso = sample::AdeudoEjemplo(99);
    impreso.total = moneda::Currency(1561056);
    r.adeudos.push_back(impreso);
    return r;
}

} // namespace

class TestSepaRemesa : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void remesaValidaLeidaDeVuelta();
    void todoTextoEnElJuegoSepa_data();
    void todoTextoEnElJuegoSepa();
    void nadaEscritoSiAlgoFalla_data();
    void nadaEscritoSiAlgoFalla();
    void identificadoresNuncaRepetidos();
    void documentoAlByte();

private:
    QTemporaryDir dir_;
};

void TestSepaRemesa::remesaValidaLeidaDeVuelta() {
    const sepa::Remesa remesa = RemesaEjemplo(40);
    const QString ruta = dir_.filePath(QStringLiteral("remesa.xml"));
    const sepa::ResultadoRemesa r = sepa::EscribirRemesa(ruta, remesa, kHoy);
    QCOMPARE(r.error, QString());
    QCOMPARE(Xmllint(ruta), QString());
    const Lectura l = Leer(ruta);

    // Each amount as printed, in the order of the groups FRST, RCUR, OOFF, FNAL.
    std::map<sepa::Secuencia, QStringList> porSecuencia;
    qint64 suma = 0;
    for (const sepa::Adeudo& a : remesa.adeudos) {
        porSecuencia[a.secuencia] << ComoSeImprime(a.total);
        suma += Centimos(ComoSeImprime(a.total));
    }
    QStringList importes;
    QStringList secuencias;
    QStringList cuentas;
    QStringList sumas;
    for (const auto& [s, lista] : porSecuencia) {
        importes << lista;
        secuencias << QString::fromLatin1(sepa::CodigoSecuencia(s).data(), 4);
        cuentas << QString::number(lista.size());
        qint64 sumaGrupo = 0;
        for (const QString& i : lista)
            sumaGrupo += Centimos(i);
        sumas << QStringLiteral("%1.%2")
                     .arg(sumaGrupo / 100)
                     .arg(sumaGrupo % 100, 2, 10, QChar(u'0'));
    }
    QVERIFY(importes.contains(QStringLiteral("156.11")));
    QCOMPARE(Valores(l, QStringLiteral("DrctDbtTxInf/InstdAmt")), importes);
    QCOMPARE(Valores(l, QStringLiteral("PmtTpInf/SeqTp")), secuencias);
    QCOMPARE(Valores(l, QStringLiteral("PmtInf/NbOfTxs")), cuentas);
    QCOMPARE(Valores(l, QStringLiteral("PmtInf/CtrlSum")), sumas);
    QCOMPARE(Valores(l, QStringLiteral("GrpHdr/NbOfTxs")), QStringList{QStringLiteral("41")});
    QCOMPARE(Centimos(Valores(l, QStringLiteral("GrpHdr/CtrlSum")).value(0)), suma);
    QCOMPARE(r.centimos, suma);
    QCOMPARE(Valores(l, QStringLiteral("GrpHdr/MsgId")), QStringList{r.msgId});
    QCOMPARE(Valores(l, QStringLiteral("InstdAmt@Ccy")).count(QStringLiteral("EUR")), 41);
    QCOMPARE(Valores(l, QStringLiteral("ReqdColltnDt")).count(QStringLiteral("2024-03-08")), 4);

    // The creditor, as Spanish banks want it, its name in the SEPA set.
    QCOMPARE(Valores(l, QStringLiteral("InitgPty/Id/OrgId/Othr/Id")),
             QStringList{QStringLiteral("ES72000H50123456")});
    QCOMPARE(Valores(l, QStringLiteral("CdtrSchmeId/Id/PrvtId/Othr/Id"))
                 .count(QStringLiteral("ES72000H50123456")),
             4);
    QCOMPARE(Valores(l, QStringLiteral("Othr/SchmeNm/Prtry")).count(QStringLiteral("SEPA")), 4);
    QCOMPARE(Valores(l, QStringLiteral("Cdtr/Nm")).value(0),
             QStringLiteral("COMUNIDAD DE PROPIETARIOS C/ PENA + CIA, 12"));
    QCOMPARE(Valores(l, QStringLiteral("CdtrAcct/Id/IBAN")).value(0),
             QStringLiteral("ES5812345678010123456789"));
    // Debtors: every third one gave no BIC (0, 3, ... 39, and 99).
    QCOMPARE(Valores(l, QStringLiteral("DbtrAgt/FinInstnId/Othr/Id")).count(), 15);
    const QRegularExpression juegoSepa(QStringLiteral("^[A-Za-z0-9/?:().,'+ -]+$"));
    for (const QString& nombre : Valores(l, QStringLiteral("/Nm")))
        QVERIFY2(juegoSepa.match(nombre).hasMatch(), qPrintable(nombre));
}

void TestSepaRemesa::todoTextoEnElJuegoSepa_data() {
    // clang-format off
    QTest::addColumn<sepa::Remesa>("remesa");
    sepa::Remesa r = RemesaEjemplo(3);
    // Texts of the receipts, the list and the settings, with signs outside the set
    r.adeudos[0].conceptos = {"Cuota; enero", "", "Derrama \"extra\" & <obras>", "50% = 1/2", "Ñandú_#1 @ *ÇÁ!"};
    r.adeudos[1].conceptos = {QString(60, u'ß').toStdString(), QString(60, u'Æ').toStdString(), "x;y"};
    QTest::newRow("conceptos con signos fuera del juego") << r;
    r = RemesaEjemplo(3);
    r.adeudos[0].titular = "Peña & Hijos; S.L. <\"La Única\"> 😀 €5 — ‘Ñ’";
    r.adeudos[1].titular = QString(70, u'Þ').toStdString();
    r.adeudos[0].numero = "A;1";
    r.adeudos[1].numero = "Œ-ß_2";
    r.adeudos[2].numero = "";
    r.acreedor.nombre = "C.P. Peña; Residencial «Æ» & Cía. #7";
    QTest::newRow("nombres y números de recibo hostiles") << r;
    // clang-format on
}

void TestSepaRemesa::todoTextoEnElJuegoSepa() {
    QFETCH(sepa::Remesa, remesa);
    const QString ruta = dir_.filePath(QStringLiteral("juego.xml"));
    QFile::remove(ruta);
    const sepa::ResultadoRemesa r = sepa::EscribirRemesa(ruta, remesa, kHoy);
    QCOMPARE(r.error, QString());
    QCOMPARE(Xmllint(ruta), QString());
    // Identifiers, dates, amounts, names and remittance texts: every one in the set.
    const QRegularExpression juegoSepa(QStringLiteral("^[A-Za-z0-9/?:().,'+ -]+$"));
    const Lectura textos = Leer(ruta);
    QVERIFY(textos.size() > 50);
    for (const auto& [camino, texto] : textos)
        QVERIFY2(juegoSepa.match(texto).hasMatch(), qPrintable(camino + u'=' + texto));
    for (const QString& ustrd : Valores(textos, QStringLiteral("RmtInf/Ustrd")))
        QVERIFY2(ustrd.size() <= 140, qPrintable(ustrd));
}

void TestSepaRemesa::nadaEscritoSiAlgoFalla_data() {
    // clang-format off
    QTest::addColumn<sepa::Remesa>("remesa");
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("motivo");
    // A debit's codes, the creditor and the collection date
    sepa::Remesa r = RemesaEjemplo(10);
    r.adeudos[7].iban = "ES5812345678010123456788";
    QTest::newRow("un IBAN mal, el del recibo 8") << r << "" << "Recibo «000008», IBAN: ";
    r = RemesaEjemplo(3);
    r.adeudos[1].fechaMandato = std::chrono::year(2024) / 3 / 9;
    QTest::newRow("un mandato posterior al cobro") << r << "" << "Fecha del mandato: ";
    r = RemesaEjemplo(3);
    r.acreedor.identificador = "ES73000H50123456";
    QTest::newRow("acreedor con otro control") << r << "" << "Identificador: los dígitos";
    r = RemesaEjemplo(3);
    r.fechaCobro = std::chrono::year(2024) / 3 / 9;
    QTest::newRow("cobro en sábado") << r << "" << "el primer día válido es el 11/03/2024";
    r.fechaCobro = std::chrono::year(2099) / 3 / 5;
    QTest::newRow("cobro en 2099") << r << "" << "la última fecha válida es el 05/03/2025";
    r.adeudos.clear();
    r.fechaCobro = kCobro;
    QTest::newRow("ningún recibo") << r << "" << "ningún recibo";
    // The debtor's bank, the mandate's date, one account per mandate
    r = RemesaEjemplo(3);
    r.adeudos[1].iban = "CH93 0076 2011 6238 5295 7";
    r.adeudos[1].bic.clear();
    QTest::newRow("una cuenta suiza sin BIC") << r << "" << "Recibo «000002», BIC: falta el BIC";
    r = RemesaEjemplo(3);
    r.adeudos[2].fechaMandato = std::chrono::year(2024) / 3 / 7;
    QTest::newRow("un mandato firmado después de hoy") << r << "" << "Recibo «000003», Fecha del mandato: el mandato se firmó el 07/03/2024, después de hoy (05/03/2024).";
    r = RemesaEjemplo(3);
    r.adeudos[2].mandato = r.adeudos[0].mandato;
    QTest::newRow("un mandato con dos cuentas") << r << "" << "Recibo «000001», Mandato: la referencia del mandato «MANDATO-0» es también la del recibo «000003», que tiene otro IBAN";
    // The place
    QTest::newRow("carpeta que no existe") << RemesaEjemplo(2) << "no-existe" << "la carpeta no existe";
    // clang-format on
}

void TestSepaRemesa::nadaEscritoSiAlgoFalla() {
    QFETCH(sepa::Remesa, remesa);
    QFETCH(QString, carpeta);
    QFETCH(QString, motivo);
    const QString ruta =
        dir_.filePath(carpeta.isEmpty() ? QStringLiteral("anterior.xml")
                                        : carpeta + QStringLiteral("/anterior.xml"));
    if (carpeta.isEmpty()) {
        QFile anterior(ruta);
        QVERIFY(anterior.open(QIODevice::WriteOnly));
        anterior.write("la remesa anterior");
    }
    const sepa::ResultadoRemesa r = sepa::EscribirRemesa(ruta, remesa, kHoy);
    QVERIFY2(r.error.contains(motivo), qPrintable(r.error));
    QCOMPARE(r.msgId, QString());
    QFile despues(ruta);
    QCOMPARE(despues.open(QIODevice::ReadOnly) ? despues.readAll() : QByteArray(),
             carpeta.isEmpty() ? QByteArray("la remesa anterior") : QByteArray());
    QCOMPARE(QDir(dir_.path()).entryList({QStringLiteral("*.xml.*")}, QDir::Files), QStringList());
}

void TestSepaRemesa::identificadoresNuncaRepetidos() {
    // Two processes in the same millisecond differ by their ids; one process by its count.
    const QDateTime ahora(QDate(2024, 3, 5), QTime(9, 8, 7, 6));
    const QString a = sepa::IdentificadorMensaje(ahora, 4194303, 0, 0);
    const QString b = sepa::IdentificadorMensaje(ahora, 4194302, 0, 0);
    QCOMPARE_NE(a, b);
    QCOMPARE(a.size(), sepa::kMaxIdentificadorMensaje);
    QCOMPARE(a.left(18), QStringLiteral("R20240305090807006"));

    const sepa::Remesa remesa = RemesaEjemplo(1);
    const auto uno = sepa::EscribirRemesa(dir_.filePath(QStringLiteral("1.xml")), remesa, kHoy);
    const auto dos = sepa::EscribirRemesa(dir_.filePath(QStringLiteral("2.xml")), remesa, kHoy);
    QCOMPARE_NE(uno.msgId, dos.msgId);
}

void TestSepaRemesa::documentoAlByte() {
    using sepa::Secuencia;
    using std::chrono::year;
    sepa::Remesa remesa{sample::AcreedorEjemplo(), kCobro, {}};
    // In the remittance's order; the file groups them FRST, RCUR, FNAL. 156,1056 € is
    // debited as printed, 156,11; texts outside the banks' set are converted.
    remesa.adeudos = {
        {"17",
         moneda::Currency(6500000),
         {"Alquiler de marzo de 2024", "", "", "", ""},
         "Ana Pérez Gil",
         sample::IbanFicticio(1),
         "",
         "ALQ-2021-001",
         year(2021) / 1 / 15,
         Secuencia::RCUR},
        {"18",
         moneda::Currency(7600000),
         {"Alquiler de marzo de 2024", "Plaza de garaje", "", "", ""},
         "Luis Gómez Ruiz",
         sample::IbanFicticio(2),
         "fictesmmxxx",
         "ALQ-2024-002",
         year(2024) / 2 / 20,
         Secuencia::FRST},
        {"19",
         moneda::Currency(1561056),
         {"Cuota; enero", "", "Derrama \"extra\" & <obras>", "", ""},
         "Ñandú Ølsen & Hijos, S.L.",
         "ES68 1234 5678 0400 0000 0003",
         "",
         "SOC/19",
         year(2019) / 6 / 1,
         Secuencia::RCUR},
        {"20",
         moneda::Currency(450000),
         {"Última cuota de 2024", "", "", "", ""},
         "Comercial Sanz, S.L.",
         sample::IbanFicticio(4),
         "FICTESMMXXX",
         "ALQ-2020-004",
         year(2020) / 12 / 31,
         Secuencia::FNAL},
    };
    const sepa::DocumentoRemesaSepa documento =
        sepa::Pain00800102(remesa, QStringLiteral("R20240301101500123000AZZ01K7Q2"),
                           QDateTime(QDate(2024, 3, 1), QTime(10, 15, 0, 123)));
    const QString ruta = QStringLiteral(TALVERO_SEPA_DATOS "/remesa-pain.008.001.02.xml");
    QCOMPARE(Xmllint(ruta), QString());
    QFile esperado(ruta);
    QVERIFY(esperado.open(QIODevice::ReadOnly));
    const QByteArray bytes = esperado.readAll();
    // Line by line first, so that a difference is shown where it is.
    QCOMPARE(documento.xml.split('\n'), bytes.split('\n'));
    QCOMPARE(documento.xml, bytes);
    QCOMPARE(documento.adeudos, 4);
    QCOMPARE(documento.centimos, 65000 + 76000 + 15611 + 4500);
}

QTEST_GUILESS_MAIN(TestSepaRemesa)
#include "test_sepa_remesa.moc"
