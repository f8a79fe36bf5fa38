// Inside the module only: each interface of salida/Modulo.h as the module implements it, one
// file each, put together by the module's entry point (ModuloSalida.cpp).
#pragma once

#include "salida/Modulo.h"

namespace salida {

Impresion& ImpresionDelModulo();
VistaPrevia& VistaPreviaDelModulo();
Emitidos& EmitidosDelModulo();
Listas& ListasDelModulo();
Ordenes& OrdenesDelModulo();
Envios& EnviosDelModulo();

} // namespace salida
