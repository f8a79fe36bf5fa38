#include "platform/PagePreview.h"

#include "platform/QtPageSurface.h"

#include <QPainter>

#include <cmath>

namespace platform {

namespace {

constexpr qreal kMmPerInch = 25.4;
constexpr int kShadow = 3; // pixels of shadow under the sheet
constexpr int kGap = 8;    // pixels around the sheet when it is fitted

} // namespace

QImage RenderPrintableArea(const QPageLayout& layout, qreal dotsPerInch, const DrawPage& draw) {
    const QRectF area = layout.paintRect(QPageLayout::Millimeter);
    const QSize pixels(std::max(1, int(std::lround(area.width() * dotsPerInch / kMmPerInch))),
                       std::max(1, int(std::lround(area.height() * dotsPerInch / kMmPerInch))));
    QImage image(pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    // The device reports the area's size in millimetres from these, as a printer does.
    const int dotsPerMetre = int(std::lround(dotsPerInch / kMmPerInch * 1000));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    if (draw) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        QtPageSurface surface(painter);
        draw(surface);
    }
    return image;
}

PagePreview::PagePreview(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("vistaPrevia"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void PagePreview::SetLayout(const QPageLayout& layout) {
    layout_ = layout;
    Redraw();
    updateGeometry();
}

void PagePreview::SetDrawing(DrawPage draw) {
    draw_ = std::move(draw);
    Redraw();
}

void PagePreview::Redraw() {
    cache_ = QImage();
    update();
}

void PagePreview::SetZoom(qreal pixelsPerMm) {
    zoom_ = pixelsPerMm > 0 ? pixelsPerMm : 0;
    Redraw();
    updateGeometry();
}

qreal PagePreview::Scale() const {
    if (!layout_.isValid())
        return 0;
    if (zoom_ > 0)
        return zoom_;
    const QSizeF sheet = layout_.fullRect(QPageLayout::Millimeter).size();
    const qreal w = (width() - 2 * kGap - kShadow) / sheet.width();
    const qreal h = (height() - 2 * kGap - kShadow) / sheet.height();
    return std::max<qreal>(0.05, std::min(w, h));
}

QRect PagePreview::SheetRect() const {
    if (!layout_.isValid())
        return {};
    const qreal scale = Scale();
    const QSizeF sheet = layout_.fullRect(QPageLayout::Millimeter).size() * scale;
    const QSize size(int(std::lround(sheet.width())), int(std::lround(sheet.height())));
    const int x = std::max(kGap, (width() - size.width()) / 2);
    const int y = std::max(kGap, (height() - size.height()) / 2);
    return QRect(QPoint(x, y), size);
}

QImage PagePreview::PrintableAreaImage() const {
    if (cache_.isNull() && layout_.isValid())
        cache_ = RenderPrintableArea(layout_, Scale() * kMmPerInch, draw_);
    return cache_;
}

QSize PagePreview::sizeHint() const {
    if (zoom_ > 0 && layout_.isValid()) {
        const QSizeF sheet = layout_.fullRect(QPageLayout::Millimeter).size() * zoom_;
        return QSize(int(sheet.width()) + 2 * kGap + kShadow,
                     int(sheet.height()) + 2 * kGap + kShadow);
    }
    return QSize(300, 400);
}

QSize PagePreview::minimumSizeHint() const {
    if (zoom_ > 0)
        return sizeHint();
    return QSize(150, 200);
}

void PagePreview::resizeEvent(QResizeEvent* event) {
    if (zoom_ == 0)
        cache_ = QImage();
    QWidget::resizeEvent(event);
}

void PagePreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    if (!layout_.isValid())
        return;
    const QRect sheet = SheetRect();
    painter.fillRect(sheet.translated(kShadow, kShadow), QColor(0, 0, 0, 90));
    painter.fillRect(sheet, Qt::white);
    const QRectF area = layout_.paintRect(QPageLayout::Millimeter);
    const qreal scale = Scale();
    const QPoint corner(sheet.left() + int(std::lround(area.left() * scale)),
                        sheet.top() + int(std::lround(area.top() * scale)));
    painter.drawImage(corner, PrintableAreaImage());
}

} // namespace platform
