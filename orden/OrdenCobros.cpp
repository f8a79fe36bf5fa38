// Who has paid, from the command line: "--importar-devoluciones" (the bank's report of returns
// applied to the register), "--pendientes" (the receipts owed on a day, as the export writes
// them) and "--remesa-devueltos" (the returned receipts collected again), all done by the
// module. The last two take options of the export and of the list's remittance too.
#include "orden/Capacidades.h"
#include "salida/Ordenes.h"

#include <QDate>

namespace orden {

namespace {

int Importar(const Leidas& leidas, const Entorno& entorno) {
    return entorno.ordenes.ImportarDevoluciones(leidas.Valor("--importar-devoluciones"));
}

int Pendientes(const Leidas& leidas, const Entorno& entorno) {
    return entorno.ordenes.Pendientes(leidas.Valor("--pendientes"), leidas.Valor("--hasta"));
}

QString ComprobarDevueltos(const Leidas& leidas, bool) {
    const QString cobro = leidas.Valor("--fecha-cobro");
    if (cobro.isEmpty())
        return QStringLiteral("con --remesa-devueltos, indique --fecha-cobro AAAA-MM-DD.");
    if (!QDate::fromString(cobro, QStringLiteral("yyyy-MM-dd")).isValid())
        return QStringLiteral("--fecha-cobro «%1» no es una fecha AAAA-MM-DD.").arg(cobro);
    return {};
}

int Devueltos(const Leidas& leidas, const Entorno& entorno) {
    return entorno.ordenes.RemesaDevueltos(
        {leidas.Valor("--remesa-devueltos"),
         QDate::fromString(leidas.Valor("--fecha-cobro"), QStringLiteral("yyyy-MM-dd")),
         leidas.Valor("--desde"), leidas.Valor("--hasta"), leidas.Valor("--version-remesa"),
         leidas.Valor("--gastos-devolucion")});
}

} // namespace

Capacidad ImportarDevoluciones() {
    return {.opciones = {{"--importar-devoluciones", "FICHERO.xml",
                          "aplica al registro el informe del banco de adeudos\ndevueltos o "
                          "rechazados (pain.002.001.03 o\ncamt.054.001.02); salida 1 si alguno no "
                          "se aplica,\n2 si el archivo no es un informe así"}},
            .ejecutar = &Importar};
}

Capacidad PendientesDeCobro() {
    return {.opciones = {{"--pendientes", "ARCHIVO.csv",
                          "escribe en ARCHIVO.csv, como --exportar-registro, los\nrecibos que se "
                          "deben (pendientes y devueltos) hoy o,\ncon --hasta, ese día"}},
            .comparte = {{"--hasta"}},
            .ejecutar = &Pendientes};
}

Capacidad RemesaDeDevueltos() {
    return {
        .opciones = {{"--remesa-devueltos", "REMESA.xml",
                      "con --fecha-cobro: una remesa nueva de los recibos\ndevueltos (con --desde "
                      "y --hasta, los devueltos esos\ndías); los devueltos por un motivo que no "
                      "permite\nvolver a cobrarlos quedan fuera; salida 2 si no\nqueda ninguno"},
                     {"--gastos-devolucion", "IMPORTE",
                      "con --remesa-devueltos: un recibo más por cada uno,\n«Gastos de devolución "
                      "del recibo N», por IMPORTE\neuros, en la misma remesa",
                      true}},
        .comparte = {{"--fecha-cobro", false}, {"--desde"}, {"--hasta"}, {"--version-remesa"}},
        .comprobar = &ComprobarDevueltos,
        .ejecutar = &Devueltos};
}

} // namespace orden
