// The items of the percentage lists: what qualifies, in which text, why one is refused, the
// lists read from their stored text, and the hundredths the computation takes.
#include "receipt/TiposImpositivos.h"

#include <QTest>

#include <string>

using tipos::Impuesto;

Q_DECLARE_METATYPE(Impuesto)

namespace {

QStringList Textos(const std::vector<std::string>& items) {
    QStringList textos;
    for (const std::string& item : items)
        textos << QString::fromStdString(item);
    return textos;
}

} // namespace

class TestTiposImpositivos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void normalizar_data();
    void normalizar();
    void desdeTexto_data();
    void desdeTexto();
    void hugeKeyKeepsEveryDistinctItem();
    void storedTextReadsBackTheSameList();
    void centesimasOfEveryReItem();
};

void TestTiposImpositivos::normalizar_data() {
    QTest::addColumn<Impuesto>("impuesto");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("normal"); // empty: refused
    QTest::addColumn<QString>("motivo"); // a word of the reason given for a refusal

    // --- Whole numbers: IVA and IRPF ---
    QTest::newRow("IVA 21") << Impuesto::Iva << "21"
                            << "21"
                            << "";
    QTest::newRow("IVA 07 is 7") << Impuesto::Iva << "07"
                                 << "7"
                                 << "";
    QTest::newRow("IVA 00 is 0") << Impuesto::Iva << "00"
                                 << "0"
                                 << "";
    QTest::newRow("IVA spaces and tab trimmed") << Impuesto::Iva << " 10\t"
                                                << "10"
                                                << "";
    QTest::newRow("IRPF 99 is the top") << Impuesto::Irpf << "99"
                                        << "99"
                                        << "";
    QTest::newRow("IRPF 100 refused") << Impuesto::Irpf << "100"
                                      << ""
                                      << "99";
    QTest::newRow("IVA with decimals refused") << Impuesto::Iva << "10,5"
                                               << ""
                                               << "entero";
    QTest::newRow("IVA empty refused") << Impuesto::Iva << "  "
                                       << ""
                                       << "Escriba";
    QTest::newRow("IVA sign refused") << Impuesto::Iva << "-4"
                                      << ""
                                      << "cifras";
    QTest::newRow("IRPF percent sign refused") << Impuesto::Irpf << "19%"
                                               << ""
                                               << "cifras";
    // --- Up to two decimals: RE ---
    QTest::newRow("RE 5,2") << Impuesto::Re << "5,2"
                            << "5,2"
                            << "";
    QTest::newRow("RE 5,20 is 5,2") << Impuesto::Re << "5,20"
                                    << "5,2"
                                    << "";
    QTest::newRow("RE 0,50 is 0,5") << Impuesto::Re << "0,50"
                                    << "0,5"
                                    << "";
    QTest::newRow("RE 4,00 is 4") << Impuesto::Re << "4,00"
                                  << "4"
                                  << "";
    QTest::newRow("RE 99,99 is the top") << Impuesto::Re << "99,99"
                                         << "99,99"
                                         << "";
    QTest::newRow("RE three decimals refused") << Impuesto::Re << "1,755"
                                               << ""
                                               << "dos decimales";
    QTest::newRow("RE point decimal refused") << Impuesto::Re << "5.2"
                                              << ""
                                              << "coma";
    QTest::newRow("RE comma and nothing after refused") << Impuesto::Re << "5,"
                                                        << ""
                                                        << "Faltan";
    QTest::newRow("RE comma and nothing before refused") << Impuesto::Re << ",5"
                                                         << ""
                                                         << "entera";
    QTest::newRow("RE 100 refused") << Impuesto::Re << "100,5"
                                    << ""
                                    << "99";
}

void TestTiposImpositivos::normalizar() {
    QFETCH(Impuesto, impuesto);
    QFETCH(QString, item);
    QFETCH(QString, normal);
    QFETCH(QString, motivo);
    const auto hecho = tipos::Normalizar(impuesto, item.toStdString());
    QCOMPARE(hecho ? QString::fromStdString(*hecho) : QString(), normal);
    const QString dicho = QString::fromStdString(tipos::Motivo(impuesto, item.toStdString()));
    QCOMPARE(dicho.isEmpty(), motivo.isEmpty());
    QVERIFY2(dicho.contains(motivo), qPrintable(dicho));
}

void TestTiposImpositivos::desdeTexto_data() {
    QTest::addColumn<Impuesto>("impuesto");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QStringList>("lista");

    QTest::newRow("absent or empty key: the original IVA")
        << Impuesto::Iva << "" << QStringList{"0", "4", "7", "16"};
    QTest::newRow("today's IVA") << Impuesto::Iva << "0;4;10;21"
                                 << QStringList{"0", "4", "10", "21"};
    QTest::newRow("partly invalid: the bad items dropped")
        << Impuesto::Re << "0;5.2;abc;1,4;;5,2" << QStringList{"0", "1,4", "5,2"};
    QTest::newRow("no valid item: the original RE")
        << Impuesto::Re << "x;5.2; ;" << QStringList{"0", "0,5", "1", "1,75", "4"};
    QTest::newRow("0 added when missing")
        << Impuesto::Irpf << "19;15" << QStringList{"0", "19", "15"};
    QTest::newRow("repeats in other spellings dropped")
        << Impuesto::Irpf << "07;7; 7 ;19;0" << QStringList{"7", "19", "0"};
    QTest::newRow("spaces around the items")
        << Impuesto::Iva << " 0 ; 21 " << QStringList{"0", "21"};
}

void TestTiposImpositivos::desdeTexto() {
    QFETCH(Impuesto, impuesto);
    QFETCH(QString, texto);
    QFETCH(QStringList, lista);
    QCOMPARE(Textos(tipos::DesdeTexto(impuesto, texto.toStdString())), lista);
}

void TestTiposImpositivos::hugeKeyKeepsEveryDistinctItem() {
    // Every RE from 0,01 to 99,99 written twice, with leading zeros the second time: 10 000
    // items and about 170 KB.
    std::string texto;
    for (int n = 1; n < 10000; ++n)
        texto += std::to_string(n / 100) + ',' + std::to_string(n % 100 / 10) +
                 std::to_string(n % 10) + ";0" + std::to_string(n / 100) + ',' +
                 std::to_string(n % 100 / 10) + std::to_string(n % 10) + ';';
    const std::vector<std::string> lista = tipos::DesdeTexto(Impuesto::Re, texto);
    QCOMPARE(lista.size(), std::size_t(10000));
    QCOMPARE(lista.front(), std::string("0"));
    QCOMPARE(lista[1], std::string("0,01"));
    QCOMPARE(lista.back(), std::string("99,99"));
}

void TestTiposImpositivos::storedTextReadsBackTheSameList() {
    for (const Impuesto impuesto : tipos::kImpuestos) {
        const std::vector<std::string> vigentes = tipos::Vigentes(impuesto);
        QCOMPARE(tipos::DesdeTexto(impuesto, tipos::ATexto(vigentes)), vigentes);
    }
    QCOMPARE(tipos::ATexto(tipos::Vigentes(Impuesto::Re)), std::string("0;0,5;1,4;1,75;5,2"));
}

void TestTiposImpositivos::centesimasOfEveryReItem() {
    // The reference is the integer n itself, written with integer arithmetic.
    for (int n = 0; n < 10000; ++n) {
        const std::string texto =
            std::to_string(n / 100) + ',' + std::to_string(n % 100 / 10) + std::to_string(n % 10);
        QCOMPARE(tipos::Centesimas(Impuesto::Re, texto), std::optional<std::int32_t>(n));
    }
    QCOMPARE(tipos::Centesimas(Impuesto::Iva, "21"), std::optional<std::int32_t>(2100));
    QVERIFY(!tipos::Centesimas(Impuesto::Re, "5.2").has_value());
}

QTEST_APPLESS_MAIN(TestTiposImpositivos)
#include "test_tipos_impositivos.moc"
