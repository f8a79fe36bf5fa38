// The receipt's ways out of the program (the printer, a PDF file, the preview), the register
// that records them, the lists of receipts, the command line's work and the sending of the
// invoicing records, as the program
// reaches them: through one small interface each, handed out by a module that is loaded the
// first time one of them is used. A user who types a receipt and closes the form never loads
// printing, the PDF writer or SQLite.
#pragma once

#include <QStringList>

class QString;

namespace salida {

class Impresion;
class VistaPrevia;
class Emitidos;
class Listas;
class Ordenes;
class Envios;

// What the module hands out: one interface for each thing it does, each living as long as
// the process.
struct Modulo {
    Impresion& impresion;
    VistaPrevia& vistaPrevia;
    Emitidos& emitidos;
    Listas& listas;
    Ordenes& ordenes;
    Envios& envios;
};

// The module, loaded on the first call and kept. When it cannot be loaded: nothing, and
// `problema` (when given) gets the Spanish message that says which file is missing or
// damaged.
const Modulo* CargarModulo(QString* problema = nullptr);

// The same from the first of `rutas` that loads, for a caller that knows where to look.
const Modulo* CargarDesde(const QStringList& rutas, QString* problema);

// Where the module is looked for: next to the program as installed (../lib/talvero), then
// among the libraries already loaded (a program that links it, as the tests do).
QStringList RutasDelModulo();

// The module's entry point, exported by it under this name.
inline constexpr char kPuntoDeEntrada[] = "talvero_salida";

} // namespace salida
