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

// A receipt about to leave the program for the first time, with VERI*FACTU.
struct Factura {
    bool vigente = false; // the mode holds today: the receipt leaves with its alta
    QString motivo;       // why it cannot leave, saying where to put it right; empty if it can
};

class Emitidos {
public:
    virtual ~Emitidos();

    // With the mode on: `rec` checked as an invoice (type, percentages, date, its number not
    // used by the issuer) and its QR code put in it. Nothing with the mode off.
    virtual Factura PrepararFactura(CRecibo& rec) = 0;
    // The QR code alone, for a preview: no checks against the register.
    virtual void PonerQr(CRecibo& rec) = 0;
    // Records the receipt and its alta in one transaction, before it leaves. When it cannot,
    // the user has been told why (a message over `parent`) and it must not leave.
    virtual bool AnotarFactura(const CRecibo& comoSeRelleno, const QString& destino,
                               QWidget* parent) = 0;
    // The PDF of an invoice: `conQr` written under a temporary name beside `ruta`, recorded
    // as `comoSeRelleno` with its alta, then put at `ruta`. Empty on success, else the
    // Spanish message (and nothing was recorded, unless the message says so).
    virtual QString GuardarFacturaPdf(const CRecibo& conQr, const CRecibo& comoSeRelleno,
                                      const QString& ruta, const QString& titulo) = 0;

    // Records a receipt that left the program (see registro::AnotarEmitido); whether it was.
    virtual bool Anotar(const CRecibo& comoSeRelleno, const QString& destino, QWidget* parent) = 0;
    // "Recibos emitidos": a new window on the user's register, not yet shown.
    virtual VentanaEmitidos Abrir(AccionesRegistro acciones, QWidget* parent) = 0;
    // "Devoluciones del banco…": asks for the bank's report, applies it to the register and
    // shows what was applied and what was not. Whether anything changed.
    virtual bool ImportarDevoluciones(QWidget* parent) = 0;
    // "Registro compartido…": this desk's file or a register on a PostgreSQL server, chosen
    // and tested in a window over `parent`. Whether the register's location changed.
    virtual bool RegistroCompartido(QWidget* parent) = 0;
};

} // namespace salida
