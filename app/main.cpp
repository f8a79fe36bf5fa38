#include "app/DisplayCheck.h"
#include "app/Talvero.h"
#include "salida/Salida.h"

#include <cstdio>

int main(int argc, char** argv) {
    // The register's command line runs without a window, so before any display is needed.
    // Its module is loaded only when there are arguments to look at.
    if (argc > 1) {
        QString problema;
        salida::Salida* modulo = salida::Modulo(&problema);
        if (modulo == nullptr) {
            std::fprintf(stderr, "talvero: %s\n", qPrintable(problema));
            return 1;
        }
        if (const auto estado = modulo->LineaDeOrdenes(argc, argv))
            return *estado;
    }
    StartupDisplayCheck display; // no display: one Spanish line and status 1
    CTalveroApp app(argc, argv);
    display.Started();
    app.InitInstance();
    return 0;
}
