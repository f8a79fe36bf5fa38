// The form of a text that searches compare: accents stripped and case folded, so that
// "jose" finds "JOSÉ" and "pena" or "peña" find "PEÑA". SQLite's own LIKE folds only
// ASCII letters, so the register stores this form next to the texts and searches in it.
#pragma once

#include <QString>

namespace registro {

QString NormalizarBusqueda(const QString& texto);

} // namespace registro
