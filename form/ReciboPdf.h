// A filled receipt record saved as a PDF file: the page the print command would send to a
// printer, written to a file the user names. Shared by every command that saves a receipt,
// so that all of them propose the same name, start in the same folder and say the same
// thing when the file cannot be written.
#pragma once

#include "receipt/ReciboTexto.h"

#include <QString>

class CRecibo;
class QWidget;

// The PDF's title, as recibo::TituloPdf makes it.
QString TituloReciboPdf(const CRecibo& rec);

// Writes `rec` as a one-page PDF to `path`, asking nothing and showing nothing. Empty on
// success, else the Spanish message naming the file and the reason. `rec` is drawn from a
// copy, so the caller's record can be drawn again.
QString EscribirReciboPdf(const CRecibo& rec, const QString& path);

// Asks for the file name, proposing "Recibo <número> <aaaa-mm-dd>.pdf" in the folder of the
// last PDF saved (or the Documents folder), writes the PDF and remembers its folder.
// A file that cannot be written gets a warning with the reason. Returns the file written,
// or empty when the user cancelled or nothing could be written.
QString GuardarReciboPdf(QWidget* parent, const CRecibo& rec);

// The same for a receipt that leaves as an invoice (VERI*FACTU): `conQr` is written under a
// temporary name, `comoSeRelleno` recorded with its alta, and only then the file put at its
// name. A failure gets a warning with the reason; nothing is recorded then.
QString GuardarFacturaPdf(QWidget* parent, const CRecibo& conQr, const CRecibo& comoSeRelleno);
