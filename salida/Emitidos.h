// The register of issued receipts, as the form reaches it: every receipt that leaves the
// program recorded, and the window "Recibos emitidos".
#pragma once

#include "salida/Ventana.h"

#include <functional>

class CRecibo;
class QString;
class QWidget;

namespace salida {

// What the register window's buttons do with the receipt selected, as it was first issued.
struct AccionesRegistro {
    std::function<void(const CRecibo&)> imprimir;
    std::function<void(const CRecibo&)> guardarPdf;
    std::function<void(const CRecibo&)> copiarAlFormulario;
};

class Emitidos {
public:
    virtual ~Emitidos();

    // Records a receipt that left the program (see registro::AnotarEmitido); whether it was.
    virtual bool Anotar(const CRecibo& comoSeRelleno, const QString& destino, QWidget* parent) = 0;
    // "Recibos emitidos": a new window on the user's register, not yet shown.
    virtual VentanaEmitidos Abrir(AccionesRegistro acciones, QWidget* parent) = 0;
    // "Devoluciones del banco…": asks for the bank's report, applies it to the register and
    // shows what was applied and what was not. Whether anything changed.
    virtual bool ImportarDevoluciones(QWidget* parent) = 0;
};

} // namespace salida
