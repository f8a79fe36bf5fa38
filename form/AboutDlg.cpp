#include "form/AboutDlg.h"

#include "platform/Links.h"
#include "resources/links/Enlaces.h"
#include "resources/templates/Plantillas.h"
#include "resources/templates/Recursos.h"

using platform::Notify;

// "Aceptar" ends the box like Escape and the close box do.
const platform::NotifyRow<CAboutDlg> CAboutDlg::kNotifications[] = {
    {Notify::Clicked, res::IDOK, &CAboutDlg::OnOK},
    {Notify::Clicked, res::IDC_CORREO, &CAboutDlg::OnCorreo},
    {Notify::Clicked, res::IDC_WEB, &CAboutDlg::OnWeb},
};

CAboutDlg::CAboutDlg(QWidget* parent) : platform::Dialog(plantillas::Acerca(), parent) {
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Route(kNotifications);
}

bool CAboutDlg::OnInitDialog() {
    platform::Dialog::OnInitDialog();
    SetItemText(res::IDC_CORREO, enlaces::DireccionCorreo());
    SetItemText(res::IDC_WEB, enlaces::DireccionWeb());
    return true;
}

void CAboutDlg::OnCorreo() {
    platform::OpenLink(enlaces::Correo());
}

void CAboutDlg::OnWeb() {
    platform::OpenLink(enlaces::Web());
}
