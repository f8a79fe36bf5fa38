// "Tipos impositivos": the three percentage lists of the form side by side, each one
// editable, with Spain's rates of today or the program's original lists one click away.
// It shows and returns the lists only; storing them and refreshing the form is the
// caller's part.
#pragma once

#include "receipt/TiposImpositivos.h"

#include <QDialog>

#include <array>

namespace tipos {

class ColumnaTipos;

class DialogoTipos : public QDialog {
    Q_OBJECT

public:
    DialogoTipos(const Listas& listas, QWidget* parent);

    // The lists as they stand, in the order shown.
    Listas Elegidas() const;

private:
    void Poner(const Listas& listas);

    std::array<ColumnaTipos*, 3> columnas_{}; // children of the dialog
};

} // namespace tipos
