// The register as CSV for the accountant's Spanish spreadsheet: UTF-8 with a BOM, ";"
// between fields, "," before the decimals, amounts in euros with two decimals, dates as
// dd/mm/yyyy, one header row. A field is quoted when it holds ";", quotes or a line break,
// and a text that begins with "=", "+", "-" or "@" gets an apostrophe in front, so that no
// spreadsheet runs it as a formula.
#pragma once

#include "register/Filtro.h"

#include <QSqlDatabase>
#include <QString>

#include <cstdint>

namespace registro {

// One text field as written to the file.
QString CampoCsv(const QString& texto);
// An amount in ten-thousandths as euros with two decimals, half away from zero: "-23,18".
QString EurosCsv(std::int64_t diezmilesimas);

// Writes the rows of `base` that `filtro` selects, in the order `ordenSql` (an ORDER BY
// clause, or empty for newest first), to `archivo`, replacing it only once it is complete.
// False with `error` (Spanish) set when it cannot.
bool ExportarCsv(const QSqlDatabase& base, const Filtro& filtro, const QString& ordenSql,
                 const QString& archivo, QString& error, qint64* filas = nullptr);

} // namespace registro
