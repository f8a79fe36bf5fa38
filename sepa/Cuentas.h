// The bank codes of a direct debit: IBAN, BIC and the SEPA creditor identifier. Standard
// C++ only.
//
// Every check takes a code as a person types it (spaces anywhere, any case) and returns ""
// when it is right, or the Spanish reason when it is not, written to follow a field's name:
// "IBAN: los dígitos de control no son correctos." The caller names the field (and the row).
#pragma once

#include <string>
#include <string_view>

namespace sepa {

// The code without spaces, upper-cased: the form in which it is checked and written.
std::string NormalizarCodigo(std::string_view codigo);

// Country known to the SEPA schemes, length for that country, digits only where the
// country's IBAN has digits only, and the ISO 13616 check digits (mod 97). A Spanish IBAN
// also has the two check digits of its 20-digit account checked.
std::string ComprobarIban(std::string_view iban);

// Eight or eleven characters: four letters of the bank, two of the country, two letters or
// digits of the place, and optionally three of the branch. An empty BIC is refused here;
// where it is optional the caller does not ask.
std::string ComprobarBic(std::string_view bic);

// The BIC of the debtor's bank for an account: the BIC as above when it is given; when it is
// not, required only of the SEPA countries and territories outside the European Economic
// Area (Switzerland, the United Kingdom and the Channel Islands, Andorra, Albania...), whose
// banks are always named by their BIC. An IBAN that is not right needs nothing here.
std::string ComprobarBicDeCuenta(std::string_view iban, std::string_view bic);

// Whether the account is at a bank of one of those SEPA countries outside the European
// Economic Area, by its IBAN's country: their debits also carry the debtor's address. An
// IBAN that is not right is not.
bool CuentaFueraDelEee(std::string_view iban);

// "ES", two check digits, a three-character business code (usually "000") and the NIF: the
// check digits are ISO 7064 mod 97-10 over the NIF followed by "ES00", the business code
// left out. Creditors of other SEPA countries are checked the same way with their own
// national identifier.
std::string ComprobarIdentificadorAcreedor(std::string_view identificador);

} // namespace sepa
