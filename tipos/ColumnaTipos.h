// One tax's list in the "Tipos impositivos" window: its items in text order, as the form's
// list shows them, an edit to type a new one with "Añadir", and "Quitar" for the selected
// one. A typed item that does not qualify is refused with the reason shown under the edit.
#pragma once

#include "receipt/TiposImpositivos.h"

#include <QGroupBox>

#include <string>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tipos {

class ColumnaTipos : public QGroupBox {
    Q_OBJECT

public:
    ColumnaTipos(Impuesto impuesto, QWidget* parent);

    void Poner(const std::vector<std::string>& items);
    // The items in the order shown.
    std::vector<std::string> Items() const;

    // Adds the typed item, or says why not.
    void Anadir();
    // Removes the selected item; "0" stays.
    void Quitar();

protected:
    // Enter in the edit adds its item, and goes no further: it must not close the window.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Avisar(const QString& motivo);

    Impuesto impuesto_;
    QListWidget* lista_;
    QLineEdit* nuevo_;
    QPushButton* quitar_;
    QLabel* motivo_;
};

} // namespace tipos
