// What the print path calls once a receipt has left the program: the job was handed to
// the printer, or the PDF file closed. A cancelled or failed print calls nothing.
#pragma once

#include <QString>

class CRecibo;
class QWidget;

namespace registro {

struct Facturacion;

// Records the receipt in the register at Registro::Ubicacion(). `comoSeRelleno` is the
// record as the form filled it, BEFORE it was drawn (drawing rewrites its percentage
// texts). `destino` is the printer's name or the PDF's full path.
//
// Never throws and never stops the print: when the register cannot be opened or written,
// the user is told once per run of the program, in a message (over `parent`) that names the
// file and the reason and, for a damaged file, where it was set aside. True when the
// receipt was recorded.
bool AnotarEmitido(const CRecibo& comoSeRelleno, const QString& destino, QWidget* parent);

// The same, into the register at `ruta`.
bool AnotarEmitidoEn(const QString& ruta, const CRecibo& comoSeRelleno, const QString& destino,
                     QWidget* parent);

// With VERI*FACTU: records the receipt and its alta in the register at `ruta`, in one
// transaction, before the receipt leaves. Empty when recorded, else the Spanish message for
// the user (naming the file and the reason): the receipt must not leave.
QString AnotarFacturaEn(const QString& ruta, const CRecibo& comoSeRelleno, const QString& destino,
                        const Facturacion& facturacion);

// Shows `texto` about the register unless a message about it was already shown in this run:
// a non-modal warning named "avisoRegistro" over `parent`, or standard error without a GUI.
// True when it was shown.
bool AvisarUnaVez(const QString& texto, QWidget* parent);

// The message about the register at `ruta`: `motivo` is the reason, `apartado` where a
// damaged file was set aside (or empty), `anotado` whether the receipt was recorded anyway.
QString TextoDelAviso(const QString& ruta, const QString& motivo, const QString& apartado,
                      bool anotado);

namespace detail {
// Lets a test see a second message: forgets that one was shown, and closes the store.
void OlvidarAviso();
} // namespace detail

} // namespace registro
