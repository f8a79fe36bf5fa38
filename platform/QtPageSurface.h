// The page surface on a QPainter: printers, PDF writers and images alike.
//
// Internally every logical unit is split into ten so that font sizes, which Qt takes in
// whole pixels of the painter's coordinate system, keep a tenth of a unit of precision:
// a 50-unit cell of a face whose cell is 1.107 em wants a 45.17-unit em, and rounding that
// to 45 would shrink the text by 0.4 %.
#pragma once

#include "receipt/PageSurface.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QTransform>

#include <memory>
#include <string>
#include <utility>

class QPainter;

namespace platform {

// The receipt's drawing vocabulary, implemented here on QPainter.
using page::Align;
using page::Brush;
using page::Color;
using page::DeviceSize;
using page::Fill;
using page::Font;
using page::PageSurface;
using page::Pen;
using page::Picture;
using page::Rect;

// Whether a font writes the letters and digits of a receipt (a symbol face does not).
bool DrawsText(const QFont& font);

// The font for text in `face`: the face when the machine has it, otherwise the best serif
// face it has, otherwise any face that can write. Never a symbol face while another exists.
QFont TextFont(const std::string& face);

// What the program says when no face can write the receipt's text.
inline constexpr char kNoTextFontMessage[] =
    "No se puede imprimir el recibo: el equipo no tiene ninguna fuente capaz de escribir su "
    "texto. Instale una fuente de texto (por ejemplo, DejaVu o Liberation) y vuelva a "
    "intentarlo.";

class QtPicture final : public Picture {
public:
    explicit QtPicture(QImage image) : image_(std::move(image)) {}
    int Width() const override { return image_.width(); }
    int Height() const override { return image_.height(); }
    const QImage& Image() const { return image_; }

private:
    QImage image_;
};

class QtPageSurface final : public PageSurface {
public:
    // Draws with `painter`, which must be active on its device for the surface's lifetime.
    explicit QtPageSurface(QPainter& painter);

    DeviceSize Size() const override;
    void SetMapping(int windowWidth, int windowHeight, int viewportWidth,
                    int viewportHeight) override;
    void DrawRectangle(const Rect& rect, const Pen& pen, const Brush& brush) override;
    void FillRectangles(const std::vector<Rect>& rects, Color color) override;
    Font SelectFont(const Font& font) override;
    void SetTextColor(Color color) override;
    void DrawPointText(int x, int y, std::string_view text) override;
    void DrawBoxText(const Rect& rect, Align align, std::string_view text) override;
    std::unique_ptr<Picture> LoadPicture(int id) override;
    void CopyPicture(const Picture& picture, const Rect& source, const Rect& target) override;

    // The Qt font for a face and a cell height in logical units, in the surface's internal
    // units (ten to a logical unit): its ascent plus descent is ten times the cell height.
    static QFont CellFont(const std::string& face, int cellHeight);

    // The resource path of picture `id`.
    static QString PicturePath(int id);

    // The painter's transform for a mapping (see SetMapping), and a rectangle, a pen and a
    // brush of the page in the surface's internal units: what the surface hands to QPainter.
    static QTransform Mapping(int windowWidth, int windowHeight, int viewportWidth,
                              int viewportHeight);
    static QRectF Internal(const Rect& rect);
    static QPen InternalPen(const Pen& pen);
    static QBrush InternalBrush(const Brush& brush);

    // Whether a font selected for text could not write letters: no face on the machine
    // can, and the page would come out without its text. Stays set once set.
    bool TextUnreadable() const { return textUnreadable_; }

private:
    QPainter& painter_;
    QFont originalFont_;
    Font font_;
    QFont qfont_;
    QColor textColor_{Qt::black};
    bool textUnreadable_ = false;
};

} // namespace platform
