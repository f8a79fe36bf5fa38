// The printer choice of the print command: which printer, and that printer's own settings
// (paper, orientation) through its page set-up. There is deliberately no page range, copy
// count or print-to-file: a receipt is always one copy of one page, on paper.
//
// Every choice starts on the system's default printer; nothing is remembered from the
// previous print. With no printer installed the list is empty and there is nothing to
// confirm.
#pragma once

#include <QDialog>

#include <memory>

class QComboBox;
class QPrinter;
class QPushButton;

namespace platform {

class PrinterChoiceDialog final : public QDialog {
    Q_OBJECT

public:
    explicit PrinterChoiceDialog(QWidget* parent = nullptr);
    ~PrinterChoiceDialog() override;

    // The chosen printer with the settings made for it. Valid while the dialog lives.
    QPrinter& Printer() { return *printer_; }

private:
    void ChoosePrinter(const QString& name);
    void EditSettings();

    std::unique_ptr<QPrinter> printer_;
    QComboBox* printers_ = nullptr;
    QPushButton* settings_ = nullptr;
    QPushButton* accept_ = nullptr;
};

} // namespace platform
