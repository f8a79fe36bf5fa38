#include "register/EstadoCobroSql.h"

namespace registro {

QString EstadoSql(const QDate& dia) {
    // The last change in force by that day, by its date and, within a day, as recorded; a
    // remittance is collected from its collection date on, or at once where it was not kept.
    return QStringLiteral(
               "(CASE WHEN recibos.anulado IS NOT NULL THEN '%1' ELSE coalesce(("
               "SELECT CASE c.estado WHEN 'devuelto' THEN '%2' WHEN 'cobrado' THEN '%3' ELSE "
               "coalesce((SELECT CASE WHEN rr.cobro IS NULL OR rr.cobro <= '%7' THEN '%3' "
               "ELSE '%4' END FROM remesas_recibo rr WHERE rr.recibo = c.recibo AND rr.remesa = "
               "c.remesa), '%3') END FROM cambios_cobro c WHERE c.recibo = recibos.id AND "
               "c.fecha <= '%7' AND c.estado <> 'deshecho' AND NOT EXISTS (SELECT 1 FROM "
               "cambios_cobro d WHERE d.deshace = c.id) ORDER BY c.fecha DESC, c.id DESC "
               "LIMIT 1), CASE WHEN recibos.seguimiento = 1 THEN '%5' ELSE '%6' END) END)")
        .arg(NombreEstado(Estado::Anulado), NombreEstado(Estado::Devuelto),
             NombreEstado(Estado::Cobrado), NombreEstado(Estado::EnRemesa),
             NombreEstado(Estado::Pendiente), NombreEstado(Estado::SinSeguimiento),
             dia.toString(Qt::ISODate));
}

} // namespace registro
