// The program's command line, for scripts and backups:
//   talvero --exportar-registro ARCHIVO.csv [--desde aaaa-mm-dd] [--hasta aaaa-mm-dd]
//   talvero --help
// Runs before any window exists and needs no display. An argument that begins with "--" and
// is neither one of these nor an option of the toolkit ("-style", "--platform"...) is
// refused, with status 2, so that a typo in a script never opens the form; any other
// argument is none of its business and, as always, ignored.
#pragma once

#include <optional>

namespace registro {

// The exit status when the arguments are for the command line (it has then done the whole
// job, with its messages on standard output or standard error); nothing otherwise, and the
// program starts as usual.
std::optional<int> LineaDeOrdenes(int argc, char** argv);

} // namespace registro
