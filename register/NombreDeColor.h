// The way back from a stored receipt to the form's lists, for "Copiar al formulario": the
// colour name that gives a frame colour, and the fill name that gives a fill flag.
#pragma once

#include "receipt/Recibo.h"

#include <string>

namespace registro {

// "AZUL", "GRIS", "MARRÓN" or "VERDE": the name whose colour this is. A colour that no name
// gives reads "AZUL", whose colour is also what any unknown name prints.
std::string NombreDeColor(ColorRef color);

// "SOLIDO" for a solid fill, "LINEAS" for cross-hatched.
std::string NombreDeRelleno(std::int32_t solido);

} // namespace registro
