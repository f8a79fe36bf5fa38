// The items of the percentage lists: what qualifies, in which text, why one is refused, the
// lists read from their stored text, and the hundredths the computation takes.
#include "receipt/TiposImpositivos.h"

#include <QTest>

#include <string>

using tipos::Impuesto;

Q_DECLARE_METATYPE(Impuesto)

namespace {

void Fila(const char* caso, Impuesto impuesto, const char* item, const char* normal,
          const char* motivo) {
    QTest::newRow(caso) << impuesto << QString::fromUtf8(item) << QString::fromUtf8(normal)
                        << QString::fromUtf8(motivo);
}

void Lista(const char* caso, Impuesto impuesto, const char* texto, const char* lista) {
    QTest::newRow(caso) << impuesto << QString::fromUtf8(texto) << QString::fromUtf8(lista);
}

} // namespace

class TestTiposImpositivos : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void normalizar_data();
    void normalizar();
    void desdeTexto_data();
    void desdeTexto();
    void centesimasOfEveryReItem();
};

void TestTiposImpositivos::normalizar_data() {
    QTest::addColumn<Impuesto>("impuesto");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("normal"); // empty: refused
    QTest::addColumn<QString>("motivo"); // a word of the reason given for a refusal
    const Impuesto iva = Impuesto::Iva, re = Impuesto::Re, irpf = Impuesto::Irpf;
    // --- Whole numbers: IVA and IRPF ---
    Fila("IVA 07 is 7", iva, "07", "7", "");
    Fila("IVA 00 is 0", iva, "00", "0", "");
    Fila("IVA blank refused", iva, "  ", "", "Escriba");
    Fila("IVA spaces and tab trimmed", iva, " 10\t", "10", "");
    Fila("IRPF 99 is the top", irpf, "99", "99", "");
    Fila("IRPF 100 refused", irpf, "100", "", "99");
    Fila("IVA with decimals refused", iva, "10,5", "", "entero");
    Fila("IRPF percent sign refused", irpf, "19%", "", "cifras");
    // --- Up to two decimals: RE ---
    Fila("RE 5,20 is 5,2", re, "5,20", "5,2", "");
    Fila("RE 99,99 is the top", re, "99,99", "99,99", "");
    Fila("RE three decimals refused", re, "1,755", "", "dos decimales");
    Fila("RE point decimal refused", re, "5.2", "", "coma");
    Fila("RE nothing after the comma refused", re, "5,", "", "Faltan");
    Fila("RE nothing before the comma refused", re, ",5", "", "entera");
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
    QTest::addColumn<QString>("lista"); // as stored again
    Lista("empty key: the original IVA", Impuesto::Iva, "", "0;4;7;16");
    Lista("partly invalid: the bad items dropped", Impuesto::Re, "0;5.2;abc;1,4;;5,2", "0;1,4;5,2");
    Lista("no valid item: the original RE", Impuesto::Re, "x;5.2; ;", "0;0,5;1;1,75;4");
    Lista("0 added when missing", Impuesto::Irpf, "19;15", "0;19;15");
    Lista("repeats in other spellings dropped", Impuesto::Irpf, "07;7; 7 ;19;0", "7;19;0");
}

void TestTiposImpositivos::desdeTexto() {
    QFETCH(Impuesto, impuesto);
    QFETCH(QString, texto);
    QFETCH(QString, lista);
    QCOMPARE(tipos::ATexto(tipos::DesdeTexto(impuesto, texto.toStdString())), lista.toStdString());
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
