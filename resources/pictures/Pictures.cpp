#include "resources/pictures/Pictures.h"

#include <QIconEngine>
#include <QPainter>
#include <QPixmap>
#include <QString>

#include <array>
#include <map>

namespace pictures {

namespace {

constexpr std::array kIconSizes{16, 32, 48, 64, 128, 256};

// The icon's files, each decoded the first time a size is drawn rather than when the icon
// is made: decoding all six took a tenth of the program's start, and a window whose
// platform never draws its icon need not pay for it at all.
class IconFilesEngine final : public QIconEngine {
public:
    // Offers the sizes up to `largest`; any size can still be drawn.
    explicit IconFilesEngine(int largest) : largest_(largest) {}

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        const QPixmap& file = Decoded(Side(size));
        QPixmap fitted = file.width() > size.width() || file.height() > size.height()
                             ? file.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation)
                             : file;
        if (mode == QIcon::Normal)
            return fitted;
        // Disabled, active and selected looks are Qt's own, drawn from the normal one.
        return QIcon(fitted).pixmap(fitted.size(), mode, state);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        painter->drawPixmap(rect, pixmap(rect.size(), mode, state));
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override {
        const QSize file(Side(size), Side(size));
        return file.width() > size.width() || file.height() > size.height()
                   ? file.scaled(size, Qt::KeepAspectRatio)
                   : file;
    }

    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
        QList<QSize> sizes;
        for (int side : kIconSizes)
            if (side <= largest_)
                sizes << QSize(side, side);
        return sizes;
    }

    QIconEngine* clone() const override { return new IconFilesEngine(*this); }
    QString key() const override { return QStringLiteral("talvero-icon-files"); }

private:
    // The smallest file at least as large as asked, or else the largest.
    static int Side(const QSize& size) {
        const int wanted = qMax(size.width(), size.height());
        for (int side : kIconSizes)
            if (side >= wanted)
                return side;
        return kIconSizes.back();
    }

    const QPixmap& Decoded(int side) {
        auto it = decoded_.find(side);
        if (it == decoded_.end())
            it = decoded_.emplace(side, QPixmap(QStringLiteral(":/icons/talvero-%1.png").arg(side)))
                     .first;
        return it->second;
    }

    int largest_;
    std::map<int, QPixmap> decoded_;
};

} // namespace

QIcon ApplicationIcon() {
    return QIcon(new IconFilesEngine(kIconSizes.back()));
}

QIcon WindowIcon() {
    return QIcon(new IconFilesEngine(64));
}

} // namespace pictures
