// Reading the arguments against a table of capabilities, before anything runs.
#pragma once

#include "orden/Capacidad.h"

#include <QStringList>

namespace orden {

struct Lectura {
    bool nuestra = false; // some argument is for the command line
    bool ayuda = false;   // --help or -h
    Leidas leidas;
    const Capacidad* orden = nullptr; // the command asked for, once the rules hold
    QString error; // why the arguments cannot run (exit status 2); empty when they can
};

// `args` as the program got them, its own name first. The toolkit's options (-style fusion,
// --platform=offscreen…) are never ours and never unknown; any other argument that does not
// begin with "--" (a file that a desktop launcher passes) is none of our business.
Lectura Leer(const QStringList& args, const Tabla& tabla);

} // namespace orden
