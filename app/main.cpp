#include "app/DisplayCheck.h"
#include "app/Talvero.h"
#include "form/ReciboDeApertura.h"
#include "lista/OrdenLista.h"
#include "platform/SettingsStore.h"
#include "register/LineaDeOrdenes.h"
#include "resources/links/Enlaces.h"

#include <QCoreApplication>

namespace {

// A list from the command line takes the form's opening values as its template.
int EmitirLista(const registro::OpcionesLista& opciones) {
    QCoreApplication::setOrganizationName(QString::fromStdString(enlaces::Empresa()));
    const platform::SettingsStore ajustes;
    return lista::EmitirDesdeLineaDeOrdenes(opciones, ReciboDeApertura(ajustes));
}

} // namespace

int main(int argc, char** argv) {
    // The command line runs without a window, so before any display is needed.
    if (const auto salida = registro::LineaDeOrdenes(argc, argv, &EmitirLista))
        return *salida;
    StartupDisplayCheck display; // no display: one Spanish line and status 1
    CTalveroApp app(argc, argv);
    display.Started();
    app.InitInstance();
    return 0;
}
