// Each interface's one out-of-line function, so that its type and its table of functions
// are emitted here only: the program and the module then share one of each.
#include "salida/Emitidos.h"
#include "salida/Envios.h"
#include "salida/Impresion.h"
#include "salida/Listas.h"
#include "salida/Ordenes.h"
#include "salida/VistaPrevia.h"

namespace salida {

Impresion::~Impresion() = default;
VistaPrevia::~VistaPrevia() = default;
Emitidos::~Emitidos() = default;
Listas::~Listas() = default;
Ordenes::~Ordenes() = default;
Envios::~Envios() = default;

} // namespace salida
