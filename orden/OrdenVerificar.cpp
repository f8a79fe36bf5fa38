// "--verificar-registro": every invoicing record's huella and link recomputed, by the module.
#include "orden/Capacidades.h"
#include "salida/Ordenes.h"

namespace orden {

namespace {

int Verificar(const Leidas&, const Entorno& entorno) {
    return entorno.ordenes.VerificarRegistro();
}

} // namespace

Capacidad VerificarRegistro() {
    Capacidad c;
    c.opciones = {
        {"--verificar-registro", nullptr,
         "recalcula la huella y el encadenamiento de cada registro\nde facturación "
         "(VERI*FACTU) y nombra el primero que no\ncoincide; sale con 0 si todos coinciden"},
    };
    c.ejecutar = &Verificar;
    return c;
}

} // namespace orden
