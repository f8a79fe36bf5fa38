// "--emitir-lista": a spreadsheet's list of receipts checked, or emitted to one output, by the
// module.
#include "orden/Capacidades.h"
#include "receipt/Recibo.h"
#include "salida/Ordenes.h"

namespace orden {

namespace {

constexpr const char* kSalidasDeLista[] = {"--comprobar", "--pdf", "--carpeta-pdf", "--impresora"};

// One output, or none beside an addition that writes one of its own (the remittance).
QString ComprobarLista(const Leidas& leidas, bool ampliada) {
    int salidas = 0;
    for (const char* salida : kSalidasDeLista)
        salidas += leidas.Tiene(salida) ? 1 : 0;
    if (ampliada ? salidas > 1 : salidas != 1)
        return QStringLiteral("con --emitir-lista, indique una y solo una de --comprobar, --pdf, "
                              "--carpeta-pdf o --impresora.");
    return {};
}

int Emitir(const Leidas& leidas, const Entorno& entorno) {
    salida::PedidoLista pedido;
    pedido.lista = leidas.Valor("--emitir-lista");
    pedido.comprobar = leidas.Tiene("--comprobar");
    pedido.pdf = leidas.Valor("--pdf");
    pedido.carpetaPdf = leidas.Valor("--carpeta-pdf");
    pedido.impresora = leidas.Valor("--impresora");
    entorno.ampliarLista(pedido);
    return entorno.ordenes.EmitirLista(pedido, entorno.plantilla());
}

} // namespace

Capacidad EmitirLista() {
    return {.opciones = {{"--emitir-lista", "LISTA.csv",
                          "emite los recibos de una lista de una hoja de cálculo\n(una fila por "
                          "recibo), sin abrir ninguna ventana, con\nuna de estas opciones:"},
                         {"--comprobar", nullptr,
                          "solo comprueba la lista: los errores y avisos de cada\nfila salen por "
                          "la salida de errores"},
                         {"--pdf", "SALIDA.pdf", "un PDF con una página por recibo"},
                         {"--carpeta-pdf", "CARPETA", "un PDF por recibo en CARPETA"},
                         {"--impresora", "NOMBRE", "un trabajo de impresión en la cola NOMBRE"}},
            .alternativas = true,
            .sinOrden = "falta --emitir-lista LISTA.csv.",
            .comprobar = &ComprobarLista,
            .paginas = true,
            .ejecutar = &Emitir};
}

} // namespace orden
