// Who has paid: a receipt's collection state on a given day, worked out from what the
// register keeps of it (whether its collection is followed, whether it was cancelled, and the
// changes recorded: the remittances it went in, the returns the bank reported, the payments
// marked by hand). A pure function, so the window, the export and the list of debts agree.
#pragma once

#include <QDate>
#include <QString>

#include <vector>

namespace registro {

enum class Estado { Pendiente, SinSeguimiento, EnRemesa, Cobrado, Devuelto, Anulado };

// As the export and the window write it: "Pendiente", "Sin seguimiento", "En remesa"...
QString NombreEstado(Estado estado);

struct CambioCobro {
    enum class Tipo { EnRemesa, Devuelto, Cobrado };
    Tipo tipo = Tipo::EnRemesa;
    QDate fecha;    // the day it happened: the remittance made, the return, the payment
    QDate cobro;    // EnRemesa: the collection date; invalid where it was not kept
    QString motivo; // Devuelto: the bank's reason code
};

struct HechosCobro {
    bool seguimiento = true; // recorded from the version that follows collection on
    bool anulado = false;
    // In the order they were recorded; a payment marked by hand and then undone is not here.
    std::vector<CambioCobro> cambios;
};

struct EstadoCobro {
    Estado estado = Estado::Pendiente;
    QDate fecha;    // since when, or for en remesa the collection date; invalid if not known
    QString motivo; // devuelto: the reason code
};

// The state on `dia`. A cancelled receipt is anulado. Otherwise the last change that had
// happened by `dia` decides (by its date; two of one day in the order recorded): a remittance
// makes the receipt en remesa until its collection date and cobrado from that day on (a
// remittance whose collection date was not kept counts as collected); a return makes it
// devuelto, so a refund after the collection turns cobrado into devuelto; a payment by hand
// makes it cobrado; and a new remittance after a return makes it en remesa again. Without
// any, it is pendiente, or sin seguimiento when it was recorded before collection was followed.
EstadoCobro EstadoEn(const HechosCobro& hechos, const QDate& dia);

// Whether the receipt is owed on that day: pendiente or devuelto.
bool Debido(Estado estado);

} // namespace registro
