// Texts without their accents, for the comparisons that should not tell "Peña" from "pena":
// a list's column titles and colour names, the register's search and the banks' character
// set. Each of them chooses how far a character is taken apart and which marks go; case is
// theirs too. Standard C++, with Unicode's own data (amounts/TablaSinAcentos.h).
#pragma once

#include <string>
#include <string_view>

namespace moneda {

// How a character is taken apart: by its canonical decomposition, which only parts a letter
// from its accents ("Á" -> "A" and an acute accent), or by its compatibility decomposition
// too, which also writes plainly the letters of "ª", "ﬁ", "Ａ" or "²" ("a", "fi", "A", "2").
enum class Descomposicion { Canonica, Compatibilidad };

// Which combining marks then go: those that take no room of their own (accents, tildes,
// cedillas), or every one (the vowel signs of Indic scripts, enclosing circles too).
enum class Marcas { SinEspacio, Todas };

// `texto` with each character decomposed as Unicode's normalisation forms D or KD do and
// those marks dropped: "Peña" -> "Pena", "Ç" -> "C". Letters that no decomposition takes
// apart stay ("ß", "Ø", "Ł"), and so does an unpaired surrogate. UTF-16, as the windows and
// the register hold their texts: a QString takes the result back through a QStringView,
// since QString::fromStdU16String would read a leading U+FEFF or U+FFFE as a byte-order mark.
// Spacing marks that stay keep the order they were written in, where a normalisation would
// sort the few that have a combining class.
std::u16string SinAcentos(std::u16string_view texto, Descomposicion descomposicion, Marcas marcas);

} // namespace moneda
