// "Emitir lista de recibos…": the window is made the first time it is asked for, with the
// form's receipt as it stands as the template of every row.
#include "form/TalveroDlg.h"
#include "lista/VentanaLista.h"

void CTalveroDlg::OnEmitirLista() {
    if (lista_.isNull()) {
        lista_ = new lista::VentanaLista([this] { return ReciboDeLosControles(); }, this);
        lista_->setAttribute(Qt::WA_DeleteOnClose);
    }
    lista_->show();
    lista_->raise();
    lista_->activateWindow();
}
