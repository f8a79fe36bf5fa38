#include "app/DisplayCheck.h"
#include "app/Talvero.h"
#include "form/ReciboDeApertura.h"
#include "orden/Capacidades.h"
#include "orden/LineaDeOrdenes.h"
#include "platform/SettingsStore.h"
#include "resources/links/Enlaces.h"

#include <QCoreApplication>

namespace {

// A list emitted from the command line takes the form's opening values as its template.
CRecibo PlantillaDeLista() {
    const platform::SettingsStore ajustes;
    return ReciboDeApertura(ajustes);
}

} // namespace

int main(int argc, char** argv) {
    // The command line runs without a window, so before any display is needed. It loads the
    // module only when the arguments ask for one of its commands.
    if (argc > 1) {
        // Every command reads the user's settings (the register's server above all), not
        // only the list's.
        QCoreApplication::setOrganizationName(QString::fromStdString(enlaces::Empresa()));
        if (const auto estado =
                orden::LineaDeOrdenes(argc, argv, orden::TablaDelPrograma(), &PlantillaDeLista))
            return *estado;
    }
    StartupDisplayCheck display; // no display: one Spanish line and status 1
    CTalveroApp app(argc, argv);
    display.Started();
    app.InitInstance();
    return 0;
}
