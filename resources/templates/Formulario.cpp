// Template 102, the receipt form: 423 x 246 dialog units. The rows are in template order,
// which is also the Tab order among the rows marked kTabStop. Positions: x, y, width,
// height in dialog units.
#include "resources/templates/Plantillas.h"
#include "resources/templates/Recursos.h"

namespace plantillas {

namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using namespace res;

constexpr ControlKind Edit = ControlKind::Edit;
constexpr ControlKind List = ControlKind::DropList;
constexpr ControlKind Button = ControlKind::Button;
constexpr ControlKind Label = ControlKind::Label;
constexpr ControlKind Frame = ControlKind::Frame;

constexpr unsigned Tab = platform::kTabStop;
constexpr unsigned Right = platform::kAlignRight;
constexpr unsigned Center = platform::kAlignCenter;
constexpr unsigned ReadOnly = platform::kReadOnly;
constexpr unsigned Digits = platform::kDigitsOnly;
constexpr unsigned Sorted = platform::kSorted;
constexpr unsigned Upper = platform::kUppercase;
constexpr unsigned Default = platform::kDefaultButton;
constexpr unsigned Picture = platform::kPicture;
constexpr unsigned None = platform::kNoFlags;

constexpr ControlTemplate kControlesFormulario[] = {
    {IDC_CONCEPTO1, Edit, "", {5, 49, 170, 14}, Tab},
    {IDC_EUROS1, Edit, "", {215, 49, 40, 14}, Tab | Right},
    {IDC_CONCEPTO2, Edit, "", {5, 63, 170, 14}, Tab},
    {IDC_EUROS2, Edit, "", {215, 63, 40, 14}, Tab | Right},
    {IDC_CONCEPTO3, Edit, "", {5, 77, 170, 14}, Tab},
    {IDC_EUROS3, Edit, "", {215, 77, 40, 14}, Tab | Right},
    {IDC_CONCEPTO4, Edit, "", {5, 91, 170, 14}, Tab},
    {IDC_EUROS4, Edit, "", {215, 91, 40, 14}, Tab | Right},
    {IDC_CONCEPTO5, Edit, "", {5, 105, 169, 14}, Tab},
    {IDC_EUROS5, Edit, "", {215, 105, 40, 14}, Tab | Right},
    {IDC_IVA, List, "", {125, 120, 48, 119}, Tab | Sorted | Right},
    {IDC_RE, List, "", {125, 134, 48, 99}, Tab | Sorted | Right},
    {IDC_IRPF, List, "", {125, 148, 48, 91}, Tab | Sorted | Right},
    {IDC_DIRECCION, Edit, "", {41, 180, 289, 15}, Tab},
    {IDC_PAGADOR1, Edit, "", {15, 206, 150, 14}, Tab},
    {IDC_PAGADOR2, Edit, "", {15, 221, 150, 14}, Tab},
    {IDC_COBRADOR1, Edit, "", {178, 206, 150, 14}, None},
    {IDC_COBRADOR2, Edit, "", {178, 221, 150, 14}, None},
    {IDC_NUMERO, Edit, "", {6, 17, 42, 12}, None},
    {IDC_LOCALIDAD, Edit, "", {49, 17, 105, 12}, Center},
    {IDC_DIA, Edit, "", {268, 16, 16, 13}, Digits},
    {IDC_MES, List, "", {285, 16, 62, 139}, Upper},
    {IDC_ANIO, Edit, "", {346, 16, 28, 13}, Digits},
    {IDOK, Button, "&Imprimir", {342, 210, 68, 10}, Tab},
    {IDC_BORRAR_TODO, Button, "&Borrar Todo", {342, 220, 68, 10}, Tab},
    {IDCANCEL, Button, "&Cancelar", {342, 230, 68, 10}, Tab},
    {IDC_IVA_EUROS, Edit, "", {215, 119, 40, 14}, ReadOnly | Right},
    {IDC_RE_EUROS, Edit, "", {215, 133, 40, 14}, ReadOnly | Right},
    {IDC_BANNER, Button, "Publicidad", {259, 35, 160, 143}, Tab | Picture},
    {0, Label, "Dirección", {4, 183, 31, 8}, None},
    {0, Label, "Concepto", {39, 36, 32, 8}, None},
    {IDC_IMPORTE, Edit, "", {377, 16, 40, 14}, ReadOnly | Right},
    {IDC_TOTAL_EUROS, Edit, "", {215, 163, 40, 14}, ReadOnly | Right},
    {0, Frame, "", {4, 31, 253, 148}, None}, // concept, tax and total rows
    {0, Frame, "", {4, 158, 253, 21}, None}, // the total row
    {0, Frame, "", {4, 31, 253, 17}, None},  // the column headings
    {0, Frame, "Cobrador", {175, 196, 155, 43}, None},
    {0, Frame, "Pagador", {12, 196, 155, 43}, None},
    {0, Frame, "Número", {4, 7, 46, 25}, None},
    {0, Frame, "Localidad", {48, 7, 109, 25}, None},
    {0, Frame, "Fecha", {266, 7, 111, 25}, None},
    {0, Frame, "Importe", {375, 7, 44, 25}, None},
    {0, Label, "€", {231, 37, 8, 8}, None},
    {IDC_IRPF_EUROS, Edit, "", {215, 147, 40, 14}, ReadOnly | Right},
    {0, Label, "IVA", {76, 123, 12, 8}, None},
    {0, Label, "RE", {76, 136, 11, 8}, None},
    {0, Label, "IRPF ", {76, 150, 19, 8}, None},
    {0, Label, "Total", {13, 165, 17, 8}, None},
    {IDC_PESETAS1, Edit, "", {175, 49, 40, 14}, Right},
    {IDC_PESETAS2, Edit, "", {175, 63, 40, 14}, Right},
    {IDC_PESETAS3, Edit, "", {175, 77, 40, 14}, Right},
    {IDC_PESETAS4, Edit, "", {175, 91, 40, 14}, Right},
    {IDC_PESETAS5, Edit, "", {175, 105, 40, 14}, Right},
    {IDC_IVA_PESETAS, Edit, "", {175, 119, 40, 14}, ReadOnly | Right},
    {IDC_RE_PESETAS, Edit, "", {175, 133, 40, 14}, ReadOnly | Right},
    {IDC_TOTAL_PESETAS, Edit, "", {175, 163, 40, 14}, ReadOnly | Right},
    {IDC_IRPF_PESETAS, Edit, "", {175, 147, 40, 14}, ReadOnly | Right},
    {IDC_VER_PESETAS, Button, "Ocultar Pts", {174, 35, 43, 12}, Default},
    {IDC_COLOR, List, "", {363, 179, 48, 57}, None},
    {IDC_RELLENO, List, "", {363, 194, 48, 42}, None},
    {0, Label, "Color", {334, 183, 17, 8}, None},
    {0, Label, "Relleno", {334, 198, 25, 8}, None},
    {IDC_VENCIMIENTO, Edit, "", {157, 17, 108, 12}, Center},
    {0, Frame, "Vencimiento", {156, 7, 111, 25}, None},
};

constexpr std::string_view kIva[] = {"0", "4", "7", "16"};
constexpr std::string_view kRe[] = {"0", "0,5", "1", "1,75", "4"};
constexpr std::string_view kIrpf[] = {"0", "15", "18"};
constexpr std::string_view kMeses[] = {"enero",      "febrero", "marzo",     "abril",
                                       "mayo",       "junio",   "julio",     "agosto",
                                       "septiembre", "octubre", "noviembre", "diciembre"};
constexpr std::string_view kColores[] = {"AZUL", "GRIS", "MARRÓN", "VERDE"};
constexpr std::string_view kRellenos[] = {"LINEAS", "SOLIDO"};

constexpr platform::ListContents kListas[] = {
    {IDC_IVA, kIva},   {IDC_RE, kRe},         {IDC_IRPF, kIrpf},
    {IDC_MES, kMeses}, {IDC_COLOR, kColores}, {IDC_RELLENO, kRellenos},
};

constexpr platform::DialogTemplate kFormulario{
    IDD_TALVERO_DIALOG,
    // The distributor's web address follows at run time (the form adds it).
    "Talvero    Gratuito    Cortesia de ",
    423,
    246,
    "MS Sans Serif",
    8,
    kControlesFormulario,
    kListas,
};

} // namespace

const platform::DialogTemplate& Formulario() {
    return kFormulario;
}

} // namespace plantillas
