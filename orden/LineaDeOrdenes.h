// The program's command line, for scripts and backups, read from the table of capabilities
// (orden/Capacidades.h); `talvero --help` lists them. Runs before any window exists and
// needs no display.
#pragma once

#include "orden/Capacidad.h"

#include <functional>
#include <optional>

class CRecibo;

namespace orden {

// The exit status when the arguments are for the command line (it has then done the whole
// job, with its messages on standard output or standard error); nothing otherwise, and the
// program starts as usual. The module is loaded only for a command, or for --help, which
// names the register's file. A list emitted from it takes what it does not say from
// `plantilla`.
std::optional<int> LineaDeOrdenes(int argc, char** argv, const Tabla& tabla,
                                  std::function<CRecibo()> plantilla);

} // namespace orden
