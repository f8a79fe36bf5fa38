// An invoice's QR code on paper too short for it and the form: the whole page shrinks as
// one, the same on both axes, so that the foot of the form is the foot of the paper. (The
// code read back and the form moved down on A4 are tested on the real outputs, in print/.)
#include "RecordingSurface.h"
#include "SampleRecords.h"

#include "receipt/BloqueQr.h"
#include "receipt/Recibo.h"
#include "receipt/ReciboLayout.h"
#include "receipt/SuperficieDesplazada.h"

#include <QTest>

class TestBloqueQr : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void papelCortoEncogeLaPagina() {
        RecordingSurface a6({148, 105, 1748, 1240}); // A6 landscape at 300 dpi
        CRecibo factura = sample::Filled();
        factura.m_Qr = MarcaQr{41, std::vector<std::uint8_t>(41 * 41, 1)};
        factura.Dibujar(a6);
        const int alto = recibo::AltoBloqueQr(factura.m_Qr) + recibo::ALTO_MARCO;
        QVERIFY(alto > 1050);
        QCOMPARE(a6.windowHeight, alto);
        QVERIFY(qAbs(a6.windowWidth * 105.0 / (a6.windowHeight * 148.0) - 1) < 0.001);
        // The frame, the first rectangle after the code's, ends at the foot of the window.
        QCOMPARE(a6.rectangles.at(1).rect.bottom, alto);
    }

    void rellenoBajaConElFormulario() {
        RecordingSurface pagina;
        recibo::SuperficieDesplazada formulario(pagina, 500);
        formulario.FillRectangles({{10, 20, 30, 40}, {30, 20, 35, 25}}, page::RgbColor(0, 0, 0));
        QCOMPARE(pagina.rectangles.size(), std::size_t(2));
        QCOMPARE(pagina.rectangles[0].rect, (page::Rect{10, 520, 30, 540}));
        QCOMPARE(pagina.rectangles[1].rect, (page::Rect{30, 520, 35, 525}));
    }
};

QTEST_GUILESS_MAIN(TestBloqueQr)
#include "test_bloque_qr.moc"
