// Texts in the banks' character set, and what the debtor reads on the statement.
#include "sepa/TextoSepa.h"

#include <QtTest>

class TestSepaTexto : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void textoSepa_data();
    void textoSepa();
    void informacionRemesa_data();
    void informacionRemesa();
};

void TestSepaTexto::textoSepa_data() {
    // clang-format off
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("limite");
    QTest::addColumn<QString>("sepa");
    // Accents, signs and spaces
    QTest::newRow("eñe") << "Peña" << 70 << "Pena";
    QTest::newRow("ce cedilla mayúscula") << "ÇALÇADA" << 70 << "CALCADA";
    QTest::newRow("acentos y diéresis") << "Ávila, Güell, Mònica" << 70 << "Avila, Guell, Monica";
    QTest::newRow("ampersand") << "Peña & Hijos" << 70 << "Pena + Hijos";
    QTest::newRow("ordinal") << "3º B, 1ª" << 70 << "3o B, 1a";
    QTest::newRow("euro y punto y coma, un espacio cada uno") << "5€;x" << 70 << "5  x";
    QTest::newRow("fuera del plano básico, un espacio") << "a😀b" << 70 << "a b";
    QTest::newRow("espacios y saltos de línea en los extremos") << "\n Ana \t" << 70 << "Ana";
    QTest::newRow("cortado en el límite tras quitar acentos") << "ÑÑÑÑÑ" << 3 << "NNN";
    QTest::newRow("el corte no deja espacios al final") << "ab  cd" << 4 << "ab";
    // Letters that no decomposition takes to a-z, spelt out instead of turned into spaces
    QTest::newRow("eszett alemana") << "Großstraße" << 70 << "Grossstrasse";
    QTest::newRow("ligaduras ae y oe") << "Æsir, æble, Œuvre, cœur" << 70 << "AEsir, aeble, OEuvre, coeur";
    QTest::newRow("o tachada") << "Øster Ærøskøbing" << 70 << "Oster AEroskobing";
    QTest::newRow("eth y thorn islandesas") << "Þórður Ðóra, Eyþór" << 70 << "THordur Dora, Eythor";
    QTest::newRow("ele con barra polaca") << "Łódź, Wałęsa" << 70 << "Lodz, Walesa";
    QTest::newRow("de con barra croata") << "Đorđe Đurić" << 70 << "Dorde Duric";
    QTest::newRow("hache con barra e i sin punto") << "Ħal Qormi, Işık" << 70 << "Hal Qormi, Isik";
    QTest::newRow("punto volado catalán") << "Col·legi, Ŀ" << 70 << "Col.legi, L.";
    // A text that grows is cut by the characters it has once spelt out
    QTest::newRow("eszett cortada en el límite") << "ßßßß" << 3 << "sss";
    QTest::newRow("ligadura cortada por la mitad") << "XÆ" << 2 << "XA";
    // clang-format on
}

void TestSepaTexto::textoSepa() {
    QFETCH(QString, texto);
    QFETCH(int, limite);
    QFETCH(QString, sepa);
    QCOMPARE(QString::fromStdString(sepa::TextoSepa(texto.toStdString(), std::size_t(limite))),
             sepa);
}

void TestSepaTexto::informacionRemesa_data() {
    // clang-format off
    QTest::addColumn<QString>("numero");
    QTest::addColumn<QStringList>("conceptos");
    QTest::addColumn<QString>("esperado");
    // The lines joined
    QTest::newRow("líneas vacías fuera") << "17" << QStringList{"Alquiler de marzo", "", " ", "Comunidad"} << "Recibo 17: Alquiler de marzo / Comunidad";
    QTest::newRow("sin conceptos") << "A-3" << QStringList{"", ""} << "Recibo A-3";
    QTest::newRow("con acentos") << "5" << QStringList{"Reparación"} << "Recibo 5: Reparacion";
    // Cut to 140 characters
    const QString palabra = QStringLiteral("Mantenimiento ");
    // "Recibo 9: " is 10 characters, each word 14: nine words end at 136, a tenth at 150.
    QTest::newRow("cortado en una palabra") << "9" << QStringList{palabra.repeated(12)} << QStringLiteral("Recibo 9: ") + palabra.repeated(9).trimmed();
    QTest::newRow("sin espacio donde cortar") << "X" << QStringList{QString(200, u'z')} << QStringLiteral("Recibo X: ") + QString(130, u'z');
    // 126 letters end at 136; the separator takes 136 to 138, and the next space is at 141.
    QTest::newRow("cortado en la barra entre dos líneas, sin ella") << "9" << QStringList{QString(126, u'a'), QStringLiteral("xx yyyy")} << QStringLiteral("Recibo 9: ") + QString(126, u'a');
    // clang-format on
}

void TestSepaTexto::informacionRemesa() {
    QFETCH(QString, numero);
    QFETCH(QStringList, conceptos);
    QFETCH(QString, esperado);
    std::vector<std::string> lineas;
    for (const QString& c : conceptos)
        lineas.push_back(c.toStdString());
    const QString texto =
        QString::fromStdString(sepa::InformacionRemesa(numero.toStdString(), lineas));
    QCOMPARE(texto, esperado);
    QVERIFY(texto.size() <= 140);
}

QTEST_APPLESS_MAIN(TestSepaTexto)
#include "test_sepa_texto.moc"
