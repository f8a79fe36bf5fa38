// The huella against the tax agency's three worked examples (first record, chained record,
// anulación) and the two records of the hand-written examples in data/, then a chain
// checked record by record, and what the check says when a record was changed, removed or
// moved.
#include "verifactu/Cadena.h"
#include "verifactu/Huella.h"

#include <QtTest>

using namespace verifactu;
Q_DECLARE_METATYPE(verifactu::Registro)

namespace {

constexpr char kHuella1[] = "3C464DAF61ACB827C65FDA19F352A4E3BDC2C640E9E9FC4CC058073F38F12F60";
constexpr char kHuella2[] = "F7B94CFD8924EDFF273501B01EE5153E4CE8F259766F88CF6ACB8935802A2B97";
constexpr char kHuella3[] = "177547C0D57AC74748561D054A9CEC14B4C4EA23D1BEFD6F2E69E3A388F90C68";

RegistroAlta Alta(std::string numSerie, std::string fecha, std::string cuota, std::string importe,
                  std::string fechaHora) {
    RegistroAlta r;
    r.factura = {"89890001K", std::move(numSerie), std::move(fecha)};
    r.tipoFactura = "F1";
    r.cuotaTotal = std::move(cuota);
    r.importeTotal = std::move(importe);
    r.fechaHoraHuso = std::move(fechaHora);
    return r;
}

RegistroAnulacion Anulacion(IdFactura anulada, std::string fechaHora) {
    RegistroAnulacion r;
    r.anulada = std::move(anulada);
    r.fechaHoraHuso = std::move(fechaHora);
    return r;
}

// The tax agency's chain: two altas and the anulación of the second, with its huellas.
std::vector<Registro> CadenaAeat() {
    RegistroAlta primero =
        Alta("12345678/G33", "01-01-2024", "12.35", "123.45", "2024-01-01T19:20:30+01:00");
    primero.huella = kHuella1;
    RegistroAlta segundo =
        Alta("12345679/G34", "01-01-2024", "12.35", "123.45", "2024-01-01T19:20:35+01:00");
    segundo.anterior = RegistroAnterior{primero.factura, kHuella1};
    segundo.huella = kHuella2;
    RegistroAnulacion tercero = Anulacion(segundo.factura, "2024-01-01T19:20:40+01:00");
    tercero.anterior = RegistroAnterior{segundo.factura, kHuella2};
    tercero.huella = kHuella3;
    return {primero, segundo, tercero};
}

// Five records chained one after another, as the program generates them.
std::vector<Registro> CadenaPropia() {
    std::vector<Registro> cadena;
    for (int n = 1; n <= 4; ++n) {
        Registro r = Alta("R2026/000" + std::to_string(n), "15-01-2026", "21.00", "121.00",
                          "2026-01-15T10:3" + std::to_string(n) + ":00+01:00");
        Encadenar(r, cadena.empty() ? nullptr : &cadena.back());
        cadena.push_back(r);
    }
    Registro anulacion =
        Anulacion({"89890001K", "R2026/0002", "15-01-2026"}, "2026-01-15T11:00:00+01:00");
    Encadenar(anulacion, &cadena.back());
    cadena.push_back(anulacion);
    return cadena;
}

} // namespace

class TestVerifactuHuella : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void huella_data();
    void huella();
    void cadena_data();
    void cadena();
};

void TestVerifactuHuella::huella_data() {
    // clang-format off
    QTest::addColumn<Registro>("registro");
    QTest::addColumn<QString>("texto");
    QTest::addColumn<QString>("huella");
    const std::vector<Registro> aeat = CadenaAeat();
    QTest::newRow("AEAT: primer registro, sin huella anterior") << aeat[0]
        << "IDEmisorFactura=89890001K&NumSerieFactura=12345678/G33&FechaExpedicionFactura=01-01-2024&TipoFactura=F1&CuotaTotal=12.35&ImporteTotal=123.45&Huella=&FechaHoraHusoGenRegistro=2024-01-01T19:20:30+01:00"
        << kHuella1;
    QTest::newRow("AEAT: segundo registro, encadenado") << aeat[1]
        << "IDEmisorFactura=89890001K&NumSerieFactura=12345679/G34&FechaExpedicionFactura=01-01-2024&TipoFactura=F1&CuotaTotal=12.35&ImporteTotal=123.45&Huella=3C464DAF61ACB827C65FDA19F352A4E3BDC2C640E9E9FC4CC058073F38F12F60&FechaHoraHusoGenRegistro=2024-01-01T19:20:35+01:00"
        << kHuella2;
    QTest::newRow("AEAT: anulación del segundo") << aeat[2]
        << "IDEmisorFacturaAnulada=89890001K&NumSerieFacturaAnulada=12345679/G34&FechaExpedicionFacturaAnulada=01-01-2024&Huella=F7B94CFD8924EDFF273501B01EE5153E4CE8F259766F88CF6ACB8935802A2B97&FechaHoraHusoGenRegistro=2024-01-01T19:20:40+01:00"
        << kHuella3;
    // The value's surrounding spaces are not part of it.
    RegistroAlta conEspacios = std::get<RegistroAlta>(aeat[0]);
    conEspacios.factura.numSerie = " 12345678/G33 ";
    QTest::newRow("Espacios alrededor de un valor") << Registro(conEspacios)
        << "IDEmisorFactura=89890001K&NumSerieFactura=12345678/G33&FechaExpedicionFactura=01-01-2024&TipoFactura=F1&CuotaTotal=12.35&ImporteTotal=123.45&Huella=&FechaHoraHusoGenRegistro=2024-01-01T19:20:30+01:00"
        << kHuella1;
    // data/RegFactuSistemaFacturacion-alta.xml and -anulacion.xml
    const Registro alta = Alta("R2026/0001", "15-01-2026", "26.20", "176.20", "2026-01-15T10:30:00+01:00");
    QTest::newRow("Ejemplo propio: alta con RE y línea exenta") << alta
        << "IDEmisorFactura=89890001K&NumSerieFactura=R2026/0001&FechaExpedicionFactura=15-01-2026&TipoFactura=F1&CuotaTotal=26.20&ImporteTotal=176.20&Huella=&FechaHoraHusoGenRegistro=2026-01-15T10:30:00+01:00"
        << "028D2F88434DEAB1548D3439F20EB1590599BA232BF3D606D64540754C44C220";
    RegistroAnulacion anulacion = Anulacion({"89890001K", "R2026/0001", "15-01-2026"}, "2026-01-15T11:00:00+01:00");
    anulacion.anterior = RegistroAnterior{anulacion.anulada, "028D2F88434DEAB1548D3439F20EB1590599BA232BF3D606D64540754C44C220"};
    QTest::newRow("Ejemplo propio: su anulación") << Registro(anulacion)
        << "IDEmisorFacturaAnulada=89890001K&NumSerieFacturaAnulada=R2026/0001&FechaExpedicionFacturaAnulada=15-01-2026&Huella=028D2F88434DEAB1548D3439F20EB1590599BA232BF3D606D64540754C44C220&FechaHoraHusoGenRegistro=2026-01-15T11:00:00+01:00"
        << "1EC609B74D36D37C47206F16238818980BB45AA98776051B86322E6B73453327";
    // clang-format on
}

void TestVerifactuHuella::huella() {
    QFETCH(Registro, registro);
    QFETCH(QString, texto);
    QFETCH(QString, huella);
    const std::string hecho = std::visit([](const auto& r) { return TextoHuella(r); }, registro);
    QCOMPARE(QString::fromStdString(hecho), texto);
    QCOMPARE(QString::fromStdString(CalcularHuella(registro)), huella);
}

// `fallo` is the first record the check refuses (from 1), 0 when the chain holds.
void TestVerifactuHuella::cadena_data() {
    QTest::addColumn<std::vector<Registro>>("cadena");
    QTest::addColumn<int>("fallo");
    QTest::addColumn<QString>("motivo");
    QTest::newRow("Cadena de la AEAT") << CadenaAeat() << 0 << "";
    const std::vector<Registro> propia = CadenaPropia();
    QTest::newRow("Cuatro altas y una anulación") << propia << 0 << "";

    std::vector<Registro> importe = propia;
    std::get<RegistroAlta>(importe[2]).importeTotal = "12.10";
    QTest::newRow("Importe cambiado") << importe << 3 << "sus datos se han cambiado";

    std::vector<Registro> sinUno = propia;
    sinUno.erase(sinUno.begin() + 1);
    QTest::newRow("Registro quitado") << sinUno << 2 << "falta uno o se ha cambiado";

    std::vector<Registro> cambiados = propia;
    std::swap(cambiados[1], cambiados[2]);
    QTest::newRow("Dos registros de orden cambiado") << cambiados << 2 << "no sigue al registro";

    std::vector<Registro> sinPrimero(propia.begin() + 1, propia.end());
    QTest::newRow("Falta el primero") << sinPrimero << 1 << "pero es el primero";

    std::vector<Registro> segundoPrimero = propia;
    std::get<RegistroAlta>(segundoPrimero[1]).anterior.reset();
    QTest::newRow("Un segundo que dice ser primero")
        << segundoPrimero << 2 << "dice ser el primero";

    std::vector<Registro> huellaPrevia = propia;
    std::get<RegistroAlta>(huellaPrevia[3]).huella[0] = '0';
    QTest::newRow("Huella reescrita") << huellaPrevia << 4 << "sus datos se han cambiado";
}

void TestVerifactuHuella::cadena() {
    QFETCH(std::vector<Registro>, cadena);
    QFETCH(int, fallo);
    QFETCH(QString, motivo);
    const ResultadoCadena r = VerificarCadena(cadena);
    QCOMPARE(r.correcta, fallo == 0);
    if (fallo != 0) {
        QCOMPARE(int(r.registro) + 1, fallo);
        QVERIFY2(QString::fromStdString(r.motivo).contains(motivo), r.motivo.c_str());
    }
}

QTEST_APPLESS_MAIN(TestVerifactuHuella)
#include "test_verifactu_huella.moc"
