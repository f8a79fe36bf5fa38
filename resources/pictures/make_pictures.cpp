// Draws Talvero's pictures: the advertising banner (129.png), the sample logo strip of the
// printed receipt (136.png) and the application icon at every size (icons/talvero-N.png).
//
// The PNG files are committed next to this file; run the generator only to change them:
//
//     cmake --build <build-dir> --target make_pictures
//     QT_QPA_PLATFORM=offscreen <build-dir>/resources/pictures/make_pictures resources/pictures
//
// then look at every picture before committing it. The texts are drawn in DejaVu Sans from
// Debian's fonts-dejavu-core, so the output is the same on every machine set up by
// scripts/install-deps.sh.

#include <QColor>
#include <QDir>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cstdio>

namespace {

const QString kFace = QStringLiteral("DejaVu Sans");

QFont Font(double pixelSize, bool bold)
{
    QFont f(kFace);
    f.setPixelSize(qRound(pixelSize));
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

// The largest font, up to maxPixels, whose rendering of text fits into width.
QFont FittedFont(const QString& text, double maxPixels, double width, bool bold)
{
    for (double px = maxPixels; px > 6; px -= 1) {
        const QFont f = Font(px, bold);
        if (QFontMetricsF(f).horizontalAdvance(text) <= width)
            return f;
    }
    return Font(6, bold);
}

void CentredText(QPainter& p, const QString& text, const QFont& font, const QColor& colour,
                 double centreX, double baseline)
{
    p.setFont(font);
    p.setPen(colour);
    const double w = QFontMetricsF(font).horizontalAdvance(text);
    p.drawText(QPointF(centreX - w / 2, baseline), text);
}

// Nearest-colour mapping onto a fixed table, without dithering: the pictures are flat
// colours and dithering would only speckle the letters.
QImage ToIndexed(const QImage& argb, const QList<QRgb>& table)
{
    return argb.convertToFormat(QImage::Format_Indexed8, table, Qt::ThresholdDither);
}

QList<QRgb> Ramp(QColor from, QColor to, int steps)
{
    QList<QRgb> out;
    for (int i = 1; i <= steps; ++i) {
        const double t = double(i) / steps;
        out.append(qRgb(qRound(from.red() + (to.red() - from.red()) * t),
                        qRound(from.green() + (to.green() - from.green()) * t),
                        qRound(from.blue() + (to.blue() - from.blue()) * t)));
    }
    return out;
}

// --- Banner: 230 x 200, 16 colours ------------------------------------------------------

const QColor kNavy(0x0d, 0x2f, 0x6b);
const QColor kBlue(0x15, 0x65, 0xc0);
const QColor kYellow(0xff, 0xd6, 0x00);
const QColor kInk(0x21, 0x21, 0x21);

QList<QRgb> BannerPalette()
{
    QList<QRgb> t = {qRgb(255, 255, 255), kNavy.rgb(), kBlue.rgb(), kYellow.rgb(), kInk.rgb()};
    // Edge shades, so that the large letters keep smooth outlines with few colours.
    t += Ramp(Qt::white, kInk, 4).mid(0, 3);    // 3 greys
    t += Ramp(Qt::white, kBlue, 3).mid(0, 2);   // 2 light blues
    t += Ramp(kNavy, Qt::white, 3).mid(0, 2);   // 2 navy-to-white
    t += Ramp(kYellow, kNavy, 3).mid(0, 2);     // 2 yellow-to-navy
    t += Ramp(Qt::white, kYellow, 3).mid(0, 2); // 2 light yellows
    return t;                                   // 16 entries
}

QImage Banner()
{
    const int w = 230, h = 200;
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // Top band: the offer.
    p.fillRect(QRectF(0, 0, w, 72), kNavy);
    CentredText(p, QStringLiteral("Talvero es"), Font(21, true), Qt::white, w / 2.0, 28);
    CentredText(p, QStringLiteral("GRATIS"), FittedFont(QStringLiteral("GRATIS"), 32, 200, true),
                kYellow, w / 2.0, 62);

    // Who makes it possible.
    CentredText(p, QStringLiteral("gracias a"), Font(16, false), kInk, w / 2.0, 94);
    const QString name = QStringLiteral("QUENLARIA");
    CentredText(p, name, FittedFont(name, 34, 212, true), kBlue, w / 2.0, 128);

    // The call to visit the web site, on a yellow button.
    CentredText(p, QStringLiteral("Visite nuestra web"), Font(15, false), kInk, w / 2.0, 154);
    const QRectF button(8, 162, w - 16, 31);
    p.setPen(Qt::NoPen);
    p.setBrush(kYellow);
    p.drawRoundedRect(button, 7, 7);
    const QString web = QStringLiteral("www.quenlaria.es");
    CentredText(p, web, FittedFont(web, 21, button.width() - 12, true), kNavy, w / 2.0, 184);

    // A frame, so that the picture reads as one piece on a grey button face.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kNavy, 2));
    p.drawRect(QRectF(1, 1, w - 2, h - 2));
    p.end();
    return ToIndexed(img, BannerPalette());
}

// --- Logo strip: 300 x 750, 8 bits per pixel, 256-entry colour table --------------------

const QColor kLogoBlue(0x0a, 0x2a, 0x78);
const QColor kShadow(0x9a, 0x9a, 0x9a);
const QColor kQuarterYellow(0xff, 0xcc, 0x00);
const QColor kQuarterRed(0xd8, 0x1e, 0x1e);
const QColor kQuarterBlue(0x1e, 0x5a, 0xd8);
const QColor kQuarterGreen(0x1e, 0xa0, 0x3c);

QList<QRgb> LogoPalette()
{
    QList<QRgb> t = {qRgb(255, 255, 255)};
    t += Ramp(Qt::white, Qt::black, 63);      // black letters, grey shadow and their edges
    t += Ramp(Qt::white, kLogoBlue, 64);      // the blue word
    t += Ramp(Qt::white, kQuarterYellow, 24); // the four quarters
    t += Ramp(Qt::white, kQuarterRed, 24);
    t += Ramp(Qt::white, kQuarterBlue, 24);
    t += Ramp(Qt::white, kQuarterGreen, 24);
    t += Ramp(kShadow, Qt::black, 16); // where the shadow meets the letters
    t += Ramp(kShadow, kLogoBlue, 16);
    return t; // 1 + 63 + 64 + 4 * 24 + 16 + 16 = 256 entries
}

// Drawn lying on its side (750 x 300, two lines of text) and turned a quarter to the left,
// so both words read from bottom to top, side by side.
QImage Logo()
{
    const int w = 750, h = 300;
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::white);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);

    // First line: SU EMPRESA, black with a grey shadow.
    const QString empresa = QStringLiteral("SU EMPRESA");
    const QFont big = FittedFont(empresa, 120, w - 50, true);
    p.setFont(big);
    const double baseline1 = 132;
    p.setPen(kShadow);
    p.drawText(QPointF(26, baseline1 + 6), empresa);
    p.setPen(Qt::black);
    p.drawText(QPointF(20, baseline1), empresa);

    // Second line: the four-coloured square at the foot of LOGOTIPO, then the word.
    const QRectF square(20, 168, 112, 112);
    const QPointF c = square.center();
    p.setPen(Qt::NoPen);
    p.fillRect(QRectF(square.topLeft(), c), kQuarterYellow);
    p.fillRect(QRectF(QPointF(c.x(), square.top()), QPointF(square.right(), c.y())), kQuarterRed);
    p.fillRect(QRectF(QPointF(square.left(), c.y()), QPointF(c.x(), square.bottom())),
               kQuarterBlue);
    p.fillRect(QRectF(c, square.bottomRight()), kQuarterGreen);
    p.setBrush(Qt::white);
    p.drawEllipse(c, 22, 22);

    const QString logotipo = QStringLiteral("LOGOTIPO");
    const double left = square.right() + 20;
    p.setFont(FittedFont(logotipo, 112, w - left - 20, true));
    p.setPen(kLogoBlue);
    p.drawText(QPointF(left, square.bottom() - 8), logotipo);
    p.end();

    const QImage upright = img.transformed(QTransform().rotate(-90));
    return ToIndexed(upright, LogoPalette());
}

// --- Application icon: a receipt with a euro coin -----------------------------------------

const QColor kPaperEdge(0x37, 0x47, 0x4f);
const QColor kLine(0x90, 0xa4, 0xae);
const QColor kCoin(0x2e, 0x7d, 0x32);
const QColor kIconBlue(0x15, 0x65, 0xc0);

// A euro sign built from an open circle and two bars, so that it stays crisp at small sizes
// where a font's glyph would blur. Coordinates in the painter's units.
void Euro(QPainter& p, QPointF centre, double r, double stroke, double barStroke,
          const QColor& colour)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(colour, stroke, Qt::SolidLine, Qt::FlatCap));
    QPainterPath arc;
    const QRectF box(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
    arc.arcMoveTo(box, 48);
    arc.arcTo(box, 48, 264);
    p.drawPath(arc);
    p.setPen(QPen(colour, barStroke, Qt::SolidLine, Qt::FlatCap));
    const double bar = r * 0.3;
    const double x0 = centre.x() - r * 1.4, x1 = centre.x() + r * 0.3;
    p.drawLine(QPointF(x0, centre.y() - bar), QPointF(x1, centre.y() - bar));
    p.drawLine(QPointF(x0, centre.y() + bar), QPointF(x1, centre.y() + bar));
}

// The receipt sheet with a torn, zigzag foot.
QPolygonF Receipt(double left, double top, double right, double bottom, int teeth)
{
    QPolygonF poly;
    poly << QPointF(left, top) << QPointF(right, top);
    const double step = (right - left) / teeth, depth = step * 0.6;
    for (int i = teeth; i >= 0; --i)
        poly << QPointF(left + i * step, (i % 2 == 0) ? bottom : bottom - depth);
    return poly;
}

// The euro sign set pixel by pixel, for the small sizes where any drawn curve comes out
// blurred: 9 x 9 pixels, strokes two pixels wide.
void StampEuro(QImage& img, int left, int top, const QColor& colour)
{
    static const char* const euro[] = {
        "...#####.", //
        "..##...##", //
        ".##......", //
        "######...", //
        ".##......", //
        "######...", //
        ".##......", //
        "..##...##", //
        "...#####.", //
    };
    for (int y = 0; y < 9; ++y)
        for (int x = 0; x < 9; ++x)
            if (euro[y][x] == '#')
                img.setPixelColor(left + x, top + y, colour);
}

// 16 px: only what reads at that size, the sheet and a large euro sign on it.
QImage SmallIcon()
{
    QImage img(16, 16, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QPen(kPaperEdge, 1, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawRect(QRect(1, 0, 13, 13)); // pixels 1..14 by 0..13
    p.end();
    // The torn foot: teeth two pixels wide.
    for (int x = 1; x <= 14; ++x) {
        const bool tooth = ((x - 1) / 2) % 2 == 0;
        img.setPixelColor(x, 14, tooth ? kPaperEdge : QColor(Qt::transparent));
        if (tooth && x > 1 && x < 14 && (x - 1) % 2 == 0)
            img.setPixelColor(x, 13, Qt::white);
    }
    StampEuro(img, 3, 2, kIconBlue);
    return img;
}

QImage Icon(int size)
{
    if (size <= 16)
        return SmallIcon();
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const double u = size / 256.0; // drawn on a 256-unit grid
    const double px = 1.0 / u;     // one device pixel, in grid units
    p.scale(u, u);

    // Outlines at least one whole pixel wide, on pixel centres where it matters.
    const double edge = std::max(8.0, px);
    const double half = edge / 2;
    p.setPen(QPen(kPaperEdge, edge, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.setBrush(Qt::white);
    p.drawPolygon(Receipt(24 + half, 8 + half, 200 - half, 240 - half, size >= 64 ? 8 : 4));
    p.fillRect(QRectF(24 + edge, 8 + edge, 176 - 2 * edge, 36), kIconBlue);
    p.setPen(QPen(kLine, std::max(10.0, px), Qt::SolidLine, Qt::RoundCap));
    const int lines = size >= 64 ? 3 : 2;
    for (int i = 0; i < lines; ++i)
        p.drawLine(QPointF(52, 80 + i * 30), QPointF(172 - i * 30, 80 + i * 30));

    // The coin, over the sheet's lower right corner.
    const QPointF centre(174, 174);
    const double r = 74;
    p.setPen(QPen(Qt::white, std::max(8.0, px)));
    p.setBrush(kCoin);
    p.drawEllipse(centre, r, r);
    if (size >= 48) {
        Euro(p, centre + QPointF(10, 0), r * 0.56, std::max(14.0, 1.6 * px),
             std::max(10.0, 1.0 * px), Qt::white);
        return img;
    }
    p.end();
    const QPointF c = centre * u;
    StampEuro(img, qRound(c.x() - 3.5), qRound(c.y() - 4.5), Qt::white);
    return img;
}

bool Save(const QImage& img, const QString& path)
{
    if (img.save(path, "PNG"))
        return true;
    std::fprintf(stderr, "make_pictures: cannot write %s\n", qPrintable(path));
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_pictures <resources/pictures folder>\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    if (!out.exists() || !out.mkpath(QStringLiteral("icons"))) {
        std::fprintf(stderr, "make_pictures: no folder %s\n", argv[1]);
        return 1;
    }
    bool ok = Save(Banner(), out.filePath(QStringLiteral("129.png")));
    ok = Save(Logo(), out.filePath(QStringLiteral("136.png"))) && ok;
    for (int size : {16, 32, 48, 64, 128, 256})
        ok = Save(Icon(size), out.filePath(QStringLiteral("icons/talvero-%1.png").arg(size))) && ok;
    return ok ? 0 : 1;
}
