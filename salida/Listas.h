// "Emitir lista de recibos": every receipt of a spreadsheet's list at once, in a window that
// the module makes.
#pragma once

#include "salida/Ventana.h"

#include <functional>

class CRecibo;
class QWidget;

namespace salida {

class Listas {
public:
    virtual ~Listas();

    // A new window, not yet shown, whose rows take what the list does not say from
    // `plantilla` (the form's receipt as it stands).
    virtual Ventana Abrir(QWidget* parent, std::function<CRecibo()> plantilla) = 0;
};

} // namespace salida
