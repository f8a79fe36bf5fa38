// The huella of a record: the SHA-256 of a text made of the record's identifying fields and
// the previous record's huella, in upper-case hexadecimal. Each record carries the huella
// of the one before, so changing, removing or inserting any record breaks every later one.
#pragma once

#include "verifactu/Registro.h"

#include <string>
#include <string_view>

namespace verifactu {

// The text that is hashed: name=value pairs joined by "&", in the order the tax agency
// fixes, each value with its surrounding spaces removed, an absent one left empty.
std::string TextoHuella(const RegistroAlta& registro);
std::string TextoHuella(const RegistroAnulacion& registro);

// SHA-256 of the text's UTF-8 bytes, 64 upper-case hexadecimal digits.
std::string Sha256Hex(std::string_view texto);

std::string CalcularHuella(const Registro& registro);

// Links a new record after `anterior` (or as the first of the chain when there is none)
// and fills in its huella. The record's own fields must be complete.
void Encadenar(Registro& nuevo, const Registro* anterior);

} // namespace verifactu
