// "VERI*FACTU": the window where the user switches on invoices with VERI*FACTU records and
// gives the issuer, the certificate that signs in to the tax agency, the agency's service and
// how a receipt at IVA 0 is declared. It reads the settings when it opens and writes them
// only once they are right. Once on, the mode lasts until 31 December: switching it off
// keeps it until then (VerifactuHasta) and the window says so. A build without the
// producer's NIF offers the agency's test service only.
#pragma once

#include "receipt/TiposImpositivos.h"
#include "verifactu/Ajustes.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

namespace verifactu {

class DatosVerifactu : public QDialog {
    Q_OBJECT

public:
    // `listasNuevas` is called with today's rates when the window wrote them.
    explicit DatosVerifactu(QWidget* parent = nullptr,
                            std::function<void(const tipos::Listas&)> listasNuevas = {});

    // Checks the fields; a fault is shown in a message box naming the field, which gets the
    // focus, and the window stays open. Right data is written to the settings at once.
    void accept() override;

private:
    void ElegirCertificado();
    void Actualizar(); // the notices that follow the check box

    Ajustes guardados_;
    bool listasOriginales_ = false;
    std::function<void(const tipos::Listas&)> listasNuevas_;
    QCheckBox* activo_;
    QLabel* avisoBaja_;
    QLineEdit* nif_;
    QLineEdit* nombre_;
    QLineEdit* certificado_;
    QComboBox* entorno_;
    QComboBox* iva0_;
    QWidget* ofertaTipos_; // today's rates offered: a note and the check box
    QCheckBox* tiposVigentes_;
};

// Shows the window over `parent`, built the first time it is asked for and kept while it is
// open.
void MostrarDatosVerifactu(QWidget* parent,
                           std::function<void(const tipos::Listas&)> listasNuevas = {});

} // namespace verifactu
