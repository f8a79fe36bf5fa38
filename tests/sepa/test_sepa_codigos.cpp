// The bank codes and the fields of one debit, each refused with the reason the user reads.
// Check digits of the valid codes were worked out by hand, not by the program.
#include "SampleAdeudos.h"
#include "sepa/Adeudo.h"
#include "sepa/Cuentas.h"

#include <QtTest>

using Comprobar = std::string (*)(std::string_view);
Q_DECLARE_METATYPE(Comprobar)
Q_DECLARE_METATYPE(sepa::Adeudo)

class TestSepaCodigos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rechazos_data();
    void rechazos();
    void ibanFicticioPasa_CualquierCifraCambiadaNo();
    void primeraFaltaDelAdeudo_data();
    void primeraFaltaDelAdeudo();
    void totalComoSeImprime_data();
    void totalComoSeImprime();
};

// An empty `motivo` means accepted; otherwise a part of the reason that must appear.
void TestSepaCodigos::rechazos_data() {
    // clang-format off
    QTest::addColumn<Comprobar>("comprobar");
    QTest::addColumn<QString>("codigo");
    QTest::addColumn<QString>("motivo");
    const Comprobar iban = &sepa::ComprobarIban, bic = &sepa::ComprobarBic,
                    ci = &sepa::ComprobarIdentificadorAcreedor, mandato = &sepa::ComprobarMandato,
                    secuencia = &sepa::ComprobarSecuencia;
    // IBAN
    QTest::newRow("IBAN español") << iban << "ES5812345678010123456789" << "";
    QTest::newRow("IBAN con espacios y minúsculas") << iban << "es90 9999 0001 4100 0000 0017" << "";
    QTest::newRow("IBAN portugués") << iban << "PT50000201231234567890154" << "";
    QTest::newRow("IBAN vacío") << iban << "  " << "falta el IBAN";
    QTest::newRow("IBAN con una letra de más") << iban << "ES58123456780101234567890" << "24 caracteres, y este tiene 25";
    QTest::newRow("IBAN de un país fuera de SEPA") << iban << "US12345678901234567890" << "«US»";
    QTest::newRow("IBAN sin país") << iban << "1258123456780101234567" << "dos letras de su país";
    QTest::newRow("IBAN con eñe") << iban << "ES58 1234 Ñ678" << "lleva «Ñ»";
    QTest::newRow("IBAN con dos cifras cambiadas") << iban << "ES5812345678010123456798" << "dígitos de control no corresponden";
    QTest::newRow("IBAN bien, cuenta española mal") << iban << "ES2312345678000123456789" << "cifras 13 y 14";
    QTest::newRow("IBAN español con letras") << iban << "ES74123456780101234567A9" << "solo lleva cifras";
    // IBAN of the countries that joined SEPA last (the examples of the IBAN registry)
    QTest::newRow("IBAN albanés") << iban << "AL47 2121 1009 0000 0002 3569 8741" << "";
    QTest::newRow("IBAN montenegrino") << iban << "ME25 5050 0001 2345 6789 51" << "";
    QTest::newRow("IBAN moldavo") << iban << "MD24 AG00 0225 1000 1310 4168" << "";
    QTest::newRow("IBAN macedonio") << iban << "MK07 2501 2000 0058 984" << "";
    QTest::newRow("IBAN macedonio con una cifra de más") << iban << "MK07 2501 2000 0058 9840" << "Macedonia del Norte (MK) tiene 19 caracteres, y este tiene 20";
    QTest::newRow("IBAN británico con una cifra de más") << iban << "GB29 NWBK 6016 1331 9268 190" << "un IBAN del Reino Unido (GB) tiene 22 caracteres";
    // BIC
    QTest::newRow("BIC de 11") << bic << "FICTESMMXXX" << "";
    QTest::newRow("BIC de 8 en minúsculas") << bic << "fictesmm" << "";
    QTest::newRow("BIC de 9") << bic << "FICTESMMX" << "8 u 11 caracteres, y este tiene 9";
    QTest::newRow("BIC con cifra en el banco") << bic << "F1CTESMMXXX" << "cuatro letras del banco";
    QTest::newRow("BIC de prueba (O en la plaza)") << bic << "FICTESMO" << "cuatro letras del banco";
    // Creditor identifier
    QTest::newRow("Identificador con NIF de comunidad") << ci << "ES72000H50123456" << "";
    QTest::newRow("Identificador con sufijo 001") << ci << "es26 001 g12345678" << "";
    QTest::newRow("Identificador alemán") << ci << "DE98ZZZ09999999999" << "";
    QTest::newRow("Identificador vacío") << ci << "" << "falta el identificador";
    QTest::newRow("Identificador con el NIF corto") << ci << "ES72000H5012345" << "16 caracteres";
    QTest::newRow("Identificador de fuera de SEPA") << ci << "US72000H50123456" << "«US»";
    QTest::newRow("Identificador con otro NIF") << ci << "ES72000H50123457" << "serían «45»";
    QTest::newRow("Identificador con letras de control") << ci << "ESAB000H50123456" << "deben ser cifras";
    // Mandate reference
    QTest::newRow("Mandato corriente") << mandato << "MANDATO-2024/17 (local)" << "";
    QTest::newRow("Mandato de 35") << mandato << QString(35, u'M') << "";
    QTest::newRow("Mandato de 36") << mandato << QString(36, u'M') << "tiene 36 caracteres";
    QTest::newRow("Mandato con eñe") << mandato << "PEÑA-1" << "lleva «Ñ»";
    QTest::newRow("Mandato con punto y coma") << mandato << "A;B" << "lleva «;»";
    QTest::newRow("Mandato con barra al final") << mandato << "A/" << "«/»";
    QTest::newRow("Mandato con dos barras") << mandato << "A//B" << "«//»";
    QTest::newRow("Mandato vacío") << mandato << "" << "falta la referencia";
    // Sequence
    QTest::newRow("Secuencia en minúsculas") << secuencia << " frst " << "";
    QTest::newRow("Secuencia vacía es RCUR") << secuencia << "" << "";
    QTest::newRow("Secuencia desconocida") << secuencia << "PRIMERA" << "«PRIMERA» no es una secuencia";
    // clang-format on
}

void TestSepaCodigos::rechazos() {
    QFETCH(Comprobar, comprobar);
    QFETCH(QString, codigo);
    QFETCH(QString, motivo);
    const QString dicho = QString::fromStdString(comprobar(codigo.toStdString()));
    if (motivo.isEmpty())
        QCOMPARE(dicho, QString());
    else
        QVERIFY2(dicho.contains(motivo), qPrintable(dicho));
}

void TestSepaCodigos::ibanFicticioPasa_CualquierCifraCambiadaNo() {
    // Mod 97 catches every change of one digit: none may slip through.
    for (std::uint64_t n : {0ULL, 1ULL, 17ULL, 9999999999ULL}) {
        const std::string iban = sample::IbanFicticio(n);
        QCOMPARE(sepa::ComprobarIban(iban), std::string());
        for (std::size_t i = 2; i < iban.size(); ++i) {
            std::string cambiado = iban;
            cambiado[i] = char('0' + (cambiado[i] - '0' + 1) % 10);
            QVERIFY2(!sepa::ComprobarIban(cambiado).empty(), cambiado.c_str());
        }
    }
}

void TestSepaCodigos::primeraFaltaDelAdeudo_data() {
    // clang-format off
    QTest::addColumn<sepa::Adeudo>("adeudo");
    QTest::addColumn<QString>("campo");
    QTest::addColumn<QString>("motivo");
    // Today is 01/03/2024 and the collection date 05/03/2024.
    const sepa::Adeudo bueno = sample::AdeudoEjemplo(4);
    // Total, holder and the form of the BIC
    QTest::newRow("completo") << bueno << "" << "";
    sepa::Adeudo a = bueno;
    a.total = moneda::Currency(-10000);
    QTest::newRow("total negativo") << a << "Total" << "-1,00 €";
    a.total = moneda::Currency(49); // 0,0049 is printed 0,00
    QTest::newRow("total que se imprime 0,00") << a << "Total" << "mayor que cero";
    a = bueno;
    a.total = moneda::Currency::Invalid(0);
    QTest::newRow("total no válido") << a << "Total" << "no es un importe válido";
    a = bueno;
    a.titular = std::string(71, 'x');
    QTest::newRow("titular de 71") << a << "Titular" << "71 caracteres";
    a.titular = QString(70, u'Ñ').toStdString();
    QTest::newRow("titular de 70 eñes (140 bytes)") << a << "" << "";
    a = bueno;
    a.bic = "ABC";
    QTest::newRow("BIC de 3") << a << "BIC" << "tiene 3";
    // The debtor's bank: named by its BIC outside the European Economic Area
    a = bueno;
    a.bic.clear();
    a.iban = "DE89 3704 0044 0532 0130 00";
    QTest::newRow("cuenta alemana sin BIC") << a << "" << "";
    a.iban = "CH93 0076 2011 6238 5295 7";
    a.bic = "UBSWCHZH80A";
    QTest::newRow("cuenta suiza con su BIC, sin dirección") << a << "Población" << "falta la población del deudor";
    a.direccion = {"Zürich", "CH", {}};
    QTest::newRow("cuenta suiza con su BIC y su dirección") << a << "" << "";
    // The examples of the IBAN registry, one for each country outside the area.
    const std::pair<const char*, const char*> fuera[] = {
        {"CH9300762011623852957", "de Suiza (CH)"},
        {"GB29NWBK60161331926819", "del Reino Unido (GB)"},
        {"GI75NWBK000000007099453", "de Gibraltar (GI)"},
        {"AD1200012030200359100100", "de Andorra (AD)"},
        {"SM86U0322509800000000270100", "de San Marino (SM)"},
        {"MC5811222000010123456789030", "de Mónaco (MC)"},
        {"VA59001123000012345678", "del Vaticano (VA)"},
        {"AL47212110090000000235698741", "de Albania (AL)"},
        {"ME25505000012345678951", "de Montenegro (ME)"},
        {"MD24AG000225100013104168", "de Moldavia (MD)"},
        {"MK07250120000058984", "de Macedonia del Norte (MK)"},
    };
    for (const auto& [iban, pais] : fuera) {
        a.iban = iban;
        a.bic.clear();
        QTest::newRow(qPrintable(QStringLiteral("cuenta %1 sin BIC").arg(QString::fromUtf8(pais))))
            << a << "BIC" << QStringLiteral("falta el BIC, que es obligatorio para una cuenta %1, fuera del Espacio Económico Europeo.").arg(QString::fromUtf8(pais));
    }
    // The mandate's date: neither after the collection nor after today
    a = bueno;
    a.fechaMandato = std::chrono::year(2024) / 3 / 6;
    QTest::newRow("mandato firmado después del cobro") << a << "Fecha del mandato" << "06/03/2024";
    a.fechaMandato = std::chrono::year(2024) / 3 / 4;
    QTest::newRow("mandato firmado antes del cobro pero después de hoy") << a << "Fecha del mandato" << "el mandato se firmó el 04/03/2024, después de hoy (01/03/2024).";
    a.fechaMandato = std::chrono::year(2024) / 3 / 1;
    QTest::newRow("mandato firmado hoy") << a << "" << "";
    // Other fields
    a = bueno;
    a.numero = std::string(36, '7');
    QTest::newRow("número de 36") << a << "Número" << "35 como mucho";
    // clang-format on
}

void TestSepaCodigos::primeraFaltaDelAdeudo() {
    QFETCH(sepa::Adeudo, adeudo);
    QFETCH(QString, campo);
    QFETCH(QString, motivo);
    const auto problema = sepa::ComprobarAdeudo(adeudo, std::chrono::year(2024) / 3 / 5,
                                                std::chrono::year(2024) / 3 / 1);
    QCOMPARE(problema.has_value(), !campo.isEmpty());
    if (problema) {
        QCOMPARE(QString::fromStdString(problema->campo), campo);
        QVERIFY2(QString::fromStdString(problema->mensaje).contains(motivo),
                 problema->mensaje.c_str());
    }
}

void TestSepaCodigos::totalComoSeImprime_data() {
    // clang-format off
    QTest::addColumn<qint64>("diezmilesimas");
    QTest::addColumn<qint64>("centimos");
    QTest::newRow("156,1056 se imprime 156,11") << qint64(1561056) << qint64(15611);
    QTest::newRow("0,0050 sube a 0,01") << qint64(50) << qint64(1);
    QTest::newRow("0,0049 queda en 0,00") << qint64(49) << qint64(0);
    QTest::newRow("-0,0050 baja a -0,01") << qint64(-50) << qint64(-1);
    QTest::newRow("el mayor importe, sin desbordarse") << std::numeric_limits<qint64>::max() << qint64(92233720368547758);
    QTest::newRow("el menor importe, sin desbordarse") << std::numeric_limits<qint64>::min() << qint64(-92233720368547758);
    // clang-format on
}

void TestSepaCodigos::totalComoSeImprime() {
    QFETCH(qint64, diezmilesimas);
    QFETCH(qint64, centimos);
    QCOMPARE(sepa::Centimos(moneda::Currency(diezmilesimas)),
             std::optional<std::int64_t>(centimos));
}

QTEST_APPLESS_MAIN(TestSepaCodigos)
#include "test_sepa_codigos.moc"
