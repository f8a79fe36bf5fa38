// "--exportar-registro": the register written as the accountant's CSV, by the module.
#include "orden/Capacidades.h"
#include "salida/Ordenes.h"

namespace orden {

namespace {

int Exportar(const Leidas& leidas, const Entorno& entorno) {
    return entorno.ordenes.ExportarRegistro(
        {leidas.Valor("--exportar-registro"), leidas.Valor("--desde"), leidas.Valor("--hasta")});
}

QString NotaDelRegistro(salida::Ordenes& ordenes) {
    return QStringLiteral("El registro se lee sin cambiarlo. ARCHIVO.csv solo se reemplaza cuando "
                          "la exportación\ntermina bien. El registro de recibos emitidos está "
                          "en:\n  %1\n")
        .arg(ordenes.RutaDelRegistro());
}

} // namespace

Capacidad ExportarRegistro() {
    return {.opciones = {{"--exportar-registro", "ARCHIVO.csv",
                          "escribe los recibos emitidos en ARCHIVO.csv, para una\nhoja de cálculo "
                          "(UTF-8, \";\" entre campos, \",\" decimal),\nsin abrir ninguna ventana"},
                         {"--desde", "AAAA-MM-DD",
                          "con --exportar-registro: solo recibos de esa fecha\no posteriores; con "
                          "--remesa-devueltos, devueltos\ndesde ese día"},
                         {"--hasta", "AAAA-MM-DD",
                          "con --exportar-registro: solo recibos de esa fecha\no anteriores; con "
                          "--remesa-devueltos, devueltos\nhasta ese día; con --pendientes, el día "
                          "en que\nse deben"}},
            .sinOrden = "--desde y --hasta solo valen con --exportar-registro.",
            .nota = &NotaDelRegistro,
            .ejecutar = &Exportar};
}

} // namespace orden
