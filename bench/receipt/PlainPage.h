// The floor a receipt page is measured against: the primitives the page draws (rectangles,
// texts, pictures, with their pens, brushes, fonts and colours), found once on a recording
// surface and then drawn with plain QPainter calls, with nothing worked out again.
#pragma once

#include "receipt/PageSurface.h"

#include <QBrush>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <functional>
#include <vector>

class QPainter;
class QPaintDevice;

class PlainPage {
public:
    // What `draw` asks of a page the size of `device`.
    static PlainPage Record(const QPaintDevice& device,
                            const std::function<void(page::PageSurface&)>& draw);

    // The same primitives on `painter`, active on a device like the recorded one.
    void Paint(QPainter& painter) const;

    int Primitives() const { return int(steps_.size()); }

    struct Step {
        enum class Kind { Rectangle, Text, Picture } kind = Kind::Rectangle;
        QRectF rect; // the rectangle, the text's clip (when clipped), or the picture's target
        QPen pen;
        QBrush brush;
        QFont font;
        QColor color;
        QPointF origin; // the text's baseline origin
        QString text;
        bool clipped = false;
        QImage image;
        QRectF source;
    };

private:
    friend class PlainPageRecorder;
    QTransform transform_;
    std::vector<Step> steps_;
};
