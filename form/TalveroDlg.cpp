#include "form/TalveroDlg.h"

#include "form/AboutDlg.h"
#include "form/KeypadComma.h"
#include "form/SavedSettings.h"
#include "platform/DataExchange.h"
#include "platform/SettingsStore.h"
#include "receipt/LimitesCampos.h"
#include "resources/links/Enlaces.h"
#include "resources/pictures/Pictures.h"
#include "resources/templates/Plantillas.h"
#include "resources/templates/Recursos.h"

#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>

using namespace res;
using platform::Notify;

// Who handles what. Escape and the close box reach OnCancel through reject(), like
// "&Cancelar". While the form is minimised the window manager shows the window icon, and
// a drag shows it too, so neither needs a handler here.
const platform::NotifyRow<CTalveroDlg> CTalveroDlg::kNotifications[] = {
    {Notify::SystemCommand, IDM_ACERCA, &CTalveroDlg::OnAcerca},
    {Notify::Clicked, IDOK, &CTalveroDlg::OnImprimir},
    {Notify::Clicked, IDC_BORRAR_TODO, &CTalveroDlg::OnBorrarTodo},
    {Notify::Clicked, IDC_BANNER, &CTalveroDlg::OnBanner},
    {Notify::TextChanged, IDC_PESETAS1, &CTalveroDlg::OnChangePesetas},
    {Notify::TextChanged, IDC_PESETAS2, &CTalveroDlg::OnChangePesetas},
    {Notify::TextChanged, IDC_PESETAS3, &CTalveroDlg::OnChangePesetas},
    {Notify::TextChanged, IDC_PESETAS4, &CTalveroDlg::OnChangePesetas},
    {Notify::TextChanged, IDC_PESETAS5, &CTalveroDlg::OnChangePesetas},
    {Notify::TextChanged, IDC_EUROS1, &CTalveroDlg::OnChangeEuros},
    {Notify::TextChanged, IDC_EUROS2, &CTalveroDlg::OnChangeEuros},
    {Notify::TextChanged, IDC_EUROS3, &CTalveroDlg::OnChangeEuros},
    {Notify::TextChanged, IDC_EUROS4, &CTalveroDlg::OnChangeEuros},
    {Notify::TextChanged, IDC_EUROS5, &CTalveroDlg::OnChangeEuros},
    {Notify::SelectionChanged, IDC_IVA, &CTalveroDlg::OnChangePercentage},
    {Notify::SelectionChanged, IDC_RE, &CTalveroDlg::OnChangePercentage},
    {Notify::SelectionChanged, IDC_IRPF, &CTalveroDlg::OnChangePercentage},
    {Notify::Clicked, IDC_VER_PESETAS, &CTalveroDlg::TogglePesetas},
    {Notify::FocusLost, IDC_EUROS1, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_EUROS2, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_EUROS3, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_EUROS4, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_EUROS5, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_PESETAS1, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_PESETAS2, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_PESETAS3, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_PESETAS4, &CTalveroDlg::OnKillFocusAmount},
    {Notify::FocusLost, IDC_PESETAS5, &CTalveroDlg::OnKillFocusAmount},
    {Notify::Clicked, IDCANCEL, &CTalveroDlg::OnCancel},
};

CTalveroDlg::CTalveroDlg() : platform::Dialog(plantillas::Formulario()) {
    setWindowTitle(windowTitle() + QString::fromStdString(enlaces::DireccionWeb()));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    m_hIcon = pictures::ApplicationIcon();
    Route(kNotifications);
    BuildMenuBar();

    auto* keypad = new KeypadComma(this);
    for (int id : {IDC_EUROS1, IDC_EUROS2, IDC_EUROS3, IDC_EUROS4, IDC_EUROS5, IDC_PESETAS1,
                   IDC_PESETAS2, IDC_PESETAS3, IDC_PESETAS4, IDC_PESETAS5})
        keypad->Watch(qobject_cast<QLineEdit*>(Item(id)));
}

CTalveroDlg::~CTalveroDlg() = default;

void CTalveroDlg::CapitalizeFields() {
    m_Localidad = moneda::CapitalizeFirst(m_Localidad);
    m_Pagador1 = moneda::CapitalizeFirst(m_Pagador1);
    m_Cobrador1 = moneda::CapitalizeFirst(m_Cobrador1);
}

void CTalveroDlg::DoDataExchange(platform::DataExchange& dx) {
    CapitalizeFields();
    dx.Attach(IDC_BANNER, m_BotonBanner);
    dx.Text(IDC_COBRADOR1, m_Cobrador1, limites::kCobrador);
    dx.Text(IDC_COBRADOR2, m_Cobrador2, limites::kCobrador);
    dx.Text(IDC_CONCEPTO1, m_Concepto1, limites::kConcepto);
    dx.Text(IDC_CONCEPTO2, m_Concepto2, limites::kConcepto);
    dx.Text(IDC_CONCEPTO3, m_Concepto3, limites::kConcepto);
    dx.Text(IDC_CONCEPTO4, m_Concepto4, limites::kConcepto);
    dx.Text(IDC_DIRECCION, m_Direccion, limites::kDireccion);
    dx.Integer(IDC_ANIO, m_Anio, limites::kAnioMinimo, limites::kAnioMaximo);
    dx.Text(IDC_NUMERO, m_Numero, limites::kNumero);
    dx.Text(IDC_PAGADOR1, m_Pagador1, limites::kPagador);
    dx.Text(IDC_PAGADOR2, m_Pagador2, limites::kPagador);
    dx.ListText(IDC_MES, m_Mes);
    dx.Integer(IDC_DIA, m_Dia, limites::kDiaMinimo, limites::kDiaMaximo);
    dx.Text(IDC_LOCALIDAD, m_Localidad, limites::kLocalidad);
    dx.Text(IDC_CONCEPTO5, m_Concepto5, limites::kConcepto);
    dx.CurrencyText(IDC_EUROS5, m_Importe5);
    dx.ListText(IDC_IRPF, m_Irpf, limites::kIrpf);
    dx.ListText(IDC_IVA, m_Iva, limites::kIva);
    dx.ListText(IDC_RE, m_Re, limites::kRe);
    dx.ListText(IDC_COLOR, m_Color);
    dx.ListText(IDC_RELLENO, m_Relleno);
    dx.Text(IDC_VENCIMIENTO, m_Vencimiento, limites::kVencimiento);
    CapitalizeFields();
}

void CTalveroDlg::OnOK() {}

void CTalveroDlg::OnCancel() {
    UpdateData(true); // a failed rule has shown its message; close all the same
    CollectAmounts();
    platform::SettingsStore store;
    saved_settings::WriteAtClose(store, *this);
    if (!store.Flush())
        MessageBoxExclamation("No se han podido guardar los ajustes: " + store.Problem());
    platform::Dialog::OnCancel();
}

void CTalveroDlg::OnAcerca() {
    CAboutDlg about(this);
    about.exec();
}
