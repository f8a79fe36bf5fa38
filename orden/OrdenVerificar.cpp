// "--verificar-registro": every invoicing record's huella and link recomputed, by the module;
// "--copiar-registro": the desk's register copied to a server, by the module.
#include "orden/Capacidades.h"
#include "salida/Ordenes.h"

namespace orden {

namespace {

int Verificar(const Leidas&, const Entorno& entorno) {
    return entorno.ordenes.VerificarRegistro();
}

int Copiar(const Leidas& leidas, const Entorno& entorno) {
    return entorno.ordenes.CopiarRegistro(leidas.Valor("--copiar-registro"));
}

} // namespace

Capacidad VerificarRegistro() {
    return {
        .opciones =
            {{"--verificar-registro", nullptr,
              "recalcula la huella y el encadenamiento de cada registro\nde facturación "
              "(VERI*FACTU) y nombra el primero que no\ncoincide; sale con 0 si todos coinciden"}},
        .ejecutar = &Verificar};
}

Capacidad CopiarRegistro() {
    return {.opciones =
                {{"--copiar-registro", "URI",
                  "copia el registro de este equipo a un registro vacío\nen un servidor PostgreSQL "
                  "(postgresql://usuario@servidor/base),\ntodo o nada; el archivo no cambia"}},
            .ejecutar = &Copiar};
}

} // namespace orden
