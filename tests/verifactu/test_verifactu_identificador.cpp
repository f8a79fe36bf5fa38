// Spanish tax identifiers: the check character of a NIF, a NIE and an organisation's NIF.
// Every valid value's check character was worked out by hand: the DNI letter is the
// number modulo 23 in TRWAGMYFPDXBNJZSQVHLCKE; an organisation's control is ten minus the
// last digit of (digits in even places + the digits of twice those in odd places).
#include "verifactu/IdentificadorFiscal.h"

#include <QtTest>

using verifactu::ClaseIdentificador;

class TestVerifactuIdentificador : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void clase_data();
    void clase();
    void motivo_data();
    void motivo();
};

void TestVerifactuIdentificador::clase_data() {
    // clang-format off
    QTest::addColumn<QString>("texto");
    QTest::addColumn<int>("clase");
    const int nif = int(ClaseIdentificador::Nif), nie = int(ClaseIdentificador::Nie),
              cif = int(ClaseIdentificador::Cif), ninguna = int(ClaseIdentificador::Ninguna);
    // 12345678 = 23 x 536768 + 14: Z
    QTest::newRow("DNI con su letra") << "12345678Z" << nif;
    QTest::newRow("DNI con puntos, guion y minúscula") << " 12.345.678-z " << nif;
    QTest::newRow("DNI de ceros (resto 0: T)") << "00000000T" << nif;
    // 89890001 = 23 x 3908260 + 21: K, the AEAT's own test NIF
    QTest::newRow("NIF de pruebas de la AEAT") << "89890001K" << nif;
    QTest::newRow("DNI con otra letra") << "12345678A" << ninguna;
    QTest::newRow("DNI de siete cifras") << "1234567Z" << ninguna;
    QTest::newRow("Nueve cifras sin letra") << "123456789" << ninguna;
    // X, Y, Z are 0, 1, 2: 01234567 = 23 x 53676 + 19: L; 11234567 rest 10: X; 21234567 rest 1: R
    QTest::newRow("NIE con X") << "X1234567L" << nie;
    QTest::newRow("NIE con Y") << "y-1234567-x" << nie;
    QTest::newRow("NIE con Z") << "Z1234567R" << nie;
    QTest::newRow("NIE con otra letra") << "X1234567A" << ninguna;
    QTest::newRow("NIE con una letra entre las cifras") << "X12A4567L" << ninguna;
    // 1234567: 2+6+(1+0)+(1+4) + 2+4+6 = 26, control 4 (letter D)
    QTest::newRow("Sociedad limitada, cifra") << "B12345674" << cif;
    QTest::newRow("Sociedad limitada con letra") << "B1234567D" << ninguna;
    QTest::newRow("Sociedad limitada, otra cifra") << "B12345675" << ninguna;
    QTest::newRow("Asociación con cifra") << "G12345674" << cif;
    QTest::newRow("Asociación con letra") << "G1234567D" << cif;
    QTest::newRow("Organismo público con letra") << "P1234567D" << cif;
    QTest::newRow("Organismo público con cifra") << "P12345674" << ninguna;
    // 2826000: 4+8+4+6+0+0+0 = 22, control 8 (letter H)
    QTest::newRow("Organismo autónomo Q") << "Q2826000H" << cif;
    // 5881850: (1+0)+8+(1+6)+1+(1+6)+5+0 = 29, control 1
    QTest::newRow("Sociedad anónima") << "A58818501" << cif;
    // 0012345: 0+0+2+2+6+4+(1+0) = 15, control 5 (letter E): "00" is a non-resident, letter
    QTest::newRow("No residente (00) con letra") << "B0012345E" << cif;
    QTest::newRow("No residente (00) con cifra") << "B00123455" << ninguna;
    QTest::newRow("Letra de organización que no existe") << "I12345674" << ninguna;
    QTest::newRow("Vacío") << "" << ninguna;
    // clang-format on
}

void TestVerifactuIdentificador::clase() {
    QFETCH(QString, texto);
    QFETCH(int, clase);
    const std::string normalizado = verifactu::NormalizarIdentificador(texto.toStdString());
    QCOMPARE(int(verifactu::ClasificarIdentificador(normalizado)), clase);
}

// What the user reads; empty when the identifier can be used.
void TestVerifactuIdentificador::motivo_data() {
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("Válido") << "12345678z"
                            << "";
    QTest::newRow("Solo espacios") << "   "
                                   << "Falta el NIF.";
    QTest::newRow("Corto") << "1234567Z"
                           << "Un NIF tiene 9 caracteres, y este tiene 8.";
    QTest::newRow("Letra mal") << "12345678-a"
                               << "El NIF «12345678A» no es válido: revise sus cifras y su letra.";
}

void TestVerifactuIdentificador::motivo() {
    QFETCH(QString, texto);
    QFETCH(QString, motivo);
    QCOMPARE(QString::fromStdString(verifactu::MotivoIdentificador(texto.toStdString())), motivo);
}

QTEST_APPLESS_MAIN(TestVerifactuIdentificador)
#include "test_verifactu_identificador.moc"
