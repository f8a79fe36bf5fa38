// The program's dialog templates and strings, by resource number (Recursos.h).
#pragma once

#include "platform/DialogTemplate.h"

#include <string_view>

namespace plantillas {

// Template 102: the receipt form, with its list contents.
const platform::DialogTemplate& Formulario();
// Template 100: the about box.
const platform::DialogTemplate& Acerca();

// A string resource; "" for a number that names none.
std::string_view Cadena(int id);

} // namespace plantillas
