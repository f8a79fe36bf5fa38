// The program's string table.
#include "resources/templates/Plantillas.h"
#include "resources/templates/Recursos.h"

namespace plantillas {

std::string_view Cadena(int id) {
    switch (id) {
    case res::IDS_ACERCA:
        return "Acerca de Talvero";
    default:
        return {};
    }
}

} // namespace plantillas
