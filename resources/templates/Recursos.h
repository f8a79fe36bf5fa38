// Numbers of the program's resources and of the controls of its two dialogs. The numbers
// are what the templates, the notification tables and the data exchange use; tools and
// tests find a control by its number as the widget's objectName ("1007").
#pragma once

namespace res {

// Dialog templates, strings, icon, pictures.
inline constexpr int IDD_ACERCA = 100;         // the about box
inline constexpr int IDS_ACERCA = 101;         // "Acerca de Talvero"
inline constexpr int IDD_TALVERO_DIALOG = 102; // the receipt form
inline constexpr int IDI_APLICACION = 128;     // the application icon
inline constexpr int IDB_BANNER = 129;         // the banner picture
inline constexpr unsigned IDM_ACERCA = 0x0010; // system-menu command of the about box

// Buttons every dialog shares.
inline constexpr int IDOK = 1;     // the form's "&Imprimir", the about box's "Aceptar"
inline constexpr int IDCANCEL = 2; // the form's "&Cancelar"

// The receipt form (template 102).
inline constexpr int IDC_DIRECCION = 1000;
inline constexpr int IDC_PAGADOR1 = 1001;
inline constexpr int IDC_NUMERO = 1003;
inline constexpr int IDC_LOCALIDAD = 1004;
inline constexpr int IDC_IMPORTE = 1005; // the "Importe" box: a copy of the total
inline constexpr int IDC_CONCEPTO1 = 1006;
inline constexpr int IDC_EUROS1 = 1007;
inline constexpr int IDC_BANNER = 1008;
inline constexpr int IDC_PESETAS1 = 1009;
inline constexpr int IDC_PAGADOR2 = 1010;
inline constexpr int IDC_COBRADOR1 = 1011;
inline constexpr int IDC_COBRADOR2 = 1012;
inline constexpr int IDC_DIA = 1013;
inline constexpr int IDC_PESETAS2 = 1014;
inline constexpr int IDC_VENCIMIENTO = 1015;
inline constexpr int IDC_BORRAR_TODO = 1019;
inline constexpr int IDC_CONCEPTO2 = 1020;
inline constexpr int IDC_EUROS2 = 1021;
inline constexpr int IDC_CONCEPTO3 = 1022;
inline constexpr int IDC_EUROS3 = 1023;
inline constexpr int IDC_CONCEPTO4 = 1024;
inline constexpr int IDC_EUROS4 = 1025;
inline constexpr int IDC_IVA_EUROS = 1026;
inline constexpr int IDC_RE_EUROS = 1027;
inline constexpr int IDC_TOTAL_EUROS = 1028;
inline constexpr int IDC_MES = 1029;
inline constexpr int IDC_ANIO = 1030;
inline constexpr int IDC_IRPF_EUROS = 1031;
inline constexpr int IDC_PESETAS3 = 1032;
inline constexpr int IDC_PESETAS4 = 1033;
inline constexpr int IDC_IVA_PESETAS = 1034;
inline constexpr int IDC_RE_PESETAS = 1035;
inline constexpr int IDC_IVA = 1036;
inline constexpr int IDC_TOTAL_PESETAS = 1037;
inline constexpr int IDC_RE = 1038;
inline constexpr int IDC_IRPF = 1039;
inline constexpr int IDC_IRPF_PESETAS = 1040;
inline constexpr int IDC_CONCEPTO5 = 1041;
inline constexpr int IDC_EUROS5 = 1042;
inline constexpr int IDC_PESETAS5 = 1043;
inline constexpr int IDC_VER_PESETAS = 1044;
inline constexpr int IDC_COLOR = 1045;
inline constexpr int IDC_RELLENO = 1046;

// The about box (template 100).
inline constexpr int IDC_CORREO = 1030;
inline constexpr int IDC_WEB = 1031;

} // namespace res
