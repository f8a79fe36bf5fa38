// "Vista previa": the receipt alone, large, in a window of its own that the module makes.
#pragma once

#include "salida/Ventana.h"

#include <functional>

class QWidget;

namespace salida {

class VistaPrevia {
public:
    virtual ~VistaPrevia();

    // A new preview window, not yet shown, whose "Imprimir…" and "Guardar como PDF…" call
    // back.
    virtual VentanaVistaPrevia Abrir(QWidget* parent, std::function<void()> imprimir,
                                     std::function<void()> guardarPdf) = 0;
};

} // namespace salida
