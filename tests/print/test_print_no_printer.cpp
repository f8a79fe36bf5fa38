// Printing on a machine where no printer can be found: "Imprimir recibo" opens on
// "Archivo PDF" and says that no printer is installed; confirming it hands the receipt
// over to be saved as PDF, and nothing is drawn for a printer.
#include "ChoiceDriver.h"

#include "platform/PrintDialog.h"
#include "platform/PrintJob.h"
#include "receipt/PageSurface.h"

#include <QComboBox>
#include <QLabel>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>
#include <QThread>

#include <atomic>

class TestPrintNoPrinter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noPrinterIsFound();
    void dialogOpensOnThePdfFile();
    void confirmingChoosesThePdfFile();
};

void TestPrintNoPrinter::noPrinterIsFound() {
    // The print server named by CUPS_SERVER does not exist.
    QCOMPARE(QPrinterInfo::availablePrinterNames(), QStringList{});
}

void TestPrintNoPrinter::dialogOpensOnThePdfFile() {
    platform::PrintDialog choice(nullptr);
    QCOMPARE(choice.objectName(), QStringLiteral("imprimirRecibo"));
    QCOMPARE(choice.windowTitle(), QStringLiteral("Imprimir recibo"));
    QTRY_VERIFY_WITH_TIMEOUT(!choice.Searching(), 8000);
    auto* combo = choice.findChild<QComboBox*>(QStringLiteral("destino"));
    QVERIFY(combo != nullptr);
    QCOMPARE(combo->count(), 1);
    QCOMPARE(combo->currentText(), QStringLiteral("Archivo PDF"));
    QCOMPARE(choice.Chosen(), platform::PrintDialog::Destination::PdfFile);
    auto* status = choice.findChild<QLabel*>(QStringLiteral("estado"));
    QVERIFY(status != nullptr);
    QCOMPARE(status->text(), QStringLiteral("No hay ninguna impresora instalada."));
    for (QPushButton* b : choice.findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("Aceptar")) {
            QVERIFY(b->isEnabled());
        } else if (b->text() == QStringLiteral("Propiedades...")) {
            QVERIFY(!b->isEnabled());
        }
    }
    // The preview shows an A4 sheet with 5 mm margins, the PDF's page without a printer.
    const QPageLayout layout = choice.PdfLayout();
    QCOMPARE(layout.pageSize().id(), QPageSize::A4);
    QCOMPARE(layout.margins(QPageLayout::Millimeter), QMarginsF(5, 5, 5, 5));
}

void TestPrintNoPrinter::confirmingChoosesThePdfFile() {
    std::atomic<int> jobPages = 0;
    ChoiceDriver driver(ChoiceDriver::Press::Accept);
    const platform::PrintOutcome outcome =
        platform::PrintOnePage("Talvero: Imprimiento Recibo", [&](page::PageSurface&) {
            // The preview draws on this thread; a job would draw on a worker.
            if (QThread::currentThread() != qApp->thread())
                ++jobPages;
        });
    QCOMPARE(driver.choicesSeen, 1);
    QVERIFY(driver.acceptEnabled);
    QCOMPARE(driver.printers, QStringList{QStringLiteral("Archivo PDF")});
    QCOMPARE(outcome.kind, platform::PrintOutcome::Kind::PdfFile);
    QCOMPARE(jobPages.load(), 0);
    QCOMPARE(driver.otherModals, QStringList{});
}

QTEST_MAIN(TestPrintNoPrinter)
#include "test_print_no_printer.moc"
