// Template 100, the about box: 247 x 70 dialog units. The mail and web buttons get the
// distributor's addresses as captions when the box opens.
#include "resources/templates/Plantillas.h"
#include "resources/templates/Recursos.h"

namespace plantillas {

namespace {

using platform::ControlKind;
using platform::ControlTemplate;

constexpr ControlTemplate kControlesAcerca[] = {
    {0, ControlKind::Icon, ":/icons/talvero-32.png", {11, 17, 21, 20}, platform::kNoFlags},
    {0, ControlKind::Label, "Talvero Versión 2.3", {40, 10, 89, 8}, platform::kNoPrefix},
    {0, ControlKind::Label, "Recibos de pago en euros", {40, 25, 88, 8}, platform::kNoFlags},
    {res::IDOK,
     ControlKind::Button,
     "Aceptar",
     {133, 7, 107, 14},
     platform::kTabStop | platform::kDefaultButton},
    {res::IDC_CORREO, ControlKind::Button, "", {133, 24, 107, 14}, platform::kTabStop},
    {res::IDC_WEB, ControlKind::Button, "", {133, 41, 107, 14}, platform::kTabStop},
    {0,
     ControlKind::Label,
     "Software gratuito con publicidad",
     {7, 48, 111, 14},
     platform::kNoFlags},
};

constexpr platform::DialogTemplate kAcerca{
    res::IDD_ACERCA, "Acerca de Talvero", 247, 70, "MS Sans Serif", 8, kControlesAcerca, {},
};

} // namespace

const platform::DialogTemplate& Acerca() {
    return kAcerca;
}

} // namespace plantillas
