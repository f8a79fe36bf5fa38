// "Emitir lista de recibos…": the window is made by the output module the first time it is
// asked for, with the form's receipt as it stands as the template of every row.
#include "form/TalveroDlg.h"
#include "salida/Salida.h"

void CTalveroDlg::OnEmitirLista() {
    if (lista_.isNull()) {
        salida::Salida* modulo = Modulo();
        if (modulo == nullptr)
            return;
        lista_ = modulo->AbrirLista(this, [this] { return ReciboDeLosControles(); });
        lista_->setAttribute(Qt::WA_DeleteOnClose);
    }
    lista_->show();
    lista_->raise();
    lista_->activateWindow();
}
