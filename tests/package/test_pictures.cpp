// Talvero's pictures are compiled into any program that links talvero_pictures, with no
// initialisation call of its own, and each has the size and colour depth it is used with.
#include "resources/pictures/Pictures.h"

#include <QColor>
#include <QImage>
#include <QSet>
#include <QTest>

namespace {

QSet<int> UsedIndices(const QImage& img) {
    QSet<int> used;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            used.insert(img.pixelIndex(x, y));
    return used;
}

// Loose colour classes, enough to tell the logo's colours apart.
bool IsYellow(QColor c) {
    return c.red() > 200 && c.green() > 170 && c.blue() < 80;
}
bool IsRed(QColor c) {
    return c.red() > 180 && c.green() < 80 && c.blue() < 80;
}
bool IsBlue(QColor c) {
    return c.blue() > 180 && c.red() < 80 && c.green() < 140;
}
bool IsGreen(QColor c) {
    return c.green() > 130 && c.red() < 80 && c.blue() < 100;
}
bool IsDarkBlue(QColor c) {
    return c.blue() > 90 && c.blue() < 160 && c.red() < 40 && c.green() < 70;
}
bool IsBlack(QColor c) {
    return c.red() < 30 && c.green() < 30 && c.blue() < 30;
}
bool IsGrey(QColor c) {
    return c.red() > 120 && c.red() < 200 && qAbs(c.red() - c.green()) < 8 &&
           qAbs(c.red() - c.blue()) < 8;
}

// How many pixels of the rectangle fall in a colour class.
template <typename Class> int Count(const QImage& img, const QRect& area, Class isClass) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            n += isClass(img.pixelColor(x, y)) ? 1 : 0;
    return n;
}

} // namespace

class TestPictures : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void bannerIs230By200With16Colours();
    void logoIs300By750With256ColourTable();
    void logoShowsItsWordsAndSquareOnWhite();
    void iconsHaveEverySize_data();
    void iconsHaveEverySize();
    void applicationIconOffersEverySize();
};

void TestPictures::bannerIs230By200With16Colours() {
    const QImage banner(QString::fromLatin1(pictures::kBanner));
    QVERIFY2(!banner.isNull(), "the banner is not among the program's resources");
    QCOMPARE(banner.size(), QSize(230, 200));
    QCOMPARE(banner.format(), QImage::Format_Indexed8);
    QVERIFY2(banner.colorCount() <= 16, qPrintable(QString::number(banner.colorCount())));
    QVERIFY(UsedIndices(banner).size() <= 16);
    QVERIFY(UsedIndices(banner).size() >= 4); // text on a background, not a blank
}

void TestPictures::logoIs300By750With256ColourTable() {
    const QImage logo(QString::fromLatin1(pictures::kLogotipo));
    QVERIFY2(!logo.isNull(), "the logo strip is not among the program's resources");
    QCOMPARE(logo.size(), QSize(300, 750));
    QCOMPARE(logo.format(), QImage::Format_Indexed8);
    QCOMPARE(logo.colorCount(), 256);
}

void TestPictures::logoShowsItsWordsAndSquareOnWhite() {
    const QImage logo(QString::fromLatin1(pictures::kLogotipo));
    QVERIFY(!logo.isNull());
    const QColor white(Qt::white);
    // On white: the four corners.
    QCOMPARE(logo.pixelColor(0, 0), white);
    QCOMPARE(logo.pixelColor(299, 0), white);
    QCOMPARE(logo.pixelColor(0, 749), white);
    QCOMPARE(logo.pixelColor(299, 749), white);

    // Two words side by side: SU EMPRESA (black, grey shadow) in the left half, LOGOTIPO
    // (dark blue) in the right half.
    const QRect leftHalf(0, 0, 150, 750), rightHalf(150, 0, 150, 750);
    QVERIFY(Count(logo, leftHalf, IsBlack) > 5000);
    QVERIFY(Count(logo, leftHalf, IsGrey) > 1000);
    QVERIFY(Count(logo, rightHalf, IsDarkBlue) > 5000);
    QCOMPARE(Count(logo, leftHalf, IsDarkBlue), 0);
    QCOMPARE(Count(logo, rightHalf, IsBlack), 0);

    // The four-coloured square at the foot of the second word (the bottom of the right
    // half, as the words read upwards), with nothing of it anywhere else.
    const QRect foot(150, 560, 150, 190), rest(0, 0, 300, 560);
    for (auto isQuarter : {IsYellow, IsRed, IsBlue, IsGreen}) {
        QVERIFY(Count(logo, foot, isQuarter) > 1500);
        QCOMPARE(Count(logo, rest, isQuarter), 0);
    }
}

void TestPictures::iconsHaveEverySize_data() {
    QTest::addColumn<int>("size");
    for (int size : {16, 32, 48, 64, 128, 256})
        QTest::addRow("%d px", size) << size;
}

void TestPictures::iconsHaveEverySize() {
    QFETCH(int, size);
    const QImage icon(QStringLiteral(":/icons/talvero-%1.png").arg(size));
    QVERIFY2(!icon.isNull(), "the icon is not among the program's resources");
    QCOMPARE(icon.size(), QSize(size, size));
    QVERIFY(icon.hasAlphaChannel());
    // Drawn on a transparent ground: the top-right corner is clear, the middle is not.
    QCOMPARE(icon.pixelColor(size - 1, 0).alpha(), 0);
    QCOMPARE(icon.pixelColor(size / 2, size / 2).alpha(), 255);

    // The application icon draws each size from its own file, and a size between two files
    // from the larger one, scaled down.
    const QIcon application = pictures::ApplicationIcon();
    QCOMPARE(application.pixmap(QSize(size, size)).toImage(),
             icon.convertToFormat(application.pixmap(QSize(size, size)).toImage().format()));
    QCOMPARE(application.actualSize(QSize(size - 1, size - 1)), QSize(size - 1, size - 1));
    QCOMPARE(application.pixmap(QSize(size - 1, size - 1)).size(), QSize(size - 1, size - 1));
    QVERIFY(!application.pixmap(QSize(size, size), QIcon::Disabled).isNull());

    // The window's icon offers the sizes a window is drawn at, with the same pictures.
    const QIcon window = pictures::WindowIcon();
    QCOMPARE(window.availableSizes().contains(QSize(size, size)), size <= 64);
    QCOMPARE(window.pixmap(QSize(size, size)).toImage(),
             application.pixmap(QSize(size, size)).toImage());
}

void TestPictures::applicationIconOffersEverySize() {
    const QIcon icon = pictures::ApplicationIcon();
    const QList<QSize> sizes = icon.availableSizes();
    for (int size : {16, 32, 48, 64, 128, 256})
        QVERIFY2(sizes.contains(QSize(size, size)), qPrintable(QString::number(size)));
    QCOMPARE(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
}

QTEST_MAIN(TestPictures)
#include "test_pictures.moc"
