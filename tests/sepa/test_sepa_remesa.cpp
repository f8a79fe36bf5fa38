// Remittance files written, validated against the bank's official schema with xmllint and
// read back: counts, sums and groups are checked from the XML; and one document compared,
// byte for byte, with the file in data/, written and reviewed by hand and valid against the
// schema; one for each version of the format, and the same remittances written in both.
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
Q_DECLARE_METATYPE(sepa::Adeudo)

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

QString Xmllint(const QString& ruta, const QString& esquema = QStringLiteral(TALVERO_SEPA_XSD)) {
    QProcess p;
    p.start(QStringLiteral("xmllint"),
            {QStringLiteral("--noout"), QStringLiteral("--schema"), esquema, ruta});
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

// The schema of each version: the 2009 one from Debian's package, the 2019 one in data/.
QString Esquema(const QString& version) {
    return version == u"pain.008.001.02"
               ? QStringLiteral(TALVERO_SEPA_XSD)
               : QStringLiteral(TALVERO_SEPA_DATOS "/%1.xsd").arg(version);
}

// A debtor in Switzerland, whose bank is outside the EEA: BIC and address are required.
sepa::Adeudo AdeudoSuizo(std::uint64_t n) {
    sepa::Adeudo a = sample::AdeudoEjemplo(n);
    a.iban = "CH93 0076 2011 6238 5295 7";
    a.bic = "FICTCHZZXXX";
    a.direccion = {"Zürich", "ch", {"Bahnhofstrasse 12", "8001"}};
    return a;
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
    void documentoAlByte_data();
    void documentoAlByte();
    void mismaRemesaEnLasDosVersiones_data();
    void mismaRemesaEnLasDosVersiones();
    void direccionDelDeudor_data();
    void direccionDelDeudor();

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

void TestSepaRemesa::documentoAlByte_data() {
    using moneda::Currency;
    using sepa::Secuencia;
    using std::chrono::year;
    // clang-format off
    QTest::addColumn<QString>("version");
    QTest::addColumn<sepa::Remesa>("remesa");
    QTest::addColumn<QString>("msgId");
    QTest::addColumn<QDateTime>("creado");
    QTest::addColumn<qint64>("centimos");
    // In the remittance's order; the file groups them FRST, RCUR, FNAL. 156,1056 € is
    // debited as printed, 156,11; texts outside the banks' set are converted.
    sepa::Remesa remesa{sample::AcreedorEjemplo(), kCobro, {
        {"17", Currency(6500000), {"Alquiler de marzo de 2024", "", "", "", ""}, "Ana Pérez Gil",
         sample::IbanFicticio(1), "", "ALQ-2021-001", year(2021) / 1 / 15, Secuencia::RCUR, {}},
        {"18", Currency(7600000), {"Alquiler de marzo de 2024", "Plaza de garaje", "", "", ""}, "Luis Gómez Ruiz",
         sample::IbanFicticio(2), "fictesmmxxx", "ALQ-2024-002", year(2024) / 2 / 20, Secuencia::FRST, {}},
        {"19", Currency(1561056), {"Cuota; enero", "", "Derrama \"extra\" & <obras>", "", ""}, "Ñandú Ølsen & Hijos, S.L.",
         "ES68 1234 5678 0400 0000 0003", "", "SOC/19", year(2019) / 6 / 1, Secuencia::RCUR, {}},
        {"20", Currency(450000), {"Última cuota de 2024", "", "", "", ""}, "Comercial Sanz, S.L.",
         sample::IbanFicticio(4), "FICTESMMXXX", "ALQ-2020-004", year(2020) / 12 / 31, Secuencia::FNAL, {}},
    }};
    QTest::newRow("pain.008.001.02") << QStringLiteral("pain.008.001.02") << remesa << QStringLiteral("R20240301101500123000AZZ01K7Q2")
                                     << QDateTime(QDate(2024, 3, 1), QTime(10, 15, 0, 123)) << qint64(65000 + 76000 + 15611 + 4500);
    // A Spanish debtor without BIC, a Swiss one with the address the banks require from
    // November 2026 (town and country apart, two lines) and, first in the file, a FRST; inside
    // the EEA an address is not written, even when there is one.
    remesa = {sample::AcreedorEjemplo(), year(2026) / 4 / 10, {
        {"31", Currency(1200000), {"Cuota de abril de 2026", "", "", "", ""}, "María Núñez Vidal",
         sample::IbanFicticio(1), "", "SOC-031", year(2019) / 6 / 1, Secuencia::RCUR, {}},
        {"32", Currency(2505000), {"Cuota de abril de 2026", "", "Derrama", "", ""}, "Jürg Müller",
         "CH93 0076 2011 6238 5295 7", "fictchzzxxx", "SOC-032", year(2022) / 9 / 15, Secuencia::RCUR,
         {" Zürich ", "ch", {"Bahnhofstrasse 12", "8001"}}},
        {"33", Currency(800000), {"Alquiler de abril de 2026", "", "", "", ""}, "Luis Gómez Ruiz",
         sample::IbanFicticio(2), "FICTESMMXXX", "ALQ-2026-033", year(2026) / 3 / 1, Secuencia::FRST,
         {"Madrid", "ES", {"Calle Mayor 1"}}},
    }};
    QTest::newRow("pain.008.001.08") << QStringLiteral("pain.008.001.08") << remesa << QStringLiteral("R20260406093000000000AZZ01K7Q2")
                                     << QDateTime(QDate(2026, 4, 6), QTime(9, 30, 0, 500)) << qint64(12000 + 25050 + 8000);
    // clang-format on
}

void TestSepaRemesa::documentoAlByte() {
    QFETCH(QString, version);
    QFETCH(sepa::Remesa, remesa);
    QFETCH(QString, msgId);
    QFETCH(QDateTime, creado);
    QFETCH(qint64, centimos);
    // Every debit as the program accepts it on the day the file is made.
    const QDate hoy = creado.date();
    for (const sepa::Adeudo& a : remesa.adeudos)
        QVERIFY(!sepa::ComprobarAdeudo(a, remesa.fechaCobro,
                                       std::chrono::year(hoy.year()) / unsigned(hoy.month()) /
                                           unsigned(hoy.day())));
    const sepa::FormatoRemesa formato = sepa::FormatoDeRemesa(version);
    QVERIFY(formato);
    const sepa::DocumentoRemesaSepa documento = formato(remesa, msgId, creado);
    const QString ruta = QStringLiteral(TALVERO_SEPA_DATOS "/remesa-%1.xml").arg(version);
    QCOMPARE(Xmllint(ruta, Esquema(version)), QString());
    QFile esperado(ruta);
    QVERIFY(esperado.open(QIODevice::ReadOnly));
    const QByteArray bytes = esperado.readAll();
    // Line by line first, so that a difference is shown where it is.
    QCOMPARE(documento.xml.split('\n'), bytes.split('\n'));
    QCOMPARE(documento.xml, bytes);
    QCOMPARE(documento.adeudos, std::int64_t(remesa.adeudos.size()));
    QCOMPARE(documento.centimos, centimos);
}

void TestSepaRemesa::mismaRemesaEnLasDosVersiones_data() {
    // clang-format off
    QTest::addColumn<sepa::Remesa>("remesa");
    QTest::addColumn<int>("direcciones");
    QTest::newRow("cuarenta recibos, las cuatro secuencias") << RemesaEjemplo(40) << 0;
    sepa::Remesa r = RemesaEjemplo(5);
    r.adeudos.push_back(AdeudoSuizo(7));
    sepa::Adeudo britanico = sample::AdeudoEjemplo(8);
    britanico.iban = "GB29 NWBK 6016 1331 9268 19";
    britanico.bic = "NWBKGB2L";
    britanico.direccion = {"London", "GB", {}};
    r.adeudos.push_back(britanico);
    QTest::newRow("deudores en Suiza y el Reino Unido") << r << 2;
    r = RemesaEjemplo(3);
    r.adeudos[0].titular = "Peña & Hijos; S.L. <\"La Única\"> 😀";
    r.adeudos[1].conceptos = {"Cuota; enero", "", "Derrama \"extra\" & <obras>"};
    r.adeudos[2] = AdeudoSuizo(2);
    r.adeudos[2].direccion = {"Genève", "CH", {"Rue du Rhône 5 ; 2e étage", ""}};
    QTest::newRow("textos fuera del juego y una dirección con acentos") << r << 1;
    // clang-format on
}

void TestSepaRemesa::mismaRemesaEnLasDosVersiones() {
    QFETCH(sepa::Remesa, remesa);
    QFETCH(int, direcciones);
    const QString msgId = QStringLiteral("R20240305090807006000AZZ01K7Q2");
    std::map<QString, Lectura> leido;
    for (const QString& version :
         {QStringLiteral("pain.008.001.02"), QStringLiteral("pain.008.001.08")}) {
        const sepa::FormatoRemesa formato = sepa::FormatoDeRemesa(version);
        QVERIFY(formato);
        QByteArray documento;
        const sepa::ResultadoRemesa r =
            sepa::DocumentoRemesa(remesa, msgId, documento, kHoy, formato);
        QCOMPARE(r.error, QString());
        const QString ruta = dir_.filePath(version + QStringLiteral(".xml"));
        QFile archivo(ruta);
        QVERIFY(archivo.open(QIODevice::WriteOnly));
        archivo.write(documento);
        archivo.close();
        QCOMPARE(Xmllint(ruta, Esquema(version)), QString());
        QVERIFY(documento.contains(("xmlns=\"urn:iso:std:iso:20022:tech:xsd:" + version).toUtf8()));
        leido[version] = Leer(ruta);
        QCOMPARE(Valores(leido[version], QStringLiteral("Dbtr/PstlAdr/TwnNm")).size(), direcciones);
    }
    // Everything read is the same, the creation time aside, once the 2019 name of a BIC is
    // given its 2009 one: debits, sums, groups, identifiers, names and addresses.
    Lectura de08;
    for (auto [camino, texto] : leido[QStringLiteral("pain.008.001.08")])
        if (!camino.endsWith(u"CreDtTm"))
            de08.emplace_back(camino.replace(QStringLiteral("/BICFI"), QStringLiteral("/BIC")),
                              texto);
    Lectura de02;
    for (const auto& [camino, texto] : leido[QStringLiteral("pain.008.001.02")])
        if (!camino.endsWith(u"CreDtTm"))
            de02.push_back({camino, texto});
    QCOMPARE(de08, de02);
    QCOMPARE(Valores(de02, QStringLiteral("GrpHdr/MsgId")), QStringList{msgId});
    QCOMPARE(Valores(de02, QStringLiteral("DrctDbtTxInf/InstdAmt")).size(),
             qsizetype(remesa.adeudos.size()));
}

void TestSepaRemesa::direccionDelDeudor_data() {
    // clang-format off
    QTest::addColumn<sepa::Adeudo>("adeudo");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("mensaje");
    const sepa::Adeudo suizo = AdeudoSuizo(1);
    QTest::newRow("suizo con población, país y dos líneas") << suizo << "" << "";
    sepa::Adeudo a = suizo;
    a.direccion.lineas.clear();
    QTest::newRow("suizo solo con población y país") << a << "" << "";
    a = sample::AdeudoEjemplo(1);
    QTest::newRow("español sin dirección") << a << "" << "";
    a.direccion = {"", "", {std::string(90, 'x'), "b", "c"}};
    QTest::newRow("español con una dirección que no se escribe") << a << "" << "";
    a = suizo;
    a.direccion = {};
    QTest::newRow("suizo sin dirección") << a << "Población" << "falta la población del deudor, obligatoria para una cuenta fuera del Espacio Económico Europeo.";
    a.direccion = {" ; ", "CH", {}};
    QTest::newRow("suizo con una población sin letras") << a << "Población" << "falta la población del deudor, obligatoria para una cuenta fuera del Espacio Económico Europeo.";
    a.direccion = {"Zürich", "", {"Bahnhofstrasse 12"}};
    QTest::newRow("suizo sin país") << a << "País" << "falta el país del deudor, obligatorio para una cuenta fuera del Espacio Económico Europeo.";
    a.direccion = {"Zürich", "Suiza", {}};
    QTest::newRow("suizo con el país en letra") << a << "País" << "«SUIZA» no es un código de país: escriba sus dos letras (CH, GB, AD...).";
    a.direccion = {"Zürich", "CH", {"Bahnhofstrasse 12", "8001", "Schweiz"}};
    QTest::newRow("suizo con tres líneas") << a << "Dirección" << "la dirección tiene 3 líneas, y el banco admite 2 además de la población y el país.";
    a.direccion = {"Zürich", "CH", {std::string(71, 'x')}};
    QTest::newRow("suizo con una línea de 71") << a << "Dirección" << "una línea de la dirección tiene 71 caracteres, y el banco admite 70 como mucho.";
    a.direccion = {std::string(36, 'Z'), "CH", {}};
    QTest::newRow("suizo con una población de 36") << a << "Población" << "la población tiene 36 caracteres, y el banco admite 35 como mucho.";
    a = sample::AdeudoEjemplo(2);
    a.iban = "GB29 NWBK 6016 1331 9268 19";
    a.bic = "NWBKGB2L";
    QTest::newRow("británico sin dirección") << a << "Población" << "falta la población del deudor, obligatoria para una cuenta fuera del Espacio Económico Europeo.";
    // clang-format on
}

void TestSepaRemesa::direccionDelDeudor() {
    QFETCH(sepa::Adeudo, adeudo);
    QFETCH(QString, campo);
    QFETCH(QString, mensaje);
    const auto problema = sepa::ComprobarAdeudo(adeudo, kCobro, kHoy);
    QCOMPARE(problema ? QString::fromStdString(problema->campo) : QString(), campo);
    QCOMPARE(problema ? QString::fromStdString(problema->mensaje) : QString(), mensaje);
}

QTEST_GUILESS_MAIN(TestSepaRemesa)
#include "test_sepa_remesa.moc"
