// "Fecha de cobro": asks the day the bank is to collect a remittance, proposing the first
// one it can, and refuses a day that is not a collection day with the reason and the first
// valid day after it.
#pragma once

#include <QDate>

#include <optional>

class QWidget;

namespace lista {

// The day chosen, or nothing when the user cancels. `hoy` is today's date.
std::optional<QDate> PedirFechaCobro(QWidget* padre, const QDate& hoy);

} // namespace lista
