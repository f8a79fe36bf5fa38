// What a receipt puts on a page, as comparable text: every call the renderer makes on a
// recording surface, and the words of the same page drawn into a real PDF.
#pragma once

#include "receipt/Recibo.h"

#include <QString>
#include <QStringList>

namespace registrotest {

// Draws a copy of `recibo` (drawing changes the record) and lists each operation with its
// geometry, pens, brushes, fonts, colours and texts.
QStringList Llamadas(CRecibo recibo);

// Draws a copy of `recibo` into the PDF `archivo` and reads its words back with pdftotext,
// each with its box in tenths of a millimetre.
QStringList PalabrasPdf(CRecibo recibo, const QString& archivo);

// Rows in `recibos` of the register file at `ruta`, read through a connection of its own;
// -1 when it cannot be read.
int ContarFilas(const QString& ruta);

} // namespace registrotest
