#include "platform/QtPageSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTransform>

#include <algorithm>
#include <cmath>

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
    painter_.setWorldTransform(
        QTransform::fromScale(qreal(viewportWidth) / (qreal(windowWidth) * SPLIT),
                              qreal(viewportHeight) / (qreal(windowHeight) * SPLIT)));
}

void QtPageSurface::DrawRectangle(const Rect& rect, const Pen& pen, const Brush& brush) {
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
    QBrush qbrush(ToQColor(brush.color), Qt::SolidPattern);
    if (brush.fill == Fill::DiagonalCross) {
        // Qt's 8 x 8 hatch pattern, one pattern pixel to a logical unit: lines 0.1 mm wide in
        // a 0.8 mm grid on any device, rather than a grid of device pixels that fades into a
        // flat tint on a fine printer.
        qbrush.setStyle(Qt::DiagCrossPattern);
        qbrush.setTransform(QTransform::fromScale(SPLIT, SPLIT));
    }
    painter_.save();
    painter_.setRenderHint(QPainter::NonCosmeticBrushPatterns, true);
    painter_.setPen(qpen);
    painter_.setBrush(qbrush);
    painter_.drawRect(Internal(rect));
    painter_.restore();
}

QFont QtPageSurface::CellFont(const std::string& face, int cellHeight) {
    QFont font(QString::fromStdString(face));
    font.setStyleHint(QFont::Serif);
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

QRectF QtPageSurface::Internal(const Rect& r) const {
    return QRectF(r.left * SPLIT, r.top * SPLIT, (r.right - r.left) * SPLIT,
                  (r.bottom - r.top) * SPLIT);
}

} // namespace platform
