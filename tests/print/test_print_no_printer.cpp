// Printing on a machine where no printer can be found: the choice lists nothing, offers
// nothing to confirm, and the print ends without a page and without a message.
#include "ChoiceDriver.h"

#include "receipt/PageSurface.h"
#include "platform/PrintJob.h"
#include "platform/PrinterChoiceDialog.h"

#include <QComboBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTest>

class TestPrintNoPrinter : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void noPrinterIsFound();
    void choiceHasNothingToConfirm();
    void printEndsWithoutAPage();
};

void TestPrintNoPrinter::noPrinterIsFound() {
    // The print server named by CUPS_SERVER does not exist.
    QCOMPARE(QPrinterInfo::availablePrinterNames(), QStringList{});
}

void TestPrintNoPrinter::choiceHasNothingToConfirm() {
    platform::PrinterChoiceDialog choice;
    auto* combo = choice.findChild<QComboBox*>();
    QVERIFY(combo != nullptr);
    QCOMPARE(combo->count(), 0);
    int acceptButtons = 0;
    for (QPushButton* b : choice.findChildren<QPushButton*>()) {
        if (b->text() == QStringLiteral("Aceptar")) {
            ++acceptButtons;
            QVERIFY(!b->isEnabled());
        }
    }
    QCOMPARE(acceptButtons, 1);
}

void TestPrintNoPrinter::printEndsWithoutAPage() {
    int pages = 0;
    ChoiceDriver driver(ChoiceDriver::Press::Accept);
    platform::PrintOnePage("Talvero: Imprimiento Recibo", [&](page::PageSurface&) { ++pages; });
    QCOMPARE(driver.choicesSeen, 1);
    QVERIFY(!driver.acceptEnabled);
    QCOMPARE(pages, 0);
    QCOMPARE(driver.otherModals, QStringList{});
}

QTEST_MAIN(TestPrintNoPrinter)
#include "test_print_no_printer.moc"
