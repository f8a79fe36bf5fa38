#include "register/NombreDeColor.h"

#include <array>

namespace registro {

std::string NombreDeColor(ColorRef color) {
    static constexpr std::array<const char*, 4> nombres{"AZUL", "GRIS", "MARRÓN", "VERDE"};
    for (const char* nombre : nombres)
        if (ColorDeNombre(nombre) == color)
            return nombre;
    return "AZUL";
}

std::string NombreDeRelleno(std::int32_t solido) {
    return solido != 0 ? "SOLIDO" : "LINEAS";
}

} // namespace registro
