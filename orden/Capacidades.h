// The program's table of commands: each capability declared in a file of its own.
#pragma once

#include "orden/Capacidad.h"

namespace orden {

Capacidad ExportarRegistro();     // OrdenRegistro.cpp
Capacidad EmitirLista();          // OrdenLista.cpp
Capacidad RemesaDeLista();        // OrdenRemesa.cpp
Capacidad ImportarDevoluciones(); // OrdenCobros.cpp
Capacidad PendientesDeCobro();    // OrdenCobros.cpp
Capacidad RemesaDeDevueltos();    // OrdenCobros.cpp
Capacidad VerificarRegistro();    // OrdenVerificar.cpp
Capacidad CopiarRegistro();       // OrdenVerificar.cpp
Capacidad EnviarVerifactu();      // OrdenVerifactu.cpp

// Every capability, in the order of --help and of the rules' checks.
const Tabla& TablaDelPrograma();

} // namespace orden
