// The debit columns of a list of receipts: each fault named with its row and column,
// checked with the row's other errors, and what a good row gives the remittance.
#include "lista/ColumnasAdeudo.h"
#include "lista/Lista.h"

#include "SampleAdeudos.h"
#include "SampleRecords.h"
#include "receipt/ReciboTexto.h"
#include "sepa/Cuentas.h"

#include <QTest>

namespace {

const QString kIban = QString::fromStdString(sample::IbanFicticio(1));

lista::ListaRevisada Revisar(const QString& csv) {
    lista::TiposPermitidos tipos{{"0", "16"}, {"0"}, {"0", "15"}};
    return lista::RevisarLista(lista::LeerCsv(csv.toUtf8()), sample::Filled(), tipos, {});
}

QStringList Errores(const lista::ListaRevisada& l) {
    QStringList m;
    for (const auto& f : l.filas)
        m << f.errores;
    return m;
}

sepa::Fecha Dia(int a, unsigned m, unsigned d) {
    return sepa::Fecha{std::chrono::year(a), std::chrono::month(m), std::chrono::day(d)};
}

} // namespace

class TestListaAdeudos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void filas_data();
    void filas();
    void adeudoDeUnaFila();
};

void TestListaAdeudos::filas_data() {
    QTest::addColumn<QString>("fila");
    QTest::addColumn<bool>("conCobro"); // collection date 01/03/2024, today 27/02/2024
    QTest::addColumn<QStringList>("errores");

    const QString bien = QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;01/02/2024");
    // One row: each cell, and the columns together
    QTest::newRow("a complete debit") << bien << true << QStringList{};
    QTest::newRow("no IBAN, no debit checks") << QStringLiteral("0;0;;;") << true << QStringList{};
    QTest::newRow("IBAN with wrong check digits")
        << QStringLiteral("10;0;ES00") + kIban.mid(4) + QStringLiteral(";M-1;01/02/2024") << false
        << QStringList{QStringLiteral("Fila 2, IBAN: %1")
                           .arg(QString::fromStdString(
                                    sepa::ComprobarIban("ES00" + kIban.mid(4).toStdString()))
                                    .chopped(1))};
    QTest::newRow("IBAN without mandate")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";;01/02/2024") << false
        << QStringList{QStringLiteral("Fila 2, Mandato: falta la referencia del mandato")};
    QTest::newRow("IBAN without mandate date")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;") << false
        << QStringList{QStringLiteral("Fila 2, Fecha del mandato: falta la fecha en que se firmó "
                                      "el mandato")};
    QTest::newRow("mandate with a character outside the set")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M_1;01/02/2024") << false
        << QStringList{QStringLiteral("Fila 2, Mandato: la referencia del mandato lleva «_», y "
                                      "solo admite letras sin acentos, cifras, espacios y / - ? "
                                      ": ( ) . , ' +")};
    QTest::newRow("mandate date as a spreadsheet saves it, d/m/yy")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;15/1/21") << true
        << QStringList{};
    QTest::newRow("mandate date that does not exist")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;30/02/2024") << false
        << QStringList{QStringLiteral("Fila 2, Fecha del mandato: \"30/02/2024\" no es una fecha "
                                      "válida: escriba dd/mm/aaaa, por ejemplo 05/03/2024")};
    QTest::newRow("mandate signed after the collection date")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;02/03/2024") << true
        << QStringList{QStringLiteral("Fila 2, Fecha del mandato: el mandato se firmó el "
                                      "02/03/2024, después de la fecha de cobro (01/03/2024)")};
    QTest::newRow("mandate after the date, no collection date yet")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;02/03/2024") << false
        << QStringList{};
    QTest::newRow("BIC of the wrong length")
        << bien + QStringLiteral(";CAIXESBB1") << false
        << QStringList{
               QStringLiteral("Fila 2, BIC: %1")
                   .arg(QString::fromStdString(sepa::ComprobarBic("CAIXESBB1")).chopped(1))};
    QTest::newRow("unknown sequence")
        << bien + QStringLiteral(";;FIRST") << false
        << QStringList{
               QStringLiteral("Fila 2, Secuencia: %1")
                   .arg(QString::fromStdString(sepa::ComprobarSecuencia("FIRST")).chopped(1))};
    QTest::newRow("holder longer than the bank's 70 characters")
        << bien + QStringLiteral(";;;") + QString(71, u'A') << false
        << QStringList{QStringLiteral("Fila 2, Titular: tiene 71 caracteres, y admite 70 como "
                                      "mucho")};
    QTest::newRow("zero total") << QStringLiteral("0;0;") + kIban +
                                       QStringLiteral(";M-1;01/02/2024")
                                << false
                                << QStringList{QStringLiteral("Fila 2, Total: el total del "
                                                              "recibo es 0,00 €, y solo se "
                                                              "cobra un total mayor que cero")};
    QTest::newRow("negative total")
        << QStringLiteral("-5;0;") + kIban + QStringLiteral(";M-1;01/02/2024") << false
        << QStringList{QStringLiteral("Fila 2, Total: el total del recibo es -5,05 €, y solo se "
                                      "cobra un total mayor que cero")};

    // The debtor's bank outside the European Economic Area: its BIC is required
    const QString fuera = QStringLiteral("Fila 2, BIC: falta el BIC, que es obligatorio para una "
                                         "cuenta %1, fuera del Espacio Económico Europeo");
    QTest::newRow("Swiss IBAN without BIC")
        << QStringLiteral("10;0;CH9300762011623852957;M-1;01/02/2024;;;;Zürich;CH") << false
        << QStringList{fuera.arg(u"de Suiza (CH)")};
    QTest::newRow("Swiss IBAN with its BIC and the holder's town and country")
        << QStringLiteral("10;0;CH9300762011623852957;M-1;01/02/2024;UBSWCHZH80A;;;Zürich;ch")
        << true << QStringList{};
    // and the holder's town and country
    QTest::newRow("Swiss IBAN with its BIC, without the holder's town")
        << QStringLiteral("10;0;CH9300762011623852957;M-1;01/02/2024;UBSWCHZH80A") << false
        << QStringList{QStringLiteral("Fila 2, Población del titular: falta la población del "
                                      "deudor, obligatoria para una cuenta fuera del Espacio "
                                      "Económico Europeo")};
    QTest::newRow("Swiss IBAN, the country not a code")
        << QStringLiteral("10;0;CH9300762011623852957;M-1;01/02/2024;UBSWCHZH80A;;;Zürich;Suiza")
        << false
        << QStringList{QStringLiteral("Fila 2, País del titular: «SUIZA» no es un código de "
                                      "país: escriba sus dos letras (CH, GB, AD...)")};
    QTest::newRow("Spanish IBAN: the holder's address is not asked")
        << bien + QStringLiteral(";;;;;;") << true << QStringList{};
    QTest::newRow("North Macedonian IBAN without BIC")
        << QStringLiteral("10;0;MK07250120000058984;M-1;01/02/2024;;;;Skopje;MK") << false
        << QStringList{fuera.arg(u"de Macedonia del Norte (MK)")};

    // The mandate's date against today, 27/02/2024, once the collection date is known
    QTest::newRow("mandate signed after today, before the collection date")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;28/02/2024") << true
        << QStringList{QStringLiteral("Fila 2, Fecha del mandato: el mandato se firmó el "
                                      "28/02/2024, después de hoy (27/02/2024)")};
    QTest::newRow("mandate signed today")
        << QStringLiteral("10;0;") + kIban + QStringLiteral(";M-1;27/02/2024") << true
        << QStringList{};

    // Several rows: one mandate belongs to one account
    const QString otraCuenta = QStringLiteral("\n20;0;%1;M-1;01/02/2024")
                                   .arg(QString::fromStdString(sample::IbanFicticio(2)));
    const auto repetido = [](int fila, int otra) {
        return QStringLiteral("Fila %1, Mandato: la referencia del mandato «M-1» es también la "
                              "de la fila %2, que tiene otro IBAN: un mandato es de una sola "
                              "cuenta")
            .arg(fila)
            .arg(otra);
    };
    QTest::newRow("one mandate, two accounts")
        << bien + otraCuenta << true << QStringList{repetido(2, 3), repetido(3, 2)};
    QTest::newRow("one mandate, three rows, the last with another account")
        << bien + u'\n' + bien + otraCuenta << true
        << QStringList{repetido(2, 4), repetido(3, 4), repetido(4, 2)};
    QTest::newRow("one mandate, the same account written another way")
        << bien + QStringLiteral("\n20;0;") + kIban.toLower() + QStringLiteral(";M-1;01/02/2024")
        << true << QStringList{};
}

void TestListaAdeudos::filas() {
    QFETCH(QString, fila);
    QFETCH(bool, conCobro);
    QFETCH(QStringList, errores);
    lista::ListaRevisada l =
        Revisar(QStringLiteral("Importe 1;Importe 2;IBAN;Mandato;Fecha del mandato;BIC;"
                               "Secuencia;Titular;Población del titular;País del titular\n") +
                fila + u'\n');
    if (conCobro)
        lista::ComprobarMandatosHasta(l, Dia(2024, 3, 1), Dia(2024, 2, 27));
    QCOMPARE(Errores(l), errores);
}

void TestListaAdeudos::adeudoDeUnaFila() {
    const lista::ListaRevisada l =
        Revisar(QStringLiteral("Pagador;Importe 1;iban;bic;referencia del mandato;fecha_mandato;"
                               "Secuencia\n"
                               "Ana Peña;10;%1;caixesbbxxx; M-7 ;05/01/2023;frst\n"
                               "Luis;20;;;;;\n")
                    .arg(kIban.toLower()));
    QVERIFY(l.Emitible());
    QCOMPARE(lista::FilasSinAdeudo(l), qsizetype(1));
    QVERIFY(!lista::ConAdeudo(l.filas[1]));
    const sepa::Adeudo a = lista::AdeudoDeFila(l.filas[0]);
    QCOMPARE(a.iban, kIban.toStdString());
    QCOMPARE(a.bic, std::string("CAIXESBBXXX"));
    QCOMPARE(a.mandato, std::string("M-7"));
    QVERIFY(a.fechaMandato == Dia(2023, 1, 5));
    QVERIFY(a.secuencia == sepa::Secuencia::FRST);
    QCOMPARE(a.titular, std::string("Ana Peña")); // the payer's first line
    QCOMPARE(a.total, recibo::TotalRecibo(l.filas[0].recibo));
}

QTEST_GUILESS_MAIN(TestListaAdeudos)
#include "test_lista_adeudos.moc"
