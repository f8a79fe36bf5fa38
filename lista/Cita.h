// How a message quotes a cell of a list: a cell may hold megabytes, and the message goes to
// standard error and into the window.
#pragma once

#include <QString>

namespace lista {

// At most the first 60 characters of `celda`, then "…" when it is longer; a control
// character other than a tab or a line break shows as "�", so that no message sends one to a
// terminal. The caller puts the quotation marks around it.
QString Cita(const QString& celda);

} // namespace lista
