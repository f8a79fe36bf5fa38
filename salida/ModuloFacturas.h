// Inside the module only: a receipt from the form that leaves as an invoice (VERI*FACTU),
// as salida::Emitidos offers it: checked and given its QR code before the print dialog
// opens, recorded with its alta before it leaves.
#pragma once

#include "salida/Emitidos.h"

#include <QString>

class CRecibo;
class QWidget;

namespace salida {

Factura PrepararFacturaDelFormulario(CRecibo& rec);
void PonerQrDelFormulario(CRecibo& rec);
bool AnotarFacturaDelFormulario(const CRecibo& comoSeRelleno, const QString& destino,
                                QWidget* parent);
QString GuardarFacturaPdfDelFormulario(const CRecibo& conQr, const CRecibo& comoSeRelleno,
                                       const QString& ruta, const QString& titulo);

} // namespace salida
