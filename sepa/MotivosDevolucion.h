// The reason codes the banks give when a direct debit is rejected or returned (the ISO 20022
// external code set), what each means for the creditor in Spanish, and whether the receipt may
// be presented again. Standard C++.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace sepa {

struct MotivoDevolucion {
    std::string_view codigo;      // "AM04"
    std::string_view significado; // "Saldo insuficiente"
    // Whether presenting the debit again, to the same account under the same mandate, can
    // succeed and is allowed. Not where the account is wrong, closed, blocked or does not
    // take debits, where there is no valid mandate, where the debtor died, where the debtor's
    // bank refuses this creditor, or where the debit was a duplicate already collected.
    bool reintentable;
};

// The codes this program explains, ordered by code.
std::span<const MotivoDevolucion> MotivosDevolucion();

// The Spanish meaning of a code as the bank writes it (any case, spaces around); for a code
// not in the table, "Motivo «XX» sin descripción" so that the user still sees the code.
std::string SignificadoMotivo(std::string_view codigo);

// Whether the receipt may be collected again. A code not in the table is not known to
// forbid it: the user decides, with its code in sight.
bool PermiteReintento(std::string_view codigo);

} // namespace sepa
