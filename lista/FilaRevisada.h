// One row of a list of receipts after its rules: the receipt it gives and what is wrong
// with it.
#pragma once

#include "receipt/Recibo.h"

#include <QString>
#include <QStringList>

#include <map>

namespace lista {

struct FilaRevisada {
    qsizetype fila = 0;     // as the spreadsheet numbers it (the header is row 1)
    CRecibo recibo;         // as the form would fill it, before drawing
    bool conNumero = false; // the list gave the number; otherwise it is given one
    QStringList errores;    // "Fila 7, Importe 1: ..."; the row cannot be emitted
    QStringList avisos;     // emitted all the same
    // Texts of columns that other parts of the program read, by the column's title.
    std::map<QString, QString> extra;

    bool Valida() const { return errores.isEmpty(); }
};

} // namespace lista
