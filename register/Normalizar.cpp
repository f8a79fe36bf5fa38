#include "register/Normalizar.h"

#include "amounts/SinAcentos.h"

namespace registro {

QString NormalizarBusqueda(const QString& texto) {
    // Decomposed, "Ñ" is "N" followed by a combining tilde; dropping the marks leaves the
    // base letters.
    return QStringView(moneda::SinAcentos(texto.toStdU16String(),
                                          moneda::Descomposicion::Compatibilidad,
                                          moneda::Marcas::Todas))
        .toString()
        .toCaseFolded();
}

} // namespace registro
