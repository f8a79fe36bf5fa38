// What the form does when it opens, and the peseta column that the opening and the user
// share.
#include "form/SavedSettings.h"
#include "form/TalveroDlg.h"
#include "platform/SettingsStore.h"
#include "platform/Today.h"
#include "resources/pictures/Pictures.h"
#include "resources/templates/Plantillas.h"
#include "resources/templates/Recursos.h"
#include "tipos/TiposGuardados.h"
#include "verifactu/Ajustes.h"

#include <QAction>
#include <QTimer>

#include <string>
#include <utility>

using namespace res;

bool CTalveroDlg::OnInitDialog() {
    platform::Dialog::OnInitDialog(); // the first load exchange; attaches the banner button

    if (const std::string_view acerca = plantillas::Cadena(IDS_ACERCA); !acerca.empty()) {
        // F1 belongs to the menu bar's "Acerca de Talvero…", which runs the same command.
        if (QAction* action = AppendSystemMenuItem(IDM_ACERCA, acerca))
            action->setShortcut(QKeySequence());
    }
    setWindowIcon(pictures::WindowIcon()); // m_hIcon at the sizes a window is drawn at

    platform::SettingsStore store;
    PonerListasDeTipos(tipos::Leer(store));
    saved_settings::ReadOpeningFirstGroup(store, *this);
    const platform::LocalDate today = platform::Today();
    m_Dia = today.dia;
    m_Mes = moneda::NumeroAMes(today.mes);
    m_Anio = today.anio;
    m_hBanner = nullptr;
    saved_settings::ReadOpeningSecondGroup(store, *this);

    UpdateData(false);
    ConservarPorcentajesCargados(false);
    m_VerPesetas = 1;
    TogglePesetas(); // the form always opens with the peseta column hidden
    RefreshBanner();
    ShowAmounts();

    // With VERI*FACTU on, what is pending goes once the form is up; read from the store
    // already open, so that a form without it opens its settings only once.
    if (verifactu::LeerAjustes(store).VigenteEl(HoyIso(today)))
        QTimer::singleShot(0, this, [this] { ArrancarEnvios(); });

    // A damaged settings file was set aside: say so once, over the open form.
    if (std::string notice = store.OpeningNotice(); !notice.empty()) {
        QTimer::singleShot(0, this,
                           [this, notice = std::move(notice)] { MessageBoxExclamation(notice); });
    }
    return true;
}

void CTalveroDlg::TogglePesetas() {
    bool show = false;
    int conceptWidth = 0;
    if (m_VerPesetas == 1) {
        m_VerPesetas = 0;
        show = false;
        conceptWidth = 315; // over the peseta column, up to the euro column
    } else {
        m_VerPesetas = 1;
        show = true;
        conceptWidth = 255; // up to the peseta column
    }

    for (int id : {IDC_PESETAS1, IDC_PESETAS2, IDC_PESETAS3, IDC_PESETAS4, IDC_PESETAS5,
                   IDC_IVA_PESETAS, IDC_RE_PESETAS, IDC_IRPF_PESETAS, IDC_TOTAL_PESETAS})
        ShowItem(id, show);

    // From the last row up, euro edit first: pixels of the client area.
    struct Row {
        int euros;
        int concepto;
        int y;
    };
    constexpr Row kRows[] = {
        {IDC_EUROS5, IDC_CONCEPTO5, 171}, {IDC_EUROS4, IDC_CONCEPTO4, 148},
        {IDC_EUROS3, IDC_CONCEPTO3, 125}, {IDC_EUROS2, IDC_CONCEPTO2, 102},
        {IDC_EUROS1, IDC_CONCEPTO1, 80},
    };
    for (const Row& row : kRows) {
        MoveItem(row.euros, 322, row.y, 62, 23);
        MoveItem(row.concepto, 7, row.y, conceptWidth, 23);
    }

    SetItemText(IDC_VER_PESETAS, m_VerPesetas == 1 ? "Ocultar Pts" : "Ver Pts");
    RefreshBanner();
}
