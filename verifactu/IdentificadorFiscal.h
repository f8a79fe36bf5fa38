// Spanish tax identifiers as the AEAT writes them: a person's NIF (DNI number and letter), a
// foreigner's NIE (X, Y or Z, seven digits and letter) and an organisation's NIF, still
// called CIF (organisation letter, seven digits and a control digit or letter). A record
// with a mistyped identifier is accepted "with errors" and must be corrected later, so the
// program catches the typing mistakes that the check character reveals before issuing.
// Standard C++.
#pragma once

#include <string>
#include <string_view>

namespace verifactu {

enum class ClaseIdentificador { Ninguna, Nif, Nie, Cif };

// Upper case, spaces, hyphens and dots removed: " 12.345.678-z " gives "12345678Z".
std::string NormalizarIdentificador(std::string_view texto);

// The kind of a normalised identifier whose check character is right; Ninguna when the text
// is not one or its check character is wrong.
ClaseIdentificador ClasificarIdentificador(std::string_view normalizado);

// Why an identifier (as typed) cannot be used, as a Spanish sentence; empty when it can.
std::string MotivoIdentificador(std::string_view texto);

} // namespace verifactu
