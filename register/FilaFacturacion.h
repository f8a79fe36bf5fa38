// One invoicing record as one row of the table `registros_facturacion`, both ways.
//
//   id                  order of generation
//   recibo              the receipt's row in `recibos`; NULL when none
//   tipo                "alta" or "anulacion"
//   emisor, numero, fecha   IDEmisorFactura, NumSerieFactura, FechaExpedicionFactura
//                       (dd-mm-yyyy): the invoice issued, or the one cancelled
//   nombre_emisor, tipo_factura, descripcion_operacion, cuota_total, importe_total
//   subsanacion         1 for Subsanacion "S"; rechazo_previo "X" (alta after a refusal)
//   sin_registro_previo 1 for an anulación whose alta never reached the agency
//   destinatario_nombre, destinatario_nif   NULL for a simplified invoice (F2)
//   clave_regimen, calificacion, exencion, tipo_impositivo, base, cuota, tipo_recargo,
//   cuota_recargo       the one line of the tax breakdown a receipt has
//   anterior_emisor, anterior_numero, anterior_fecha, anterior_huella   the link to the
//                       previous record of the issuer's chain; NULL for the first
//   sistema_*           the SistemaInformatico block
//   fecha_hora_huso, huella
//   control             the program's own SHA-256 (hex) of every column above, see ControlDeFila
// and the sending state, the only columns ever updated:
//   estado              "pendiente", "aceptado", "aceptado_con_errores", "rechazado"
//   codigo, descripcion the agency's error code (0 none) and text
//   csv                 the submission's secure verification code
//   incidencia          1 once an attempt failed for a technical reason
//   avisado             1 once a refusal was reported to the user
//   enviado             UTC, ISO 8601, when the agency's answer was stored; NULL before
// Every text is exactly the text that was hashed and goes into the XML: an alta's empty
// fields are '' and an anulación's alta-only fields ''.
#pragma once

#include "register/RegistroFacturacion.h"

#include <QStringList>
#include <QVariant>

#include <functional>

class QSqlQuery;
class QSqlRecord;

namespace registro {

// The statements that create the table, its indexes and its triggers (IF NOT EXISTS), in
// SQLite's words or, with `postgres`, in PostgreSQL's (its triggers call functions).
QStringList EsquemaFacturacion(bool postgres = false);

// The columns of a record's fields, in the order of the insert (not the sending state).
const QStringList& ColumnasFacturacion();

// The program's own check of a row, beside the agency's huella, which leaves most fields out:
// SHA-256, in lowercase hex, of the columns of ColumnasFacturacion() from `recibo` to `huella`
// in that order (the record's type and huella included, `id` and the sending state not), each
// written as its UTF-8 text's length in bytes, ':' and the text, or "-" for NULL; numbers as
// their decimal text. `valor` gives a column's value by name.
QString ControlDeFila(const std::function<QVariant(const QString&)>& valor);

// Binds every column of ColumnasFacturacion() as ":columna", `control` computed from the
// others; `recibo` 0 binds NULL.
// False when the record cannot be stored as this table keeps it (an alta with other than one
// line of breakdown).
bool EnlazarFacturacion(QSqlQuery& query, const verifactu::Registro& registro, qint64 recibo);

// The record a row holds (selected with id, ColumnasFacturacion() and the state's columns).
RegistroFacturacion FacturacionDeFila(const QSqlRecord& fila);

} // namespace registro
