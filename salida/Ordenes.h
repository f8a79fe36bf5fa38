// The command line's work that needs the module (the register, printing, SQL).
#pragma once

#include <functional>
#include <optional>

class CRecibo;

namespace salida {

class Ordenes {
public:
    virtual ~Ordenes();

    // The command line for scripts (see registro::LineaDeOrdenes); a list emitted from it
    // takes what it does not say from `plantilla`.
    virtual std::optional<int> LineaDeOrdenes(int argc, char** argv,
                                              std::function<CRecibo()> plantilla) = 0;
};

} // namespace salida
