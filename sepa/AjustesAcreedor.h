// The creditor's data, kept in the user's settings next to the form's: section "Aplicacion
// Talvero", keys AcreedorNombre, AcreedorIdentificador, AcreedorIban and AcreedorBic.
#pragma once

#include "sepa/Adeudo.h"

#include <string>

namespace platform {
class SettingsStore;
}

namespace sepa {

Acreedor LeerAcreedor(const platform::SettingsStore& store);
// Writes the four keys as given (normalise first); does not flush.
void EscribirAcreedor(platform::SettingsStore& store, const Acreedor& acreedor);

// The creditor a remittance is written for, read from the settings and checked. `error`,
// when set, is the Spanish sentence for the user (or the command line's exit status 2):
// what is missing or wrong, and where to put it right.
struct AcreedorCargado {
    Acreedor acreedor;
    std::string error;
};
AcreedorCargado CargarAcreedor(const platform::SettingsStore& store);

} // namespace sepa
