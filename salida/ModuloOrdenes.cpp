// The command line's work, behind salida::Ordenes.
#include "lista/OrdenLista.h"
#include "receipt/Recibo.h"
#include "register/LineaDeOrdenes.h"
#include "salida/Ordenes.h"
#include "salida/PartesDelModulo.h"

namespace salida {

namespace {

class OrdenesModulo final : public Ordenes {
public:
    std::optional<int> LineaDeOrdenes(int argc, char** argv,
                                      std::function<CRecibo()> plantilla) override {
        return registro::LineaDeOrdenes(
            argc, argv, [&plantilla](const registro::OpcionesLista& opciones) {
                return lista::EmitirDesdeLineaDeOrdenes(opciones, plantilla());
            });
    }
};

} // namespace

Ordenes& OrdenesDelModulo() {
    static OrdenesModulo ordenes;
    return ordenes;
}

} // namespace salida
