// The module behind salida/Modulo.h: printing, the PDF writer, the preview, the register,
// the lists of receipts and the command line's work, with everything they load (Qt
// PrintSupport, Qt SQL and, through Qt's print plugin, the print server's library). The
// program loads it on first use and asks this entry point for its interfaces.
#include "salida/Modulo.h"
#include "salida/PartesDelModulo.h"

#include "register/PreguntaDeClave.h"

#include <QApplication>
#include <QtGlobal>

extern "C" Q_DECL_EXPORT const salida::Modulo* talvero_salida() {
    // Loaded by the windows: the register's server may ask for its password. The command line
    // never has a QApplication, and never asks.
    static const bool conPregunta = [] {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
            return false;
        registro::InstalarPreguntaDeClave(registro::PreguntarClaveConDialogo);
        return true;
    }();
    Q_UNUSED(conPregunta);
    static const salida::Modulo modulo{
        salida::ImpresionDelModulo(), salida::VistaPreviaDelModulo(), salida::EmitidosDelModulo(),
        salida::ListasDelModulo(),    salida::OrdenesDelModulo(),     salida::EnviosDelModulo(),
    };
    return &modulo;
}
