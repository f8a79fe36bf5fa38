// "Emitir lista de recibos…": the window is made by the output module the first time it is
// asked for, with the form's receipt as it stands as the template of every row.
#include "form/TalveroDlg.h"
#include "receipt/Recibo.h"
#include "salida/Listas.h"
#include "salida/Modulo.h"

void CTalveroDlg::OnEmitirLista() {
    if (!lista_.Abierta()) {
        const salida::Modulo* modulo = Modulo();
        if (modulo == nullptr)
            return;
        lista_ = modulo->listas.Abrir(this, [this] { return ReciboDeLosControles(); });
        lista_.Widget()->setAttribute(Qt::WA_DeleteOnClose);
    }
    lista_.AlFrente();
}
