#include "amounts/EnlaceClave.h"
#include "amounts/moneda.h"

namespace moneda {

std::string ObtenerEnlace(std::string_view stored)
{
    // An incomplete last group carries no character and is ignored.
    std::string link;
    link.reserve(stored.size() / 3);
    for (std::size_t grupo = 0; grupo < stored.size() / 3; ++grupo) {
        const auto selector = static_cast<unsigned char>(stored[3 * grupo]);
        const int unidades = static_cast<unsigned char>(stored[3 * grupo + 1]);
        const int decenas = static_cast<unsigned char>(stored[3 * grupo + 2]);
        const int termino = enlace::SignoClave(grupo) * enlace::Clave(selector, grupo);
        const int codigo = unidades + 10 * decenas - termino - enlace::kDesplazamiento;
        // Any byte pair gives some byte: reduce modulo 256 into 0..255.
        link.push_back(static_cast<char>(static_cast<unsigned char>(((codigo % 256) + 256) % 256)));
    }
    return link;
}

} // namespace moneda
