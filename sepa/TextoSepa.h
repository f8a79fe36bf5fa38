// Texts as the banks of the SEPA zone take them: letters a-z and A-Z, digits, the space and
// / - ? : ( ) . , ' +. Everything this program writes into a remittance goes through here.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace sepa {

// Whether `c` belongs to the SEPA character set.
bool EsCaracterSepa(char c);

// A UTF-8 text in the SEPA set: accents taken off ("Peña" -> "Pena", "Ç" -> "C", "º" ->
// "o"), letters without one spelt in a-z ("ß" -> "ss", "Æ" -> "AE", "Ø" -> "O", "Þ" ->
// "TH", "Ł" -> "L", "Đ" -> "D"...), "&" -> "+", any other character -> one space; spaces at
// both ends dropped. At most `limite` characters of the result are kept (it is ASCII, so a
// cut never falls inside one), and the spaces a cut leaves at the end go too.
std::string TextoSepa(std::string_view utf8, std::size_t limite = std::string::npos);

// The first character of a UTF-8 text that `admitido` refuses, whole (a byte of it would be
// unreadable alone); "" when all are admitted.
std::string PrimerCaracterNoAdmitido(std::string_view utf8, bool (*admitido)(char));

// The number of characters (code points) of a UTF-8 text, as a person counts them.
std::size_t Caracteres(std::string_view utf8);

// What the debtor reads on the bank statement: "Recibo N: " and the concept lines that are
// not empty, joined by " / ", in the SEPA set and cut to 140 characters at a word.
std::string InformacionRemesa(std::string_view numero, const std::vector<std::string>& conceptos);

} // namespace sepa
