#include "app/DisplayCheck.h"
#include "app/Talvero.h"
#include "form/ReciboDeApertura.h"
#include "platform/SettingsStore.h"
#include "resources/links/Enlaces.h"
#include "salida/Modulo.h"
#include "salida/Ordenes.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

// A list emitted from the command line takes the form's opening values as its template.
CRecibo PlantillaDeLista() {
    QCoreApplication::setOrganizationName(QString::fromStdString(enlaces::Empresa()));
    const platform::SettingsStore ajustes;
    return ReciboDeApertura(ajustes);
}

} // namespace

int main(int argc, char** argv) {
    // The command line runs without a window, so before any display is needed. Its module
    // is loaded only when there are arguments to look at.
    if (argc > 1) {
        QString problema;
        const salida::Modulo* modulo = salida::CargarModulo(&problema);
        if (modulo == nullptr) {
            std::fprintf(stderr, "talvero: %s\n", qPrintable(problema));
            return 1;
        }
        if (const auto estado = modulo->ordenes.LineaDeOrdenes(argc, argv, &PlantillaDeLista))
            return *estado;
    }
    StartupDisplayCheck display; // no display: one Spanish line and status 1
    CTalveroApp app(argc, argv);
    display.Started();
    app.InitInstance();
    return 0;
}
