#include "PlainPage.h"

#include "platform/QtPageSurface.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>

namespace {

QString Line(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

// Turns each request of the page into the QPainter primitive that the page surface on
// QPainter draws for it, in the same internal units.
class PlainPageRecorder final : public page::PageSurface {
public:
    PlainPageRecorder(const QPaintDevice& device, PlainPage& out)
        : size_{device.widthMM(), device.heightMM(), device.width(), device.height()}, out_(out) {}

    page::DeviceSize Size() const override { return size_; }
    void SetMapping(int ww, int wh, int vw, int vh) override {
        out_.transform_ = platform::QtPageSurface::Mapping(ww, wh, vw, vh);
    }
    void DrawRectangle(const page::Rect& rect, const page::Pen& pen,
                       const page::Brush& brush) override {
        PlainPage::Step step;
        step.rect = platform::QtPageSurface::Internal(rect);
        step.pen = platform::QtPageSurface::InternalPen(pen);
        step.brush = platform::QtPageSurface::InternalBrush(brush);
        out_.steps_.push_back(std::move(step));
    }
    page::Font SelectFont(const page::Font& font) override {
        const page::Font previous = font_;
        font_ = font;
        qfont_ = font.face.empty() ? QFont()
                                   : platform::QtPageSurface::CellFont(font.face, font.cellHeight);
        return previous;
    }
    void SetTextColor(page::Color color) override {
        color_ = QColor(page::RedOf(color), page::GreenOf(color), page::BlueOf(color));
    }
    void DrawPointText(int x, int y, std::string_view text) override {
        const QRectF at = platform::QtPageSurface::Internal({x, y, x, y});
        Text(at.topLeft() + QPointF(0, QFontMetricsF(qfont_).ascent()), Line(text), {});
    }
    void DrawBoxText(const page::Rect& rect, page::Align align, std::string_view text) override {
        const QString line = Line(text);
        const QRectF box = platform::QtPageSurface::Internal(rect);
        const QFontMetricsF metrics(qfont_);
        const qreal width = metrics.horizontalAdvance(line);
        qreal x = box.left();
        if (align == page::Align::Right)
            x = box.right() - width;
        else if (align == page::Align::Center)
            x = box.left() + (box.width() - width) / 2;
        Text(QPointF(x, box.top() + metrics.ascent()), line, box);
    }
    std::unique_ptr<page::Picture> LoadPicture(int id) override {
        QImage image(platform::QtPageSurface::PicturePath(id));
        if (image.isNull())
            return nullptr;
        return std::make_unique<platform::QtPicture>(std::move(image));
    }
    void CopyPicture(const page::Picture& picture, const page::Rect& source,
                     const page::Rect& target) override {
        PlainPage::Step step;
        step.kind = PlainPage::Step::Kind::Picture;
        step.image = static_cast<const platform::QtPicture&>(picture).Image();
        step.source =
            QRectF(source.left, source.top, source.right - source.left, source.bottom - source.top);
        step.rect = platform::QtPageSurface::Internal(target);
        out_.steps_.push_back(std::move(step));
    }

private:
    void Text(QPointF origin, QString text, const QRectF& clip) {
        PlainPage::Step step;
        step.kind = PlainPage::Step::Kind::Text;
        step.origin = origin;
        step.text = std::move(text);
        step.font = qfont_;
        step.color = color_;
        step.clipped = !clip.isNull();
        step.rect = clip;
        out_.steps_.push_back(std::move(step));
    }

    page::DeviceSize size_;
    PlainPage& out_;
    page::Font font_;
    QFont qfont_;
    QColor color_{Qt::black};
};

PlainPage PlainPage::Record(const QPaintDevice& device,
                            const std::function<void(page::PageSurface&)>& draw) {
    PlainPage page;
    PlainPageRecorder recorder(device, page);
    draw(recorder);
    return page;
}

void PlainPage::Paint(QPainter& painter) const {
    painter.setWorldTransform(transform_);
    painter.setRenderHint(QPainter::NonCosmeticBrushPatterns, true);
    for (const Step& step : steps_) {
        switch (step.kind) {
        case Step::Kind::Rectangle:
            painter.setPen(step.pen);
            painter.setBrush(step.brush);
            painter.drawRect(step.rect);
            break;
        case Step::Kind::Text:
            painter.setFont(step.font);
            painter.setPen(step.color);
            if (step.clipped) {
                painter.save();
                painter.setClipRect(step.rect, Qt::IntersectClip);
                painter.drawText(step.origin, step.text);
                painter.restore();
            } else {
                painter.drawText(step.origin, step.text);
            }
            break;
        case Step::Kind::Picture:
            painter.drawImage(step.rect, step.image, step.source);
            break;
        }
    }
}
