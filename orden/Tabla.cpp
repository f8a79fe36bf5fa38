#include "orden/Capacidades.h"

namespace orden {

const Tabla& TablaDelPrograma() {
    static const Tabla tabla{
        ExportarRegistro(), EmitirLista(), RemesaDeLista(), VerificarRegistro(), EnviarVerifactu(),
    };
    return tabla;
}

} // namespace orden
