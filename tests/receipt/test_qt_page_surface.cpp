// The page surface on QPainter, drawn onto 600-dpi images: the millimetre mapping, font cell
// heights, text placement and clipping, outlines, solid and hatched fills, pictures, and a
// whole receipt.
#include "SampleRecords.h"

#include "platform/QtPageSurface.h"
#include "receipt/Recibo.h"

#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QTest>

#include <functional>
#include <optional>

using page::Align;
using page::Rect;

namespace {

constexpr double DPI = 600;
constexpr int DOTS_PER_METRE = 23622; // 600 dpi

// x or y in 0.1 mm to pixels at 600 dpi.
int Px(double tenthsOfMm) {
    return int(tenthsOfMm / 254.0 * DPI + 0.5);
}

QImage BlankPage(int widthPx, int heightPx) {
    QImage image(widthPx, heightPx, QImage::Format_RGB32);
    image.setDotsPerMeterX(DOTS_PER_METRE);
    image.setDotsPerMeterY(DOTS_PER_METRE);
    image.fill(Qt::white);
    return image;
}

// 200 mm x 100 mm at 600 dpi, drawn on in 0.1 mm units.
QImage Draw(const std::function<void(platform::QtPageSurface&)>& draw) {
    QImage image = BlankPage(4724, 2362);
    QPainter painter(&image);
    platform::QtPageSurface page(painter);
    page.SetMapping(2000, 1000, 4724, 2362);
    draw(page);
    painter.end();
    return image;
}

bool Dark(QRgb p) {
    return qGray(p) < 128;
}

struct Ink {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool any() const { return right >= 0; }
};

// Where the dark pixels are inside a pixel rectangle.
Ink InkIn(const QImage& image, const QRect& area) {
    Ink ink;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (Dark(image.pixel(x, y))) {
                ink.left = std::min(ink.left, x);
                ink.right = std::max(ink.right, x);
                ink.top = std::min(ink.top, y);
                ink.bottom = std::max(ink.bottom, y);
            }
        }
    }
    return ink;
}

QRect PixelRect(const Rect& r) {
    return QRect(QPoint(Px(r.left), Px(r.top)), QPoint(Px(r.right) - 1, Px(r.bottom) - 1));
}

const char* const FACE = "Times New Roman";

// Liberation Serif, the metric twin of the face on Debian: 2048 units to the em, ascent 1825,
// descent 443, capital height 1341.
constexpr double EM_PER_CELL = 2048.0 / (1825 + 443);
constexpr double ASCENT = 1825.0 / 2048;
constexpr double CAP_HEIGHT = 1341.0 / 2048;

} // namespace

class TestQtPageSurface : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // --- Device and mapping --------------------------------------------------------------
    void sizeIsMillimetresAndPixels();
    void mappingScalesEachAxis();

    // --- Fonts and text ------------------------------------------------------------------
    void faceResolvesToLiberationSerif();
    void cellHeightIsAscentPlusDescent_data();
    void cellHeightIsAscentPlusDescent();
    void unusableCellHeightsStillGiveAFont_data();
    void unusableCellHeightsStillGiveAFont();
    void pointTextHangsFromItsCellTop();
    void boxText_data();
    void boxText();
    void ampersandIsPrinted();

    // --- Outlines and fills --------------------------------------------------------------
    void boxOutlineIsOneDevicePixel();
    void framePenIsATenthOfAMillimetre();
    void solidAndHatchedFills();
    void filledRectanglesAreOneShape();

    // --- Pictures ------------------------------------------------------------------------
    void unknownPictureIsNotLoaded();
    void logoPictureWhenPresent();

    // --- A whole receipt -----------------------------------------------------------------
    void wholeReceipt_data();
    void wholeReceipt();
    void wholeReceiptWithLogoStrip();
};

void TestQtPageSurface::sizeIsMillimetresAndPixels() {
    QImage image = BlankPage(4724, 2362);
    QPainter painter(&image);
    const platform::QtPageSurface page(painter);
    const page::DeviceSize size = page.Size();
    QCOMPARE(size.widthMm, 200);
    QCOMPARE(size.heightMm, 100);
    QCOMPARE(size.widthPixels, 4724);
    QCOMPARE(size.heightPixels, 2362);
}

void TestQtPageSurface::mappingScalesEachAxis() {
    // 100 x 50 logical units onto 300 x 600 pixels: x three pixels a unit, y twelve.
    QImage image = BlankPage(300, 600);
    QPainter painter(&image);
    platform::QtPageSurface page(painter);
    page.SetMapping(100, 50, 300, 600);
    page.DrawRectangle({10, 10, 20, 20}, {0x000000, 0}, {0x000000, page::Fill::Solid});
    painter.end();
    const Ink ink = InkIn(image, image.rect());
    QCOMPARE(ink.left, 30);
    QCOMPARE(ink.top, 120);
    QVERIFY2(qAbs(ink.right - 60) <= 1, qPrintable(QString::number(ink.right)));
    QVERIFY2(qAbs(ink.bottom - 240) <= 1, qPrintable(QString::number(ink.bottom)));
}

void TestQtPageSurface::faceResolvesToLiberationSerif() {
    const QFont font = platform::QtPageSurface::CellFont(FACE, 50);
    QCOMPARE(QFontInfo(font).family(), QStringLiteral("Liberation Serif"));
    QVERIFY(!font.italic());
    QCOMPARE(font.weight(), QFont::Normal);
}

void TestQtPageSurface::cellHeightIsAscentPlusDescent_data() {
    QTest::addColumn<int>("cell");
    for (int cell : {20, 30, 32, 35, 40, 45, 50}) {
        QTest::addRow("cell %d", cell) << cell;
    }
}

void TestQtPageSurface::cellHeightIsAscentPlusDescent() {
    QFETCH(int, cell);
    // In the surface's internal units, ten to a logical unit.
    const QFont font = platform::QtPageSurface::CellFont(FACE, cell);
    const QFontMetricsF metrics(font);
    const double measured = metrics.ascent() + metrics.descent();
    QVERIFY2(qAbs(measured - cell * 10.0) <= 0.6,
             qPrintable(QStringLiteral("cell %1 measured %2").arg(cell * 10).arg(measured)));
    QVERIFY(qAbs(font.pixelSize() - cell * 10.0 * EM_PER_CELL) <= 0.6);
}

void TestQtPageSurface::unusableCellHeightsStillGiveAFont_data() {
    QTest::addColumn<int>("cell");
    QTest::addColumn<int>("pixels");
    QTest::newRow("zero: the smallest font") << 0 << 1;
    QTest::newRow("negative: the smallest font") << -50 << 1;
    QTest::newRow("INT_MAX: the largest font") << INT_MAX << 1000000;
}

void TestQtPageSurface::unusableCellHeightsStillGiveAFont() {
    QFETCH(int, cell);
    QFETCH(int, pixels);
    QCOMPARE(platform::QtPageSurface::CellFont(FACE, cell).pixelSize(), pixels);
}

void TestQtPageSurface::pointTextHangsFromItsCellTop() {
    const QImage image = Draw([](platform::QtPageSurface& page) {
        page.SelectFont({FACE, 50});
        page.SetTextColor(0x000000);
        page.DrawPointText(100, 100, "H");
    });
    const Ink ink = InkIn(image, image.rect());
    QVERIFY(ink.any());
    const double em = 50 * EM_PER_CELL;
    const double baseline = 100 + em * ASCENT;        // 140.2 units
    const double capTop = baseline - em * CAP_HEIGHT; // 110.7 units
    QVERIFY2(qAbs(ink.bottom + 1 - Px(baseline)) <= 2, qPrintable(QString::number(ink.bottom)));
    QVERIFY2(qAbs(ink.top - Px(capTop)) <= 2, qPrintable(QString::number(ink.top)));
    QVERIFY2(qAbs(ink.left - Px(100)) <= 10, qPrintable(QString::number(ink.left)));
}

void TestQtPageSurface::boxText_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<Align>("align");
    QTest::addColumn<bool>("fits");

    QTest::newRow("short, left") << QByteArray("HHH") << Align::Left << true;
    QTest::newRow("short, right") << QByteArray("HHH") << Align::Right << true;
    QTest::newRow("short, centred") << QByteArray("HHH") << Align::Center << true;
    QTest::newRow("too long, left: cut at the right edge")
        << QByteArray(60, 'H') << Align::Left << false;
    QTest::newRow("too long, right: cut at the left edge")
        << QByteArray(60, 'H') << Align::Right << false;
    QTest::newRow("too long, centred: cut at both edges")
        << QByteArray(60, 'H') << Align::Center << false;
}

Q_DECLARE_METATYPE(page::Align)

void TestQtPageSurface::boxText() {
    QFETCH(QByteArray, text);
    QFETCH(Align, align);
    QFETCH(bool, fits);

    // A 50-unit cell in a 40-unit high box: the lower part of the cell is cut off.
    const Rect box{400, 300, 1000, 340};
    const QImage image = Draw([&](platform::QtPageSurface& page) {
        page.SelectFont({FACE, 50});
        page.SetTextColor(0x000000);
        page.DrawBoxText(box, align, text.toStdString());
    });
    const QRect inside = PixelRect(box);
    const Ink all = InkIn(image, image.rect());
    const Ink in = InkIn(image, inside);
    QVERIFY(in.any());
    // Nothing outside the box.
    QCOMPARE(all.left, in.left);
    QCOMPARE(all.right, in.right);
    QCOMPARE(all.top, in.top);
    QCOMPARE(all.bottom, in.bottom);
    // The text hangs from the top of the box: capitals start at cell top + ascent - cap height.
    const double em = 50 * EM_PER_CELL;
    QVERIFY2(qAbs(in.top - Px(300 + em * (ASCENT - CAP_HEIGHT))) <= 2,
             qPrintable(QString::number(in.top)));

    const int edge = 3; // pixels: side bearings of the capitals, a cut stroke's first pixel
    if (!fits) {
        // Whatever the alignment, a text wider than its box fills it from edge to edge.
        QVERIFY2(inside.right() - in.right <= edge, qPrintable(QString::number(in.right)));
        QVERIFY2(in.left - inside.left() <= edge, qPrintable(QString::number(in.left)));
        return;
    }
    const double inkMiddle = (in.left + in.right) / 2.0;
    switch (align) {
    case Align::Left:
        QVERIFY2(in.left - inside.left() <= 20, qPrintable(QString::number(in.left)));
        break;
    case Align::Right:
        QVERIFY2(inside.right() - in.right <= 20, qPrintable(QString::number(in.right)));
        break;
    case Align::Center:
        QVERIFY2(qAbs(inkMiddle - (inside.left() + inside.right()) / 2.0) <= 4,
                 qPrintable(QString::number(inkMiddle)));
        break;
    }
}

void TestQtPageSurface::ampersandIsPrinted() {
    // A lone ampersand is printed, not taken as a mnemonic marker that would vanish.
    const QImage image = Draw([](platform::QtPageSurface& page) {
        page.SelectFont({FACE, 50});
        page.SetTextColor(0x000000);
        page.DrawBoxText({100, 100, 600, 150}, Align::Left, "&");
    });
    QVERIFY(InkIn(image, image.rect()).any());
}

void TestQtPageSurface::boxOutlineIsOneDevicePixel() {
    const QImage image = Draw([](platform::QtPageSurface& page) {
        page.DrawRectangle({100, 100, 500, 300}, {0x000000, 0}, {0xFFFFFF, page::Fill::Solid});
    });
    // Across the left edge, halfway down: one dark pixel.
    const int y = Px(200);
    int dark = 0;
    for (int x = Px(90); x < Px(110); ++x) {
        dark += Dark(image.pixel(x, y)) ? 1 : 0;
    }
    QCOMPARE(dark, 1);
}

void TestQtPageSurface::framePenIsATenthOfAMillimetre() {
    const QImage image = Draw([](platform::QtPageSurface& page) {
        page.DrawRectangle({100, 100, 500, 300}, {0x000000, 1}, {0xFFFFFF, page::Fill::Solid});
    });
    // 0.1 mm at 600 dpi is 2.36 pixels.
    const int y = Px(200);
    int dark = 0;
    for (int x = Px(90); x < Px(110); ++x) {
        dark += Dark(image.pixel(x, y)) ? 1 : 0;
    }
    QVERIFY2(dark == 2 || dark == 3, qPrintable(QString::number(dark)));
}

void TestQtPageSurface::solidAndHatchedFills() {
    const QRgb colour = qRgb(187, 244, 179);
    const page::Color packed = page::RgbColor(187, 244, 179);
    const QImage image = Draw([&](platform::QtPageSurface& page) {
        page.DrawRectangle({0, 0, 500, 500}, {packed, 1}, {packed, page::Fill::Solid});
        page.DrawRectangle({1000, 0, 1500, 500}, {packed, 1}, {packed, page::Fill::DiagonalCross});
    });
    // Sample the inside of each along a 10 mm horizontal line.
    int solidOther = 0;
    int hatchColour = 0, hatchWhite = 0, hatchRuns = 0;
    bool inLine = false;
    const int y = Px(250);
    for (int x = Px(200); x < Px(300); ++x) {
        solidOther += image.pixel(x, y) == colour ? 0 : 1;
    }
    for (int x = Px(1200); x < Px(1300); ++x) {
        const QRgb p = image.pixel(x, y);
        const bool line = p != qRgb(255, 255, 255);
        hatchColour += p == colour ? 1 : 0;
        hatchWhite += line ? 0 : 1;
        hatchRuns += (line && !inLine) ? 1 : 0;
        inLine = line;
    }
    QCOMPARE(solidOther, 0);
    QVERIFY2(hatchColour > 0 && hatchWhite > 0,
             qPrintable(QStringLiteral("%1 colour, %2 white").arg(hatchColour).arg(hatchWhite)));
    // Two families of lines, 0.8 mm apart: a horizontal line meets about 25 in 10 mm.
    QVERIFY2(hatchRuns >= 12 && hatchRuns <= 30, qPrintable(QString::number(hatchRuns)));
}

void TestQtPageSurface::filledRectanglesAreOneShape() {
    // Modules 0.7 mm a side fall between pixels at 600 dpi. With antialiasing on, as in the
    // preview, two rectangles filled one after the other would leave a grey line where they
    // meet; an L of two of them is black through its joint, and a lone one stands apart.
    QImage image = BlankPage(4724, 2362);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    platform::QtPageSurface page(painter);
    page.SetMapping(2000, 1000, 4724, 2362);
    page.FillRectangles({{107, 100, 177, 107}, {107, 107, 114, 177}, {184, 100, 191, 107}},
                        page::RgbColor(0, 0, 0));
    painter.end();
    int grey = 0;
    for (int y = Px(102); y < Px(112); ++y) {
        for (int x = Px(108); x < Px(113); ++x) {
            grey += qGray(image.pixel(x, y)) == 0 ? 0 : 1;
        }
    }
    QCOMPARE(grey, 0);
    const Ink ink = InkIn(image, PixelRect({0, 0, 400, 400}));
    QVERIFY(qAbs(ink.left - Px(107)) <= 1 && qAbs(ink.right + 1 - Px(191)) <= 1);
    QVERIFY(qAbs(ink.top - Px(100)) <= 1 && qAbs(ink.bottom + 1 - Px(177)) <= 1);
    QVERIFY(!InkIn(image, QRect(QPoint(Px(177) + 1, Px(101)), QPoint(Px(184) - 2, Px(106)))).any());
}

void TestQtPageSurface::unknownPictureIsNotLoaded() {
    QImage image = BlankPage(10, 10);
    QPainter painter(&image);
    platform::QtPageSurface page(painter);
    QVERIFY(page.LoadPicture(999999) == nullptr);
    QVERIFY(page.LoadPicture(-1) == nullptr);
}

void TestQtPageSurface::logoPictureWhenPresent() {
    if (!QFile::exists(platform::QtPageSurface::PicturePath(CRecibo::IDB_LOGOTIPO))) {
        QSKIP("the logo picture is not built into this test");
    }
    QImage image = BlankPage(4724, 2362);
    QPainter painter(&image);
    platform::QtPageSurface page(painter);
    page.SetMapping(2000, 1000, 4724, 2362);
    const std::unique_ptr<page::Picture> logo = page.LoadPicture(CRecibo::IDB_LOGOTIPO);
    QVERIFY(logo != nullptr);
    QCOMPARE(logo->Width(), 300);
    QCOMPARE(logo->Height(), 750);
    page.CopyPicture(*logo, {0, 0, 300, 750}, {20, 30, 320, 780});
    painter.end();
    // Something of the picture landed inside the strip and nothing outside it.
    int nonWhiteInside = 0;
    for (int y = Px(30); y < Px(780); y += 4) {
        for (int x = Px(20); x < Px(320); x += 4) {
            nonWhiteInside += image.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    QVERIFY(nonWhiteInside > 0);
    for (int y = 0; y < image.height(); y += 8) {
        QCOMPARE(image.pixel(Px(330), y), qRgb(255, 255, 255));
    }
}

void TestQtPageSurface::wholeReceipt_data() {
    QTest::addColumn<QByteArray>("colour");
    QTest::addColumn<bool>("solid");
    QTest::addColumn<QRgb>("rgb");

    QTest::newRow("GRIS solid") << QByteArray("GRIS") << true << qRgb(200, 200, 200);
    QTest::newRow("AZUL hatched") << QByteArray("AZUL") << false << qRgb(200, 255, 255);
}

void TestQtPageSurface::wholeReceipt() {
    QFETCH(QByteArray, colour);
    QFETCH(bool, solid);
    QFETCH(QRgb, rgb);

    QImage image = BlankPage(4724, 2126); // 200 x 90 mm
    {
        QPainter painter(&image);
        platform::QtPageSurface page(painter);
        CRecibo r = sample::Filled();
        r.m_ColorFondo = ColorDeNombre(colour.toStdString());
        r.m_Solido = solid ? 1 : 0;
        r.Dibujar(page);
    }
    // The band left of the boxes shows the frame fill.
    int fill = 0, white = 0, other = 0;
    for (int y = Px(100); y < Px(700); y += 3) {
        for (int x = Px(50); x < Px(300); x += 3) {
            const QRgb p = image.pixel(x, y);
            fill += p == rgb ? 1 : 0;
            white += p == qRgb(255, 255, 255) ? 1 : 0;
            other += (p != rgb && p != qRgb(255, 255, 255)) ? 1 : 0;
        }
    }
    if (solid) {
        QCOMPARE(white + other, 0);
    } else {
        QVERIFY2(fill > 0 && white > 0,
                 qPrintable(QStringLiteral("%1 fill, %2 white").arg(fill).arg(white)));
    }
    // Inside the payer box below its lines: white. Right of the frame: untouched.
    QCOMPARE(image.pixel(Px(800), Px(760)), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(Px(1960), Px(400)), qRgb(255, 255, 255));
    // The box outlines are black; "Cobrador:" stands on the frame fill right of the payer box.
    QVERIFY(InkIn(image, QRect(Px(350) - 3, Px(400), 7, 1)).any());
    QVERIFY(InkIn(image, PixelRect({1320, 590, 1820, 640})).any());
}

void TestQtPageSurface::wholeReceiptWithLogoStrip() {
    if (!QFile::exists(platform::QtPageSurface::PicturePath(CRecibo::IDB_LOGOTIPO))) {
        QSKIP("the logo picture is not built into this test");
    }
    QImage image = BlankPage(4724, 2126);
    {
        QPainter painter(&image);
        platform::QtPageSurface page(painter);
        CRecibo r = sample::Filled();
        r.m_ColorFondo = ColorDeNombre("GRIS");
        r.m_Solido = 1;
        r.m_Logotipo = 1;
        r.Dibujar(page);
    }
    // The strip (2 to 32 mm across, 3 to 78 mm down) replaces the grey fill: the picture's
    // white ground shows there. Around it the fill is untouched.
    int white = 0;
    for (int y = Px(40); y < Px(770); y += 4) {
        for (int x = Px(30); x < Px(310); x += 4) {
            white += image.pixel(x, y) == qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    QVERIFY2(white > 1000, qPrintable(QString::number(white)));
    QCOMPARE(image.pixel(Px(10), Px(400)), qRgb(200, 200, 200));
    QCOMPARE(image.pixel(Px(335), Px(400)), qRgb(200, 200, 200));
    QCOMPARE(image.pixel(Px(170), Px(820)), qRgb(200, 200, 200));
}

QTEST_MAIN(TestQtPageSurface)
#include "test_qt_page_surface.moc"
