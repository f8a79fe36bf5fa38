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

// The version of the remittance file, key AcreedorVersionRemesa: "pain.008.001.08", the
// version every bank must accept since November 2023 and the default (the key absent, or
// holding anything else), or "pain.008.001.02", which banks accept at their discretion.
inline constexpr char kRemesa08[] = "pain.008.001.08";
inline constexpr char kRemesa02[] = "pain.008.001.02";
std::string LeerVersionRemesa(const platform::SettingsStore& store);
void EscribirVersionRemesa(platform::SettingsStore& store, const std::string& version);

} // namespace sepa
