#include "orden/Capacidades.h"

namespace orden {

const Tabla& TablaDelPrograma() {
    // clang-format off
    static const Tabla tabla{
        ExportarRegistro(),
        EmitirLista(),
        RemesaDeLista(),
        ImportarDevoluciones(),
        PendientesDeCobro(),
        RemesaDeDevueltos(),
        VerificarRegistro(),
        EnviarVerifactu(),
        CopiarRegistro(),
    };
    // clang-format on
    return tabla;
}

} // namespace orden
