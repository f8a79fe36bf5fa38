// A list whose receipts leave as invoices (VERI*FACTU): the mode and the issuer read from
// the settings, the register's numbers the issuer may not repeat, and the rows checked as
// the alta of each would be (invoice type, percentages, date, payer's NIF from the column
// "NIF del pagador" or "Pagador (2ª línea)"), each reason an error of its row. Without the
// mode, none of this runs and the column "NIF del pagador" is read and ignored.
#pragma once

#include "lista/Lista.h"

#include <optional>

namespace platform {
class SettingsStore;
}
namespace registro {
class Registro;
}

namespace lista {

// The mode as the settings say today; nothing when receipts leave without records. An
// installation without its number gets one now, kept in the settings.
std::optional<registro::Facturacion> FacturacionDeAjustes(platform::SettingsStore& ajustes);

// What the register says about numbers, for a list checked with or without `facturacion`.
NumerosDelRegistro NumerosParaLista(registro::Registro& registro,
                                    const std::optional<registro::Facturacion>& facturacion);

// Each row of `lista` (with lista.facturacion) checked as an invoice: a reason is an error
// of its row; a row that can leave gets its QR code.
void RevisarFacturas(ListaRevisada& lista);

} // namespace lista
