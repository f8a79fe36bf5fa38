// An invoice's QR code at the top of the page, through a recording page: the module's size,
// the dark modules as rectangles, and the form moved down as one block, or the whole page
// shrunk as one where the paper is too short for both.
#include "RecordingSurface.h"
#include "SampleRecords.h"

#include "receipt/BloqueQr.h"
#include "receipt/Recibo.h"
#include "receipt/ReciboLayout.h"

#include <QTest>

#include <random>

namespace {

// A mark of `lado` modules, dark at random but the same every run.
MarcaQr Marca(int lado, unsigned semilla) {
    std::mt19937 azar(semilla);
    MarcaQr m{lado, {}};
    for (int i = 0; i < lado * lado; ++i)
        m.oscuros.push_back(std::uint8_t(azar() % 2));
    return m;
}

} // namespace

class TestBloqueQr : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ladoEntre30y40mm();
    void rectangulosCubrenSoloLosOscuros();
    void formularioBajaOEncoge_data();
    void formularioBajaOEncoge();
};

void TestBloqueQr::ladoEntre30y40mm() {
    // Versions 1 to 25 of the symbol: 21 to 117 modules a side.
    for (int lado = 21; lado <= 117; lado += 4) {
        const int total = recibo::LadoModulo(lado) * lado;
        QVERIFY2(total >= 300 && total <= 400, qPrintable(QString::number(lado)));
    }
}

void TestBloqueQr::rectangulosCubrenSoloLosOscuros() {
    const MarcaQr m = Marca(37, 7);
    std::vector<int> cubierto(37 * 37, 0);
    const auto rects = recibo::RectangulosOscuros(m, 100, 200, 9);
    for (const page::Rect& r : rects)
        for (int y = r.top; y < r.bottom; y += 9)
            for (int x = r.left; x < r.right; x += 9)
                ++cubierto[std::size_t((y - 200) / 9 * 37 + (x - 100) / 9)];
    for (std::size_t i = 0; i < cubierto.size(); ++i)
        QCOMPARE(cubierto[i], int(m.oscuros[i])); // each dark module once, no light one
    QVERIFY(rects.size() * 2 < std::size_t(std::count(m.oscuros.begin(), m.oscuros.end(), 1)));
}

void TestBloqueQr::formularioBajaOEncoge_data() {
    QTest::addColumn<int>("anchoMm");
    QTest::addColumn<int>("altoMm");
    QTest::addColumn<bool>("cabe");
    QTest::newRow("A4 vertical") << 210 << 297 << true;
    QTest::newRow("A6 apaisado, más bajo que el código y el formulario") << 148 << 105 << false;
}

void TestBloqueQr::formularioBajaOEncoge() {
    QFETCH(int, anchoMm);
    QFETCH(int, altoMm);
    QFETCH(bool, cabe);
    RecordingSurface sin({anchoMm, altoMm, anchoMm * 10, altoMm * 10});
    CRecibo plano = sample::Filled();
    plano.Dibujar(sin);
    RecordingSurface con({anchoMm, altoMm, anchoMm * 10, altoMm * 10});
    CRecibo factura = sample::Filled();
    factura.m_Qr = Marca(41, 3);
    factura.Dibujar(con);

    const int bajada = recibo::AltoBloqueQr(factura.m_Qr);
    const int alto = bajada + recibo::ALTO_MARCO;
    if (cabe) {
        QCOMPARE(con.windowHeight, altoMm * 10);
        QCOMPARE(con.windowWidth, anchoMm * 10);
    } else {
        // The page shrinks as one: the foot of the frame is the foot of the paper.
        QCOMPARE(con.windowHeight, alto);
        QVERIFY(qAbs(double(con.windowWidth) / con.windowHeight - double(anchoMm) / altoMm) <
                0.001);
    }
    // The form's rectangles and texts, after the code's, are today's moved down.
    const std::size_t modulos = recibo::RectangulosOscuros(factura.m_Qr, 0, 0, 1).size();
    QCOMPARE(con.rectangles.size(), sin.rectangles.size() + modulos);
    for (std::size_t i = 0; i < sin.rectangles.size(); ++i) {
        const page::Rect a = sin.rectangles[i].rect;
        const page::Rect b = con.rectangles[modulos + i].rect;
        QCOMPARE(b.left, a.left);
        QCOMPARE(b.right, a.right);
        QCOMPARE(b.top, a.top + bajada);
        QCOMPARE(b.bottom, a.bottom + bajada);
    }
    QCOMPARE(con.texts.size(), sin.texts.size() + 2);
    for (std::size_t i = 0; i < sin.texts.size(); ++i)
        QCOMPARE(con.texts[i + 2].rect.top, sin.texts[i].rect.top + bajada);
    QCOMPARE(con.texts[0].text, std::string("QR tributario:"));
    QCOMPARE(con.texts[1].text, std::string("VERI*FACTU"));
    QVERIFY(con.texts[1].rect.bottom <= bajada);
    QCOMPARE(con.texts[1].font.cellHeight, recibo::ALTO_VALOR);
}

QTEST_GUILESS_MAIN(TestBloqueQr)
#include "test_bloque_qr.moc"
