#include "salida/Modulo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QStringList>

namespace salida {

namespace {

using PuntoDeEntrada = const Modulo* (*)();

} // namespace

QStringList RutasDelModulo() {
    QStringList rutas;
    // The program's own file, also before the application object exists (the command line
    // is read first).
    const QFileInfo programa(QFile::symLinkTarget(QStringLiteral("/proc/self/exe")));
    if (!programa.filePath().isEmpty())
        rutas << programa.dir().filePath(QStringLiteral(TALVERO_MODULO_RELATIVO));
    // A bare name: the dynamic loader first looks among the libraries already loaded.
    rutas << QStringLiteral(TALVERO_MODULO_NOMBRE);
    return rutas;
}

const Modulo* CargarDesde(const QStringList& rutas, QString* problema) {
    QStringList motivos;
    for (const QString& ruta : rutas) {
        // Never unloaded: the windows it opens live as long as the form.
        QLibrary modulo(ruta);
        if (!modulo.load()) {
            motivos << modulo.errorString();
            continue;
        }
        if (const auto entrada = reinterpret_cast<PuntoDeEntrada>(modulo.resolve(kPuntoDeEntrada)))
            return entrada();
        motivos << QStringLiteral("%1 no es el módulo de Talvero").arg(ruta);
    }
    if (problema != nullptr) {
        *problema = QStringLiteral("No se puede cargar el módulo de impresión y registro de "
                                   "Talvero (%1): reinstale el programa.")
                        .arg(motivos.join(QStringLiteral("; ")));
    }
    return nullptr;
}

const Modulo* CargarModulo(QString* problema) {
    static const Modulo* cargado = nullptr;
    static QString fallo;
    if (cargado == nullptr && fallo.isEmpty())
        cargado = CargarDesde(RutasDelModulo(), &fallo);
    if (cargado == nullptr && problema != nullptr)
        *problema = fallo;
    return cargado;
}

} // namespace salida
