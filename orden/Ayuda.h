// The usage line and --help, made from the table of capabilities.
#pragma once

#include "orden/Capacidad.h"

#include <QString>

namespace orden {

// "Uso: talvero [...]", one line, ending in a line break.
QString Uso(const Tabla& tabla);

// The usage line, every option with its help lines, the exit statuses and then `notas`, the
// capabilities' own paragraphs.
QString Ayuda(const Tabla& tabla, const QStringList& notas);

} // namespace orden
