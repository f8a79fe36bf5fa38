#include "orden/Capacidades.h"

namespace orden {

const Tabla& TablaDelPrograma() {
    static const Tabla tabla{
        ExportarRegistro(),     EmitirLista(),       RemesaDeLista(),
        ImportarDevoluciones(), PendientesDeCobro(), RemesaDeDevueltos(),
    };
    return tabla;
}

} // namespace orden
