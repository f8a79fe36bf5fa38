// "Recibos → Devoluciones del banco…": the bank's report chosen in a file dialog, applied to
// the register (register/ImportarDevoluciones.h), and a window that says what was applied,
// already applied and not applied, each entry not applied with its reason.
#pragma once

#include <QString>

class QDialog;
class QWidget;

namespace registro {

// Whether anything changed in the register at `rutaRegistro`.
bool ImportarDevolucionesDelBanco(const QString& rutaRegistro, QWidget* parent);

// The same for the report at `archivo`, without the file dialog; the result window is
// returned open (objectName "resultadoDevoluciones"), for the caller or a test to close.
QDialog* MostrarImportacion(const QString& rutaRegistro, const QString& archivo, QWidget* parent,
                            bool* cambios = nullptr);

} // namespace registro
