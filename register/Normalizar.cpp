#include "register/Normalizar.h"

namespace registro {

QString NormalizarBusqueda(const QString& texto) {
    // Decomposed, "Ñ" is "N" followed by a combining tilde; dropping the marks leaves the
    // base letters.
    const QString descompuesto = texto.normalized(QString::NormalizationForm_KD);
    QString base;
    base.reserve(descompuesto.size());
    for (const QChar c : descompuesto) {
        const QChar::Category cat = c.category();
        if (cat == QChar::Mark_NonSpacing || cat == QChar::Mark_SpacingCombining ||
            cat == QChar::Mark_Enclosing)
            continue;
        base.append(c);
    }
    return base.toCaseFolded();
}

} // namespace registro
