// "Datos del acreedor": the window where the user gives the data the bank needs to collect
// receipts by direct debit (name, SEPA creditor identifier, IBAN, optional BIC). It reads
// them from the settings when it opens, and writes them only once they are right.
#pragma once

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace sepa {

class DatosAcreedor : public QDialog {
    Q_OBJECT

public:
    explicit DatosAcreedor(QWidget* parent = nullptr);

    // Checks the four fields; a fault is shown in a message box, its field gets the focus
    // and the window stays open. Right data is written to the settings at once.
    void accept() override;

private:
    QLineEdit* nombre_;
    QLineEdit* identificador_;
    QLineEdit* iban_;
    QLineEdit* bic_;
    QComboBox* version_; // the remittance file's version
};

// Shows the window over `parent`, built the first time it is asked for and kept while it is
// open.
void MostrarDatosAcreedor(QWidget* parent);

} // namespace sepa
