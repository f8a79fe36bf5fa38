#include "app/DisplayCheck.h"
#include "app/Talvero.h"
#include "register/LineaDeOrdenes.h"

int main(int argc, char** argv) {
    // The register's command line runs without a window, so before any display is needed.
    if (const auto salida = registro::LineaDeOrdenes(argc, argv))
        return *salida;
    StartupDisplayCheck display; // no display: one Spanish line and status 1
    CTalveroApp app(argc, argv);
    display.Started();
    app.InitInstance();
    return 0;
}
