// The collection state of register/EstadoCobro.h as an SQL expression over a row of
// `recibos`, for the window's column, its filter and its total, which must not read every
// receipt's history into the program to show a page of rows. It gives NombreEstado()'s
// names and follows EstadoEn()'s rule; the tests hold the two side by side.
#pragma once

#include "register/EstadoCobro.h"

#include <QDate>
#include <QString>

namespace registro {

// The expression, for the state on `dia`.
QString EstadoSql(const QDate& dia);

} // namespace registro
