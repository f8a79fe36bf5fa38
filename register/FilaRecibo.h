// One receipt as one row of the table `recibos`, both ways.
//
// The row keeps the record exactly as the form filled it, before it was drawn (the drawing
// rewrites the percentage texts), so that drawing a record read back gives the same page:
//  - amounts are INTEGER ten-thousandths of a euro, NULL when the amount is not valid; a
//    not-valid amount still prints its value, so `no_validos` keeps each one's status and
//    value ("importe3=I:-50000 importe_iva=N:0"); NULL when every amount is valid;
//  - `fecha` is yyyy-mm-dd, NULL for a date that is not valid (it prints the same whatever
//    its parts were); the form's time of day, 01:01:01, is given back on reading;
//  - `color` is the frame colour as the record holds it, 0x00BBGGRR, and `relleno` the fill
//    flag (1 solid, 0 cross-hatched);
//  - the logo strip is not kept: the print command never asks for it, and a record read back
//    has none.
#pragma once

#include "receipt/Recibo.h"

#include <QString>
#include <QStringList>

class QSqlQuery;
class QSqlRecord;
class QVariant;

namespace registro {

// The record's columns, in the order of the insert.
const QStringList& ColumnasRecibo();

// The text the searches look in: number, payer, collector, place, address and concepts,
// normalised.
QString TextoDeBusqueda(const CRecibo& recibo);

// Binds every column of ColumnasRecibo() as ":columna" on a prepared insert, plus :total.
void EnlazarRecibo(QSqlQuery& query, const CRecibo& recibo);

// Whether a stored amount reads as one: NULL or an integer. A file edited by hand may hold
// text ('12,50') or a real number there, which no conversion turns into the right money.
bool EsImporte(const QVariant& valor);
// The first amount column of the row that holds no amount, or empty when all do.
QString ImporteIlegible(const QSqlRecord& fila);

// The record a row holds (a row selected with at least ColumnasRecibo()). Check the row
// with ImporteIlegible() first: such an amount reads as zero here.
CRecibo ReciboDeFila(const QSqlRecord& fila);

} // namespace registro
