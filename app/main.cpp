#include "app/Talvero.h"
#include "register/LineaDeOrdenes.h"

int main(int argc, char** argv) {
    if (const auto salida = registro::LineaDeOrdenes(argc, argv))
        return *salida;
    CTalveroApp app(argc, argv);
    app.InitInstance();
    return 0;
}
