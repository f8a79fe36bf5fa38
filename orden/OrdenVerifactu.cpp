// "--verifactu-enviar": the pending VERI*FACTU records sent to the tax agency, by the module.
#include "orden/Capacidades.h"
#include "salida/Ordenes.h"

namespace orden {

namespace {

int Enviar(const Leidas&, const Entorno& entorno) {
    return entorno.ordenes.EnviarVerifactu();
}

QString NotaDeVerifactu(salida::Ordenes&) {
    return QStringLiteral("--verifactu-enviar lee la contraseña del certificado de la variable de "
                          "entorno\nTALVERO_CLAVE_CERTIFICADO. Sale con 0 cuando no queda nada "
                          "pendiente ni rechazado.\n");
}

} // namespace

Capacidad EnviarVerifactu() {
    return {.opciones = {{"--verifactu-enviar", nullptr,
                          "envía a la AEAT los registros VERI*FACTU pendientes,\nsin abrir ninguna "
                          "ventana; cada rechazo se dice en\nla salida de errores"}},
            .nota = &NotaDeVerifactu,
            .ejecutar = &Enviar};
}

} // namespace orden
