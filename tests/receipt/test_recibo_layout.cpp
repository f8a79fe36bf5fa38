// The fixed form of the receipt as drawn through a recording page: mapping, frame, boxes,
// captions, the values of the boxes, the lower texts, fonts, drawing order and the logo strip.
#include "RecordingSurface.h"
#include "SampleRecords.h"

#include "receipt/Recibo.h"

#include <QTest>

#include <algorithm>
#include <climits>

using page::Align;
using page::Rect;

Q_DECLARE_METATYPE(page::Rect)
Q_DECLARE_METATYPE(page::Align)

namespace {

constexpr page::Color BLACK = 0x000000;
constexpr page::Color WHITE = 0xFFFFFF;
constexpr page::Color FRAME_GREY = 0xC8C8C8;

const char* const FACE = "Times New Roman";

QByteArray Print(const Rect& r) {
    return QByteArray::number(r.left) + "," + QByteArray::number(r.top) + "-" +
           QByteArray::number(r.right) + "," + QByteArray::number(r.bottom);
}

const RecordedText* BoxTextAt(const RecordingSurface& page, const Rect& rect) {
    for (const RecordedText& t : page.texts) {
        if (t.boxed && t.rect == rect) {
            return &t;
        }
    }
    return nullptr;
}

} // namespace

namespace QTest {
template <> char* toString(const page::Rect& r) {
    return qstrdup(Print(r).constData());
}
} // namespace QTest

class TestReciboLayout : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- Mapping -------------------------------------------------------------------------
    void mapsTenthsOfAMillimetre_data();
    void mapsTenthsOfAMillimetre();
    void unusableDeviceDrawsNothing_data();
    void unusableDeviceDrawsNothing();

    // --- Frame and boxes -----------------------------------------------------------------
    void frameFill_data();
    void frameFill();
    void greyFrameFillMatchesItsOutline();
    void eightBoxesInOrder_data();
    void eightBoxesInOrder();

    // --- Texts ---------------------------------------------------------------------------
    void captions_data();
    void captions();
    void upperValues_data();
    void upperValues();
    void lowerTexts_data();
    void lowerTexts();
    void textsAreHandedOverUnchanged_data();
    void textsAreHandedOverUnchanged();
    void allTextIsBlack();

    // --- Fonts and order -----------------------------------------------------------------
    void fontsAreSelectedAndPutBack();
    void drawingOrder();

    // --- Logo strip ----------------------------------------------------------------------
    void logoStrip_data();
    void logoStrip();
    void logoStripLeftOutWhenThePictureIsMissing();
};

void TestReciboLayout::mapsTenthsOfAMillimetre_data() {
    QTest::addColumn<int>("widthMm");
    QTest::addColumn<int>("heightMm");
    QTest::addColumn<int>("widthPixels");
    QTest::addColumn<int>("heightPixels");

    QTest::newRow("A4 at 600 dpi") << 210 << 297 << 4961 << 7016;
    QTest::newRow("letter at 300 dpi less margins") << 203 << 266 << 2400 << 3150;
    QTest::newRow("anisotropic 300 x 600 dpi") << 200 << 280 << 2362 << 6614;
    QTest::newRow("narrower than the receipt") << 100 << 50 << 1181 << 590;
}

void TestReciboLayout::mapsTenthsOfAMillimetre() {
    QFETCH(int, widthMm);
    QFETCH(int, heightMm);
    QFETCH(int, widthPixels);
    QFETCH(int, heightPixels);

    RecordingSurface page({widthMm, heightMm, widthPixels, heightPixels});
    CRecibo r;
    r.Dibujar(page);
    QCOMPARE(page.mappingCalls, 1);
    QCOMPARE(page.windowWidth, widthMm * 10);
    QCOMPARE(page.windowHeight, heightMm * 10);
    QCOMPARE(page.viewportWidth, widthPixels);
    QCOMPARE(page.viewportHeight, heightPixels);
    // Nothing is shrunk to fit: the frame keeps its size on a small page.
    QCOMPARE(page.rectangles.at(0).rect, (Rect{0, 0, 1939, 859}));
}

void TestReciboLayout::unusableDeviceDrawsNothing_data() {
    QTest::addColumn<int>("widthMm");
    QTest::addColumn<int>("heightMm");
    QTest::addColumn<int>("widthPixels");
    QTest::addColumn<int>("heightPixels");

    QTest::newRow("no millimetres wide") << 0 << 297 << 4961 << 7016;
    QTest::newRow("no millimetres high") << 210 << 0 << 4961 << 7016;
    QTest::newRow("no pixels wide") << 210 << 297 << 0 << 7016;
    QTest::newRow("no pixels high") << 210 << 297 << 4961 << 0;
    QTest::newRow("negative size") << -210 << -297 << 4961 << 7016;
    QTest::newRow("too many millimetres for tenths") << INT_MAX << 297 << 4961 << 7016;
}

void TestReciboLayout::unusableDeviceDrawsNothing() {
    QFETCH(int, widthMm);
    QFETCH(int, heightMm);
    QFETCH(int, widthPixels);
    QFETCH(int, heightPixels);

    RecordingSurface page({widthMm, heightMm, widthPixels, heightPixels});
    CRecibo r = sample::Filled();
    r.m_Logotipo = 1;
    r.Dibujar(page);
    QCOMPARE(page.log.size(), size_t(0));
}

void TestReciboLayout::frameFill_data() {
    QTest::addColumn<int>("solido");
    QTest::addColumn<uint>("colour");
    QTest::addColumn<bool>("solidFill");

    QTest::newRow("new record: blue cross-hatch") << 0 << 0xFFFFC8u << false;
    QTest::newRow("m_Solido 1: solid") << 1 << 0xFFFFC8u << true;
    QTest::newRow("any nonzero m_Solido is solid") << -7 << 0xB3F4BBu << true;
    QTest::newRow("brown cross-hatch") << 0 << 0x98ECF8u << false;
}

void TestReciboLayout::frameFill() {
    QFETCH(int, solido);
    QFETCH(uint, colour);
    QFETCH(bool, solidFill);

    RecordingSurface page;
    CRecibo r;
    r.m_Solido = solido;
    r.m_ColorFondo = colour;
    r.Dibujar(page);

    const RecordedRectangle& frame = page.rectangles.at(0);
    QCOMPARE(frame.rect, (Rect{0, 0, 1939, 859}));
    QCOMPARE(frame.pen.color, FRAME_GREY);
    QCOMPARE(frame.pen.width, 1); // 0.1 mm, scaling with the page
    QCOMPARE(frame.brush.color, page::Color(colour));
    QCOMPARE(frame.brush.fill == page::Fill::Solid, solidFill);
    QCOMPARE(frame.brush.fill == page::Fill::DiagonalCross, !solidFill);
}

void TestReciboLayout::greyFrameFillMatchesItsOutline() {
    RecordingSurface page;
    CRecibo r;
    r.m_ColorFondo = ColorDeNombre("GRIS");
    r.Dibujar(page);
    QCOMPARE(page.rectangles.at(0).brush.color, page.rectangles.at(0).pen.color);
}

void TestReciboLayout::eightBoxesInOrder_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<Rect>("box");

    QTest::newRow("1 number") << 1 << Rect{350, 30, 630, 115};
    QTest::newRow("2 place") << 2 << Rect{630, 30, 1400, 115};
    QTest::newRow("3 amount") << 3 << Rect{1400, 30, 1770, 115};
    QTest::newRow("4 issue date") << 4 << Rect{350, 115, 1050, 200};
    QTest::newRow("5 due date") << 5 << Rect{1050, 115, 1770, 200};
    QTest::newRow("6 concepts") << 6 << Rect{350, 200, 1770, 450};
    QTest::newRow("7 address") << 7 << Rect{350, 450, 1770, 535};
    QTest::newRow("8 payer") << 8 << Rect{350, 560, 1230, 780};
}

void TestReciboLayout::eightBoxesInOrder() {
    QFETCH(int, index);
    QFETCH(Rect, box);

    RecordingSurface page;
    CRecibo r = sample::Filled();
    r.Dibujar(page);
    QCOMPARE(page.rectangles.size(), size_t(9)); // the frame and eight boxes, nothing else
    const RecordedRectangle& drawn = page.rectangles.at(size_t(index));
    QCOMPARE(drawn.rect, box);
    QCOMPARE(drawn.pen.color, BLACK);
    QCOMPARE(drawn.pen.width, 0); // one device pixel
    QCOMPARE(drawn.brush.color, WHITE);
    QVERIFY(drawn.brush.fill == page::Fill::Solid);
}

void TestReciboLayout::captions_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");

    QTest::newRow("RECIBO NUMERO") << 0 << QByteArray("RECIBO NUMERO") << 365 << 35;
    QTest::newRow("LOCALIDAD DE EXPEDICION")
        << 1 << QByteArray("LOCALIDAD DE EXPEDICION") << 675 << 35;
    QTest::newRow("IMPORTE EUROS") << 2 << QByteArray("IMPORTE EUROS") << 1445 << 35;
    QTest::newRow("FECHA DE EXPEDICION") << 3 << QByteArray("FECHA DE EXPEDICION") << 395 << 120;
    QTest::newRow("VENCIMIENTO") << 4 << QByteArray("VENCIMIENTO") << 1095 << 120;
    QTest::newRow("DOMICILIO") << 5 << QByteArray("DOMICILIO") << 395 << 455;
}

void TestReciboLayout::captions() {
    QFETCH(int, index);
    QFETCH(QByteArray, text);
    QFETCH(int, x);
    QFETCH(int, y);

    RecordingSurface page;
    CRecibo r = sample::Filled();
    r.Dibujar(page);
    // The captions come first among the texts, as point texts in the caption font.
    const RecordedText& t = page.texts.at(size_t(index));
    QCOMPARE(t.text, text.toStdString());
    QVERIFY(!t.boxed);
    QCOMPARE(t.rect.left, x);
    QCOMPARE(t.rect.top, y);
    QCOMPARE(t.font, (page::Font{FACE, 20}));
    const auto points = std::count_if(page.texts.begin(), page.texts.end(),
                                      [](const RecordedText& p) { return !p.boxed; });
    QCOMPARE(points, 6);
}

void TestReciboLayout::upperValues_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Rect>("rect");
    QTest::addColumn<Align>("align");

    QTest::newRow("number, right") << QByteArray("17") << Rect{420, 65, 580, 110} << Align::Right;
    QTest::newRow("place, centred")
        << QByteArray("ZARAGOZA") << Rect{700, 65, 1400, 110} << Align::Center;
    QTest::newRow("total, right") << QByteArray("156,11") << Rect{1400, 65, 1750, 110}
                                  << Align::Right;
    QTest::newRow("due date, centred")
        << QByteArray("A LA VISTA") << Rect{1100, 150, 1690, 195} << Align::Center;
    QTest::newRow("issue date, centred")
        << QByteArray("5 DE MARZO DEL 2.004") << Rect{350, 150, 1050, 195} << Align::Center;
}

void TestReciboLayout::upperValues() {
    QFETCH(QByteArray, text);
    QFETCH(Rect, rect);
    QFETCH(Align, align);

    RecordingSurface page;
    CRecibo r = sample::Filled();
    r.Dibujar(page);
    const RecordedText* t = BoxTextAt(page, rect);
    QVERIFY(t != nullptr);
    QCOMPARE(t->text, text.toStdString());
    QVERIFY(t->align == align);
    QCOMPARE(t->font, (page::Font{FACE, 50}));
}

void TestReciboLayout::lowerTexts_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Rect>("rect");

    QTest::newRow("address") << QByteArray("C/ Mayor, 12, 3º B - 50001 ZARAGOZA")
                             << Rect{420, 480, 1720, 520};
    QTest::newRow("Pagador:") << QByteArray("Pagador:") << Rect{420, 590, 1170, 640};
    QTest::newRow("payer 1") << QByteArray("COMUNIDAD DE PROPIETARIOS")
                             << Rect{420, 630, 1170, 680};
    QTest::newRow("payer 2") << QByteArray("C/ MAYOR, 12") << Rect{420, 670, 1170, 720};
    QTest::newRow("Cobrador:") << QByteArray("Cobrador:") << Rect{1320, 590, 1820, 640};
    QTest::newRow("collector 1") << QByteArray("JUAN PÉREZ GARCÍA") << Rect{1320, 630, 1820, 680};
    QTest::newRow("collector 2") << QByteArray("NIF 12345678-Z") << Rect{1320, 670, 1820, 720};
}

void TestReciboLayout::lowerTexts() {
    QFETCH(QByteArray, text);
    QFETCH(Rect, rect);

    RecordingSurface page;
    CRecibo r = sample::Filled();
    r.Dibujar(page);
    const RecordedText* t = BoxTextAt(page, rect);
    QVERIFY(t != nullptr);
    QCOMPARE(t->text, text.toStdString());
    QVERIFY(t->align == Align::Left);
    QCOMPARE(t->font, (page::Font{FACE, 50}));
}

void TestReciboLayout::textsAreHandedOverUnchanged_data() {
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("an ampersand") << QByteArray("Pérez & Hijos");
    QTest::newRow("a doubled ampersand") << QByteArray("A && B");
    QTest::newRow("only blanks") << QByteArray("   ");
    QTest::newRow("invalid UTF-8") << QByteArray("caf\xE9");
    QTest::newRow("100 000 characters") << QByteArray(100000, 'W');
}

void TestReciboLayout::textsAreHandedOverUnchanged() {
    QFETCH(QByteArray, text);

    RecordingSurface page;
    CRecibo r;
    r.m_Localidad = text.toStdString();
    r.m_Cobrador2 = text.toStdString();
    r.Dibujar(page);
    QCOMPARE(BoxTextAt(page, {700, 65, 1400, 110})->text, text.toStdString());
    QCOMPARE(BoxTextAt(page, {1320, 670, 1820, 720})->text, text.toStdString());
}

void TestReciboLayout::allTextIsBlack() {
    RecordingSurface page;
    CRecibo r = sample::Filled();
    r.Dibujar(page);
    QVERIFY(page.texts.size() > 20);
    for (const RecordedText& t : page.texts) {
        QCOMPARE(t.color, BLACK);
    }
}

void TestReciboLayout::fontsAreSelectedAndPutBack() {
    RecordingSurface page;
    page.currentFont = {"Page font", 77};
    CRecibo r = sample::Filled(); // four lines and TOTAL: line font 45
    r.Dibujar(page);

    const std::vector<page::Font> expected{
        {FACE, 50},        {FACE, 20}, // value font, then caption font over it
        {FACE, 50},                    // after the captions
        {FACE, 45},                    // the concept block's line font
        {FACE, 50},                    // back after the block
        {"Page font", 77},             // the page's own font at the end
    };
    QCOMPARE(page.selectedFonts.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(page.selectedFonts[i].face, expected[i].face);
        QCOMPARE(page.selectedFonts[i].cellHeight, expected[i].cellHeight);
    }
}

void TestReciboLayout::drawingOrder() {
    RecordingSurface page;
    page.availablePictures = {136};
    CRecibo r = sample::Filled();
    r.m_Logotipo = 1;
    r.Dibujar(page);

    // Mapping and fonts first, then frame and boxes, then the texts, the logo last.
    std::vector<std::string> expected{"mapping", "font", "font"};
    expected.insert(expected.end(), 9, "rectangle");
    expected.push_back("textcolor");
    expected.insert(expected.end(), 6, "pointtext");
    expected.push_back("font");
    expected.insert(expected.end(), 5, "boxtext");     // upper values
    expected.push_back("font");                        // line font
    expected.insert(expected.end(), 2 * 5, "boxtext"); // 2 concepts, 2 taxes, TOTAL
    expected.push_back("font");                        // value font back
    expected.insert(expected.end(), 7, "boxtext");     // lower texts
    expected.push_back("font");                        // the page's font back
    expected.push_back("loadpicture");
    expected.push_back("copypicture");
    QCOMPARE(page.log.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        QCOMPARE(page.log[i], expected[i]);
    }
}

void TestReciboLayout::logoStrip_data() {
    QTest::addColumn<int>("logotipo");
    QTest::addColumn<bool>("drawn");

    QTest::newRow("m_Logotipo 1 draws the strip") << 1 << true;
    QTest::newRow("m_Logotipo 0 draws none") << 0 << false;
    QTest::newRow("m_Logotipo 2 draws none") << 2 << false;
    QTest::newRow("m_Logotipo -1 draws none") << -1 << false;
}

void TestReciboLayout::logoStrip() {
    QFETCH(int, logotipo);
    QFETCH(bool, drawn);

    RecordingSurface page;
    page.availablePictures = {136};
    CRecibo r;
    r.m_Logotipo = logotipo;
    r.Dibujar(page);
    if (!drawn) {
        QCOMPARE(page.pictureLoads.size(), size_t(0));
        QCOMPARE(page.copies.size(), size_t(0));
        return;
    }
    QCOMPARE(page.pictureLoads, std::vector<int>{136});
    QCOMPARE(page.copies.size(), size_t(1));
    QCOMPARE(page.copies[0].pictureId, 136);
    QCOMPARE(page.copies[0].source, (Rect{0, 0, 300, 750}));
    QCOMPARE(page.copies[0].target, (Rect{20, 30, 320, 780}));
}

void TestReciboLayout::logoStripLeftOutWhenThePictureIsMissing() {
    RecordingSurface page; // no pictures at all
    CRecibo r = sample::Filled();
    r.m_Logotipo = 1;
    r.Dibujar(page);
    QCOMPARE(page.pictureLoads, std::vector<int>{136});
    QCOMPARE(page.copies.size(), size_t(0));
    QCOMPARE(page.rectangles.size(), size_t(9));
    QVERIFY(page.Find("Cobrador:") != nullptr);

    std::unique_ptr<page::Picture> imagen;
    QVERIFY(!CRecibo::CargarLogotipo(page, 136, imagen));
    QVERIFY(imagen == nullptr);
    page.availablePictures = {136};
    QVERIFY(CRecibo::CargarLogotipo(page, 136, imagen));
    QVERIFY(imagen != nullptr);
    QCOMPARE(imagen->Width(), 300);
    QCOMPARE(imagen->Height(), 750);
}

QTEST_APPLESS_MAIN(TestReciboLayout)
#include "test_recibo_layout.moc"
