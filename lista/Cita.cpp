#include "lista/Cita.h"

namespace lista {

QString Cita(const QString& celda) {
    constexpr qsizetype kMaximo = 60;
    QString cita = celda.left(kMaximo);
    // Never half of a character outside the Basic Multilingual Plane.
    if (cita.size() < celda.size() && cita.back().isHighSurrogate())
        cita.chop(1);
    for (QChar& c : cita)
        if (c.category() == QChar::Other_Control && c != u'\t' && c != u'\n')
            c = QChar::ReplacementCharacter;
    if (cita.size() < celda.size())
        cita += u'…';
    return cita;
}

} // namespace lista
