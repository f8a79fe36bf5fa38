#include "resources/links/Enlaces.h"

#include "amounts/moneda.h"
#include "resources/links/Direccion.h"

#include <string_view>

namespace enlaces {

namespace {

// The stored forms, made with tools/scramble_link. Nothing else in the program spells the
// distributor's addresses: the captions are taken from the decoded links.
constexpr std::string_view kWeb =
    "218567298737358912391031309038798560328248107517658036809817186560737697951";
constexpr std::string_view kCorreo =
    "797816967507619897653407638946397952328248107517658036809817186560737697";
// The distributor's name, the settings store's company key.
constexpr std::string_view kEmpresa = "394818737137248626498407766";

} // namespace

std::string Web()
{
    return moneda::ObtenerEnlace(kWeb);
}

std::string Correo()
{
    return moneda::ObtenerEnlace(kCorreo);
}

std::string Banner()
{
    return moneda::ObtenerEnlace(kWeb);
}

std::string Empresa()
{
    return moneda::ObtenerEnlace(kEmpresa);
}

std::string DireccionWeb()
{
    return DireccionDeEnlace(Web());
}

std::string DireccionCorreo()
{
    return DireccionDeEnlace(Correo());
}

} // namespace enlaces
