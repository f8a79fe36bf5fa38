#include "resources/links/Direccion.h"

#include <cstddef>

namespace enlaces {

namespace {

bool EmpiezaPor(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != prefix[i])
            return false;
    }
    return true;
}

} // namespace

std::string DireccionDeEnlace(std::string_view link)
{
    constexpr std::string_view kMailto = "mailto:";
    if (EmpiezaPor(link, kMailto)) {
        std::string_view address = link.substr(kMailto.size());
        return std::string(address.substr(0, address.find('?')));
    }
    constexpr std::string_view kSeparador = "://";
    if (const std::size_t at = link.find(kSeparador); at != std::string_view::npos)
        link.remove_prefix(at + kSeparador.size());
    while (!link.empty() && link.back() == '/')
        link.remove_suffix(1);
    return std::string(link);
}

} // namespace enlaces
