// Sample direct debits for the remittance tests and benchmarks: a creditor and debtors with
// valid but fictitious bank codes, their check digits computed here, not by the program.
#pragma once

#include "sepa/Adeudo.h"

#include <cstdint>
#include <string>

namespace sample {

// A community of owners with a fictitious NIF, creditor identifier and IBAN.
sepa::Acreedor AcreedorEjemplo();

// A valid Spanish IBAN of a fictitious account numbered `n` at a fictitious bank.
std::string IbanFicticio(std::uint64_t n);

// The debit of receipt Varied(n) (a total above zero even where that receipt has none),
// with IBAN IbanFicticio(n), a mandate signed in 2020, and the four sequences in turn.
sepa::Adeudo AdeudoEjemplo(std::uint64_t n);

} // namespace sample
