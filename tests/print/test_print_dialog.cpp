// "Imprimir recibo" with the test print server's queues: the destinations and their order,
// what "Propiedades..." offers for each, and a preview that shows the page exactly as the
// chosen destination gets it.
#include "PrintTestSupport.h"

#include "../receipt/SampleRecords.h"

#include "platform/PrintDialog.h"
#include "receipt/PageSurface.h"

#include <QComboBox>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

namespace {

const QString DEFAULT_QUEUE = QStringLiteral("TalveroPDF");
const QString OTHER_QUEUE = QStringLiteral("TalveroOtra");

platform::DrawPage DrawSample() {
    return [](page::PageSurface& page) {
        CRecibo r = sample::Filled();
        r.Dibujar(page);
    };
}

QPushButton* ButtonOf(QDialog& d, const QString& text) {
    for (QPushButton* b : d.findChildren<QPushButton*>()) {
        if (b->text() == text)
            return b;
    }
    return nullptr;
}

} // namespace

class TestPrintDialog : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void destinationsArePrintersThenThePdfFile();
    void propertiesOnlyForPrinters();
    void previewTakesTheDestinationsPage_data();
    void previewTakesTheDestinationsPage();
    void previewShowsTheRenderedPageAtItsPlace();
};

void TestPrintDialog::initTestCase() {
    if (printtest::ServerDir().isEmpty())
        QSKIP("TALVERO_CUPS_DIR is not set: run through ctest");
    if (!printtest::SkipReason().isEmpty())
        QFAIL(qPrintable(printtest::SkipReason()));
}

void TestPrintDialog::destinationsArePrintersThenThePdfFile() {
    platform::PrintDialog dialog(DrawSample());
    QVERIFY(dialog.Searching());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.Searching(), 8000);
    auto* destino = dialog.findChild<QComboBox*>(QStringLiteral("destino"));
    QVERIFY(destino != nullptr);
    QVERIFY(destino->count() >= 3);
    QCOMPARE(destino->itemText(destino->count() - 1), QStringLiteral("Archivo PDF"));
    QCOMPARE(destino->currentText(), DEFAULT_QUEUE);
    QVERIFY(destino->findText(OTHER_QUEUE) >= 0);
    QCOMPARE(dialog.Chosen(), platform::PrintDialog::Destination::Printer);
    QTRY_VERIFY(dialog.Printer() != nullptr);
    QCOMPARE(dialog.Printer()->printerName(), DEFAULT_QUEUE);
}

void TestPrintDialog::propertiesOnlyForPrinters() {
    platform::PrintDialog dialog(DrawSample());
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Printer() != nullptr, 8000);
    QPushButton* properties = ButtonOf(dialog, QStringLiteral("Propiedades..."));
    QPushButton* accept = ButtonOf(dialog, QStringLiteral("Aceptar"));
    QVERIFY(properties != nullptr && accept != nullptr);
    QVERIFY(properties->isEnabled());
    QVERIFY(accept->isEnabled());

    auto* destino = dialog.findChild<QComboBox*>(QStringLiteral("destino"));
    destino->setCurrentIndex(destino->count() - 1);
    QCOMPARE(dialog.Chosen(), platform::PrintDialog::Destination::PdfFile);
    QVERIFY(!properties->isEnabled());
    QVERIFY(accept->isEnabled());
    QVERIFY(dialog.Printer() == nullptr);
}

void TestPrintDialog::previewTakesTheDestinationsPage_data() {
    QTest::addColumn<bool>("pdf");
    QTest::newRow("default printer") << false;
    QTest::newRow("PDF file") << true;
}

void TestPrintDialog::previewTakesTheDestinationsPage() {
    QFETCH(bool, pdf);
    platform::PrintDialog dialog(DrawSample());
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Printer() != nullptr, 8000);
    auto* preview = dialog.findChild<platform::PagePreview*>(QStringLiteral("vistaPrevia"));
    QVERIFY(preview != nullptr);
    QPageLayout expected = dialog.Printer()->pageLayout();
    if (pdf) {
        auto* destino = dialog.findChild<QComboBox*>(QStringLiteral("destino"));
        destino->setCurrentIndex(destino->count() - 1);
        expected = dialog.PdfLayout();
        // A4, with the margins of the default printer.
        QCOMPARE(expected.pageSize().id(), QPageSize::A4);
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(DEFAULT_QUEUE);
        QPageLayout own = printer.pageLayout();
        own.setUnits(QPageLayout::Millimeter);
        QCOMPARE(expected.margins(QPageLayout::Millimeter), own.minimumMargins());
    }
    QCOMPARE(preview->Layout().fullRect(QPageLayout::Point), expected.fullRect(QPageLayout::Point));
    QCOMPARE(preview->Layout().paintRect(QPageLayout::Point),
             expected.paintRect(QPageLayout::Point));
}

void TestPrintDialog::previewShowsTheRenderedPageAtItsPlace() {
    platform::PrintDialog dialog(DrawSample());
    dialog.resize(500, 700);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.Printer() != nullptr, 8000);
    auto* preview = dialog.findChild<platform::PagePreview*>(QStringLiteral("vistaPrevia"));
    QVERIFY(preview != nullptr);
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    // What the widget shows, where the printable area lies on the sheet, equals the page
    // rendered on its own at the same resolution.
    const qreal scale = preview->Scale();
    const QImage expected =
        platform::RenderPrintableArea(preview->Layout(), scale * 25.4, DrawSample());
    const QRectF area = preview->Layout().paintRect(QPageLayout::Millimeter);
    const QRect sheet = preview->SheetRect();
    const QPoint corner(sheet.left() + qRound(area.left() * scale),
                        sheet.top() + qRound(area.top() * scale));
    const QImage shown = preview->grab()
                             .toImage()
                             .copy(QRect(corner, expected.size()))
                             .convertToFormat(expected.format());
    QCOMPARE(shown.size(), expected.size());
    QCOMPARE(shown, expected);
    // And it is the receipt: some of it is coloured (the frame's fill).
    int coloured = 0;
    for (int y = 0; y < shown.height(); y += 2) {
        for (int x = 0; x < shown.width(); x += 2)
            coloured += QColor(shown.pixel(x, y)) != QColor(Qt::white) ? 1 : 0;
    }
    QVERIFY(coloured > 100);
    // The sheet has the printer's paper proportions.
    const QSizeF paper = preview->Layout().fullRect(QPageLayout::Millimeter).size();
    QVERIFY(qAbs(sheet.width() / qreal(sheet.height()) - paper.width() / paper.height()) < 0.01);
}

QTEST_MAIN(TestPrintDialog)
#include "test_print_dialog.moc"
