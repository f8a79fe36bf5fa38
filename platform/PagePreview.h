// A page as the chosen destination will get it: the sheet of the destination's paper, and
// the page drawn by the same drawing code into the printable area, at the widget's own
// scale. Used by the print dialog and by the preview window.
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QWidget>

#include <functional>

namespace page {
class PageSurface;
}

namespace platform {

using DrawPage = std::function<void(page::PageSurface&)>;

// Renders the printable area of `layout` at `dotsPerInch`, the way a printer with that
// layout receives the page: white paper, the drawing at the area's top-left corner.
QImage RenderPrintableArea(const QPageLayout& layout, qreal dotsPerInch, const DrawPage& draw);

class PagePreview final : public QWidget {
    Q_OBJECT

public:
    explicit PagePreview(QWidget* parent = nullptr);

    // What to show. An invalid layout shows an empty grey area (the destination is not
    // known yet).
    void SetLayout(const QPageLayout& layout);
    const QPageLayout& Layout() const { return layout_; }
    void SetDrawing(DrawPage draw);
    // The drawing changed: it is drawn again before the next frame is shown.
    void Redraw();

    // 0 fits the whole sheet into the widget; otherwise pixels per millimetre of paper.
    void SetZoom(qreal pixelsPerMm);
    qreal Zoom() const { return zoom_; }
    // The scale in use, in pixels per millimetre of paper.
    qreal Scale() const;
    // Where the sheet is drawn in the widget, in pixels.
    QRect SheetRect() const;
    // The printable area's picture as it is currently shown (rendered on demand).
    QImage PrintableAreaImage() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPageLayout layout_;
    DrawPage draw_;
    qreal zoom_ = 0;
    mutable QImage cache_; // the printable area at the current scale; null when stale
};

} // namespace platform
