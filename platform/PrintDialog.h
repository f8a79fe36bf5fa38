// "Imprimir recibo": where the receipt goes (an installed printer or, always last, a PDF
// file), that printer's own settings through "Propiedades...", and a preview of the page
// exactly as the chosen destination will get it.
//
// The print server is only ever asked from a worker thread with a bounded wait: the dialog
// opens at once showing "Buscando impresoras…", "Cancelar" works at every moment, and a
// server that does not answer is reported in the dialog, where a PDF can still be chosen.
// Every dialog starts on the system's default printer; nothing is remembered from one
// print to the next. There is no page range, copy count or print-to-file: a receipt is one
// copy of one page.
#pragma once

#include "platform/PagePreview.h"
#include "platform/PdfExport.h"
#include "platform/PrinterQueries.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QLabel;
class QPrinter;
class QPushButton;

namespace platform {

class PrintDialog final : public QDialog {
    Q_OBJECT
    Q_PROPERTY(bool buscando READ Searching)

public:
    enum class Destination { Printer, PdfFile };

    explicit PrintDialog(DrawPage draw, QWidget* parent = nullptr);
    ~PrintDialog() override;

    Destination Chosen() const;
    // The chosen printer with the settings made for it; null for a PDF file.
    std::shared_ptr<QPrinter> Printer() const { return printer_; }
    // The page of a PDF, as the preview showed it.
    QPageLayout PdfLayout() const { return PdfPageLayout(listing_.defaultMargins); }

    // True until the printers have been listed (or the server has not answered).
    bool Searching() const { return searching_; }

    static QString PdfEntry() { return QStringLiteral("Archivo PDF"); }

private:
    void Listed(PrinterListing listing);
    void ServerSilent();
    void DestinationChanged();
    void PrinterReady(const QString& name, std::shared_ptr<QPrinter> printer);
    void EditSettings();
    void ShowPreview();
    void UpdateButtons();

    DrawPage draw_;
    PrinterListing listing_;
    std::shared_ptr<QPrinter> printer_;
    bool searching_ = true;
    bool settingUp_ = false;
    QComboBox* destination_ = nullptr;
    QPushButton* settings_ = nullptr;
    QPushButton* accept_ = nullptr;
    QLabel* status_ = nullptr;
    PagePreview* preview_ = nullptr;
};

} // namespace platform
