// The command line's work, behind salida::Ordenes: each request handed to the part of the
// module that does it, in that part's own terms.
#include "envio/OrdenEnviar.h"
#include "lista/OrdenLista.h"
#include "register/CopiarRegistro.h"
#include "register/OrdenCobros.h"
#include "register/OrdenExportar.h"
#include "register/OrdenVerificar.h"
#include "register/Registro.h"
#include "register/UriPostgres.h"
#include "salida/Ordenes.h"
#include "salida/PartesDelModulo.h"

namespace salida {

namespace {

class OrdenesModulo final : public Ordenes {
public:
    QString RutaDelRegistro() override {
        return registro::UriSinClave(registro::Registro::Ubicacion());
    }

    int ExportarRegistro(const PedidoExportacion& pedido) override {
        return registro::ExportarDesdeLineaDeOrdenes({pedido.archivo, pedido.desde, pedido.hasta});
    }

    int EmitirLista(const PedidoLista& pedido, const CRecibo& plantilla) override {
        lista::OrdenDeLista orden;
        orden.lista = pedido.lista;
        orden.comprobar = pedido.comprobar;
        orden.pdf = pedido.pdf;
        orden.carpetaPdf = pedido.carpetaPdf;
        orden.impresora = pedido.impresora;
        if (pedido.remesa) {
            orden.remesa = pedido.remesa->ruta;
            orden.cobro = pedido.remesa->cobro;
            orden.version = pedido.remesa->version;
        }
        return lista::EmitirDesdeLineaDeOrdenes(orden, plantilla);
    }

    int ImportarDevoluciones(const QString& informe) override {
        return registro::ImportarDevolucionesDesdeLineaDeOrdenes(informe);
    }

    int Pendientes(const QString& archivo, const QString& hasta) override {
        return registro::PendientesDesdeLineaDeOrdenes(archivo, hasta);
    }

    int RemesaDevueltos(const PedidoDevueltos& pedido) override {
        return registro::RemesaDevueltosDesdeLineaDeOrdenes({pedido.remesa, pedido.cobro,
                                                             pedido.desde, pedido.hasta,
                                                             pedido.version, pedido.gastos});
    }

    int VerificarRegistro() override {
        return registro::VerificarDesdeLineaDeOrdenes(registro::Registro::Ubicacion());
    }
    int EnviarVerifactu() override { return envio::EnviarDesdeLineaDeOrdenes(); }
    int CopiarRegistro(const QString& uri) override {
        // Always the desk's own file: the settings may already name the server.
        return registro::CopiarDesdeLineaDeOrdenes(registro::Registro::RutaPorDefecto(), uri);
    }
};

} // namespace

Ordenes& OrdenesDelModulo() {
    static OrdenesModulo ordenes;
    return ordenes;
}

} // namespace salida
