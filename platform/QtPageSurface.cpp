#include "platform/QtPageSurface.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QHash>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QRawFont>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>
#include <numeric>

namespace platform {

namespace {

constexpr qreal SPLIT = 10; // internal units per logical unit

QColor ToQColor(Color c) {
    return QColor(page::RedOf(c), page::GreenOf(c), page::BlueOf(c));
}

// A single line: line breaks and tabs would otherwise be dropped or shown as boxes.
QString OneLine(std::string_view text) {
    QString line = QString::fromUtf8(text.data(), qsizetype(text.size()));
    for (QChar& c : line) {
        if (c == u'\n' || c == u'\r' || c == u'\t') {
            c = u' ';
        }
    }
    return line;
}

// Serif faces that stand in for the receipt's face, best first; fontconfig's generic
// "serif" last.
const char* const kSerifFallbacks[] = {
    "Times New Roman", "Liberation Serif", "Tinos",     "Nimbus Roman", "Times",
    "DejaVu Serif",    "Noto Serif",       "FreeSerif", "C059",         "serif",
};

// Symbol faces that a Type 1 file leaves without a character map to recognise them by.
const char* const kSymbolFamilies[] = {
    "standard symbols ps", "symbol", "d050000l", "dingbats", "wingdings", "webdings", "opensymbol",
};

// Whether a face's character map is the symbol encoding (platform 3, encoding 0): a
// symbol face answers for letters through it and draws pictures in their place.
bool HasSymbolMap(const QRawFont& raw) {
    const QByteArray cmap = raw.fontTable("cmap");
    auto u16 = [&cmap](qsizetype at) {
        return at + 2 <= cmap.size()
                   ? (quint16(quint8(cmap[at])) << 8) | quint16(quint8(cmap[at + 1]))
                   : 0;
    };
    const int tables = u16(2);
    for (int i = 0; i < tables; ++i) {
        const qsizetype record = 4 + qsizetype(i) * 8;
        if (record + 8 > cmap.size())
            break;
        if (u16(record) == 3 && u16(record + 2) == 0)
            return true;
    }
    return false;
}

bool FaceDrawsText(const QFont& font, const QString& family);
QFont ChooseTextFont(const std::string& face);

// A family that can write Latin text and is not a symbol face; serif-looking names first.
QString AnyTextFamily() {
    QString any;
    const QStringList families = QFontDatabase::families(QFontDatabase::Latin);
    for (const QString& family : families) {
        if (QFontDatabase::writingSystems(family).contains(QFontDatabase::Symbol))
            continue;
        QFont candidate(family);
        if (!DrawsText(candidate))
            continue;
        const QString lower = family.toLower();
        if (lower.contains(QLatin1String("serif")) && !lower.contains(QLatin1String("sans")))
            return family;
        if (lower.contains(QLatin1String("roman")) || lower.contains(QLatin1String("times")))
            return family;
        if (any.isEmpty())
            any = family;
    }
    return any;
}

} // namespace

bool DrawsText(const QFont& font) {
    const QString family = QFontInfo(font).family();
    // Reading a face's tables is slow next to drawing a text, and a page selects its fonts
    // many times over: the answer is kept per face for the run of the program. Pages are
    // drawn on more than one thread (the preview here, the job on a worker).
    static std::mutex mutex;
    static QHash<QString, bool> known;
    {
        const std::lock_guard lock(mutex);
        if (const auto it = known.constFind(family); it != known.constEnd())
            return it.value();
    }
    const bool draws = FaceDrawsText(font, family);
    const std::lock_guard lock(mutex);
    known.insert(family, draws);
    return draws;
}

namespace {

bool FaceDrawsText(const QFont& font, const QString& family) {
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    if (!systems.contains(QFontDatabase::Latin) || systems.contains(QFontDatabase::Symbol))
        return false;
    const QRawFont raw = QRawFont::fromFont(font, QFontDatabase::Latin);
    if (!raw.isValid() || HasSymbolMap(raw))
        return false;
    const QString lower = family.toLower();
    for (const char* symbolic : kSymbolFamilies) {
        if (lower == QLatin1String(symbolic))
            return false;
    }
    // The letters and digits of every receipt.
    for (const char32_t c : {U'A', U'a', U'0', U'Ñ'}) {
        if (!raw.supportsCharacter(c))
            return false;
    }
    return true;
}

} // namespace

QFont TextFont(const std::string& face) {
    static std::mutex mutex;
    static std::map<std::string, QFont, std::less<>> chosen;
    {
        const std::lock_guard lock(mutex);
        if (const auto it = chosen.find(face); it != chosen.end())
            return it->second;
    }
    const QFont font = ChooseTextFont(face);
    const std::lock_guard lock(mutex);
    chosen.emplace(face, font);
    return font;
}

namespace {

QFont ChooseTextFont(const std::string& face) {
    QFont font;
    QStringList families{QString::fromStdString(face)};
    for (const char* fallback : kSerifFallbacks)
        families << QString::fromLatin1(fallback);
    font.setFamilies(families);
    font.setStyleHint(QFont::Serif);
    if (DrawsText(font))
        return font;
    // None of those exists, and the machine's idea of a serif face (a symbol face, on
    // some) cannot write: take the best face that can.
    if (const QString family = AnyTextFamily(); !family.isEmpty()) {
        font.setFamilies({family});
        return font;
    }
    return font; // nothing can write; the surface reports it
}

} // namespace

QtPageSurface::QtPageSurface(QPainter& painter)
    : painter_(painter), originalFont_(painter.font()), qfont_(painter.font()) {}

DeviceSize QtPageSurface::Size() const {
    const QPaintDevice* device = painter_.device();
    if (device == nullptr) {
        return {};
    }
    return {device->widthMM(), device->heightMM(), device->width(), device->height()};
}

void QtPageSurface::SetMapping(int windowWidth, int windowHeight, int viewportWidth,
                               int viewportHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || viewportWidth <= 0 || viewportHeight <= 0) {
        return;
    }
    painter_.setWorldTransform(Mapping(windowWidth, windowHeight, viewportWidth, viewportHeight));
}

QTransform QtPageSurface::Mapping(int windowWidth, int windowHeight, int viewportWidth,
                                  int viewportHeight) {
    return QTransform::fromScale(qreal(viewportWidth) / (qreal(windowWidth) * SPLIT),
                                 qreal(viewportHeight) / (qreal(windowHeight) * SPLIT));
}

QPen QtPageSurface::InternalPen(const Pen& pen) {
    QPen qpen(ToQColor(pen.color));
    qpen.setStyle(Qt::SolidLine);
    qpen.setJoinStyle(Qt::MiterJoin);
    if (pen.width == 0) {
        qpen.setCosmetic(true);
        qpen.setWidthF(1);
    } else {
        qpen.setCosmetic(false);
        qpen.setWidthF(pen.width * SPLIT);
    }
    return qpen;
}

QBrush QtPageSurface::InternalBrush(const Brush& brush) {
    QBrush qbrush(ToQColor(brush.color), Qt::SolidPattern);
    if (brush.fill == Fill::DiagonalCross) {
        // Qt's 8 x 8 hatch pattern, one pattern pixel to a logical unit: lines 0.1 mm wide in
        // a 0.8 mm grid on any device, rather than a grid of device pixels that fades into a
        // flat tint on a fine printer.
        qbrush.setStyle(Qt::DiagCrossPattern);
        qbrush.setTransform(QTransform::fromScale(SPLIT, SPLIT));
    }
    return qbrush;
}

void QtPageSurface::DrawRectangle(const Rect& rect, const Pen& pen, const Brush& brush) {
    painter_.save();
    painter_.setRenderHint(QPainter::NonCosmeticBrushPatterns, true);
    painter_.setPen(InternalPen(pen));
    painter_.setBrush(InternalBrush(brush));
    painter_.drawRect(Internal(rect));
    painter_.restore();
}

void QtPageSurface::FillRectangles(const std::vector<Rect>& rects, Color color) {
    if (rects.empty())
        return;
    // Drawn on the rectangles' coarsest common grid (a QR code's modules): the PDF writer
    // prints each corner in one or two digits, which it then compresses, instead of eight.
    int x0 = rects.front().left, y0 = rects.front().top;
    for (const Rect& r : rects) {
        x0 = std::min({x0, r.left, r.right});
        y0 = std::min({y0, r.top, r.bottom});
    }
    int paso = 0;
    for (const Rect& r : rects)
        for (const int v : {r.left - x0, r.right - x0, r.top - y0, r.bottom - y0})
            if (paso != 1 && (paso == 0 || v % paso != 0))
                paso = std::gcd(paso, v);
    paso = std::max(paso, 1);
    std::vector<QRectF> enRejilla;
    enRejilla.reserve(rects.size());
    for (const Rect& r : rects)
        enRejilla.emplace_back((r.left - x0) / paso, (r.top - y0) / paso, (r.right - r.left) / paso,
                               (r.bottom - r.top) / paso);

    painter_.save();
    painter_.translate(x0 * SPLIT, y0 * SPLIT);
    painter_.scale(paso * SPLIT, paso * SPLIT);
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(QBrush(ToQColor(color), Qt::SolidPattern));
    if (painter_.paintEngine() && painter_.paintEngine()->type() == QPaintEngine::Pdf) {
        // The PDF writer (files and the print system alike) puts them as one path of "re"
        // operators filled once, which viewers fill as one shape.
        painter_.drawRects(enRejilla.data(), int(enRejilla.size()));
    } else {
        // On pixels, rectangles filled one by one with antialiasing would leave faint seams
        // where they meet; one path has none.
        QPainterPath camino;
        for (const QRectF& r : enRejilla)
            camino.addRect(r);
        painter_.drawPath(camino);
    }
    painter_.restore();
}

QFont QtPageSurface::CellFont(const std::string& face, int cellHeight) {
    QFont font = TextFont(face);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    // Metrics are linear in the size; measure once at a large size, where nothing is
    // rounded by hinting, and scale.
    constexpr int reference = 1000;
    font.setPixelSize(reference);
    const QFontMetricsF metrics(font);
    const qreal cell = metrics.ascent() + metrics.descent();
    const qreal pixels = cell > 0 ? cellHeight * SPLIT * reference / cell : cellHeight * SPLIT;
    // Kept within what a font can be asked for, whatever height comes in.
    constexpr qreal largest = 1e6;
    font.setPixelSize(int(std::lround(std::clamp(pixels, qreal(1), largest))));
    return font;
}

Font QtPageSurface::SelectFont(const Font& font) {
    Font previous = font_;
    font_ = font;
    qfont_ = font.face.empty() ? originalFont_ : CellFont(font.face, font.cellHeight);
    if (!font.face.empty() && !DrawsText(qfont_))
        textUnreadable_ = true;
    return previous;
}

void QtPageSurface::SetTextColor(Color color) {
    textColor_ = ToQColor(color);
}

void QtPageSurface::DrawPointText(int x, int y, std::string_view text) {
    painter_.setFont(qfont_);
    painter_.setPen(textColor_);
    const QFontMetricsF metrics(qfont_);
    painter_.drawText(QPointF(x * SPLIT, y * SPLIT + metrics.ascent()), OneLine(text));
}

void QtPageSurface::DrawBoxText(const Rect& rect, Align align, std::string_view text) {
    const QString line = OneLine(text);
    const QRectF box = Internal(rect);
    const QFontMetricsF metrics(qfont_);
    const qreal width = metrics.horizontalAdvance(line);
    qreal x = box.left();
    if (align == Align::Right) {
        x = box.right() - width;
    } else if (align == Align::Center) {
        x = box.left() + (box.width() - width) / 2;
    }
    painter_.save();
    painter_.setClipRect(box, Qt::IntersectClip);
    painter_.setFont(qfont_);
    painter_.setPen(textColor_);
    painter_.drawText(QPointF(x, box.top() + metrics.ascent()), line);
    painter_.restore();
}

QString QtPageSurface::PicturePath(int id) {
    return QStringLiteral(":/pictures/%1.png").arg(id);
}

std::unique_ptr<Picture> QtPageSurface::LoadPicture(int id) {
    QImage image(PicturePath(id));
    if (image.isNull()) {
        return nullptr;
    }
    return std::make_unique<QtPicture>(std::move(image));
}

void QtPageSurface::CopyPicture(const Picture& picture, const Rect& source, const Rect& target) {
    const auto* qt = dynamic_cast<const QtPicture*>(&picture);
    if (qt == nullptr) {
        return;
    }
    const QRectF from(source.left, source.top, source.right - source.left,
                      source.bottom - source.top);
    painter_.drawImage(Internal(target), qt->Image(), from);
}

QRectF QtPageSurface::Internal(const Rect& r) {
    return QRectF(r.left * SPLIT, r.top * SPLIT, (r.right - r.left) * SPLIT,
                  (r.bottom - r.top) * SPLIT);
}

} // namespace platform
