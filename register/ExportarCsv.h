// The register as CSV for the accountant's Spanish spreadsheet: UTF-8 with a BOM, ";"
// between fields, "," before the decimals, amounts in euros with two decimals, dates as
// dd/mm/yyyy, one header row. A field is quoted when it holds ";", quotes or a line break,
// and a text that begins with "=", "+", "-", "@", a tab or a carriage return, or with any
// of the first four after blanks that a spreadsheet trims, gets an apostrophe in front, so
// that no spreadsheet runs it as a formula.
#pragma once

#include "register/Filtro.h"

#include <QDate>
#include <QSqlDatabase>
#include <QString>

#include <cstdint>

namespace registro {

// One text field as written to the file.
QString CampoCsv(const QString& texto);
// An amount in ten-thousandths as euros with two decimals, half away from zero: "-23,18".
QString EurosCsv(std::int64_t diezmilesimas);

// Why `archivo` may not receive an export, in Spanish, or empty when it may: it must be a
// regular file or nothing (a symlink is followed), and never the register at `registro` or
// one of its journal files, whatever name it is reached by.
QString DestinoNoAdmitido(const QString& archivo, const QString& registro);

// Writes the rows of `base` that `filtro` selects, in the order `ordenSql` (an ORDER BY
// clause, or empty for newest first), to `archivo`, replacing it only once it is complete
// and written to the disk. A stored amount that is not an amount stops the export, naming
// the receipt and the column. False with `error` (Spanish) set when it cannot; `archivo` is
// then as it was.
// After "Total" come the receipt's collection state today (register/EstadoCobro.h): "Estado
// de cobro", "Fecha del estado" and "Motivo" (a return's code and meaning), which a list of
// receipts reads and ignores.
bool ExportarCsv(const QSqlDatabase& base, const Filtro& filtro, const QString& ordenSql,
                 const QString& archivo, QString& error, qint64* filas = nullptr);
// The same with the state on `dia`; with `soloDebidos`, only the receipts owed that day.
bool ExportarCsv(const QSqlDatabase& base, const Filtro& filtro, const QString& ordenSql,
                 const QString& archivo, QString& error, qint64* filas, const QDate& dia,
                 bool soloDebidos);

} // namespace registro
