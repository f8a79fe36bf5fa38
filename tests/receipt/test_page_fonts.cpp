// The receipt's font on machines that lack it. Each run points fontconfig at a private font
// set, chosen by TALVERO_FONT_SET before the toolkit starts:
//  - "symbol-and-serif": a symbol face and one serif face, neither the receipt's face;
//  - "symbol-and-sans": a symbol face and one sans-serif face;
//  - "symbol-only": nothing but symbol faces;
//  - "none": no font at all.
#include "platform/QtPageSurface.h"
#include "receipt/ReciboLayout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

namespace {

const char* const kSymbolFaces[] = {
    "/usr/share/fonts/opentype/urw-base35/StandardSymbolsPS.otf",
    "/usr/share/fonts/opentype/urw-base35/D050000L.otf",
};
const char kSerifFace[] = "/usr/share/fonts/truetype/dejavu/DejaVuSerif.ttf";
const char kSansFace[] = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

QByteArray FontSet() {
    return qgetenv("TALVERO_FONT_SET");
}

// A fontconfig setup with only the chosen files, built before QApplication exists.
std::unique_ptr<QTemporaryDir> PrivateFonts() {
    auto dir = std::make_unique<QTemporaryDir>();
    const QString fonts = dir->filePath(QStringLiteral("fonts"));
    QDir().mkpath(fonts);
    QStringList files;
    if (FontSet() != "none") {
        for (const char* f : kSymbolFaces)
            files << QString::fromLatin1(f);
    }
    if (FontSet() == "symbol-and-serif")
        files << QString::fromLatin1(kSerifFace);
    if (FontSet() == "symbol-and-sans")
        files << QString::fromLatin1(kSansFace);
    for (const QString& f : files)
        QFile::link(f, fonts + QLatin1Char('/') + QFileInfo(f).fileName());
    QFile conf(dir->filePath(QStringLiteral("fonts.conf")));
    if (!conf.open(QIODevice::WriteOnly))
        qFatal("cannot write fonts.conf");
    conf.write("<?xml version=\"1.0\"?>\n<!DOCTYPE fontconfig SYSTEM \"fonts.dtd\">\n<fontconfig>\n"
               "<dir>" +
               fonts.toUtf8() + "</dir>\n<cachedir>" +
               dir->filePath(QStringLiteral("cache")).toUtf8() + "</cachedir>\n</fontconfig>\n");
    conf.close();
    qputenv("FONTCONFIG_FILE", conf.fileName().toUtf8());
    qputenv("QT_QPA_FONTDIR", fonts.toUtf8()); // for platforms that read fonts themselves
    return dir;
}

// Draws the receipt's words in the receipt's face on a white page; whether ink came out.
bool Draw(bool* unreadable) {
    QImage image(1200, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    platform::QtPageSurface page(painter);
    page.SetMapping(1200, 300, 1200, 300);
    page.SelectFont({recibo::CARA, 40});
    page.DrawPointText(10, 10, "RECIBO Nº 12 Euros Ñandú");
    painter.end();
    *unreadable = page.TextUnreadable();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                return true;
    return false;
}

} // namespace

class TestPageFonts : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void neverASymbolFace();
    void theSurfaceSaysWhetherItCanWrite();
};

void TestPageFonts::neverASymbolFace() {
    const QFont font = platform::QtPageSurface::CellFont(recibo::CARA, 50);
    const QString family = QFontInfo(font).family();
    if (FontSet() == "symbol-and-serif") {
        QCOMPARE(family, QStringLiteral("DejaVu Serif"));
        QVERIFY(platform::DrawsText(font));
    } else if (FontSet() == "symbol-and-sans") {
        QCOMPARE(family, QStringLiteral("DejaVu Sans")); // a face that writes beats a symbol one
        QVERIFY(platform::DrawsText(font));
    } else {
        QVERIFY2(!platform::DrawsText(font), qPrintable(family));
    }
}

void TestPageFonts::theSurfaceSaysWhetherItCanWrite() {
    bool unreadable = false;
    const bool ink = Draw(&unreadable);
    if (FontSet() != "symbol-only" && FontSet() != "none") {
        QVERIFY(ink);
        QVERIFY(!unreadable);
    } else {
        QVERIFY(unreadable);
    }
}

int main(int argc, char** argv) {
    const auto fonts = PrivateFonts();
    QApplication app(argc, argv);
    TestPageFonts test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_page_fonts.moc"
