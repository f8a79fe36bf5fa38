// "Tipos impositivos…": the user chooses the items of the three percentage lists. The
// window is built when it is opened; the lists are stored at once and the form's lists
// follow, each keeping its selected percentage.
#include "form/TalveroDlg.h"
#include "platform/SettingsStore.h"
#include "resources/templates/Recursos.h"
#include "tipos/DialogoTipos.h"
#include "tipos/TiposGuardados.h"

#include <algorithm>

using namespace res;

namespace {

int ListaDe(tipos::Impuesto impuesto) {
    switch (impuesto) {
    case tipos::Impuesto::Iva:
        return IDC_IVA;
    case tipos::Impuesto::Re:
        return IDC_RE;
    case tipos::Impuesto::Irpf:
        return IDC_IRPF;
    }
    return 0;
}

bool Contiene(const std::vector<std::string>& items, const std::string& item) {
    return std::find(items.begin(), items.end(), item) != items.end();
}

} // namespace

void CTalveroDlg::OnTiposImpositivos() {
    platform::SettingsStore store;
    tipos::DialogoTipos dialogo(tipos::Leer(store), this);
    if (dialogo.exec() != QDialog::Accepted)
        return;
    const tipos::Listas listas = dialogo.Elegidas();
    tipos::Escribir(store, listas);
    if (!store.Flush())
        MessageBoxExclamation("No se han podido guardar los ajustes: " + store.Problem());
    PonerListasDeTipos(listas);
    Recalculate();
}

void CTalveroDlg::PonerListasDeTipos(const tipos::Listas& listas) {
    listas_ = listas;
    for (const tipos::Impuesto impuesto : tipos::kImpuestos) {
        const int id = ListaDe(impuesto);
        const std::string elegido = ListSelectedText(id);
        std::vector<std::string> items = listas[static_cast<int>(impuesto)];
        for (const std::string& conservado : conservados_[static_cast<int>(impuesto)]) {
            if (!Contiene(items, conservado))
                items.push_back(conservado);
        }
        SetListEntries(id, items);
        ConservarPorcentaje(impuesto, elegido);
    }
}

void CTalveroDlg::ConservarPorcentajesCargados(bool deUnRecibo) {
    const std::pair<tipos::Impuesto, const std::string*> cargados[] = {
        {tipos::Impuesto::Iva, &m_Iva},
        {tipos::Impuesto::Re, &m_Re},
        {tipos::Impuesto::Irpf, &m_Irpf}};
    for (const auto& [impuesto, texto] : cargados) {
        // The load selected an item that the text begins with, when there was one.
        if (texto->empty() || SelectListPrefix(ListaDe(impuesto), *texto))
            continue;
        if (deUnRecibo || !tipos::SonOriginales(impuesto, listas_[static_cast<int>(impuesto)]))
            ConservarPorcentaje(impuesto, *texto);
    }
}

void CTalveroDlg::ConservarPorcentaje(tipos::Impuesto impuesto, const std::string& porcentaje) {
    const int id = ListaDe(impuesto);
    // Not a percentage the computation reads: nothing to keep, as before the lists could
    // be chosen (the list keeps its selection, and none counts as 0 %).
    const std::optional<std::string> item = tipos::Normalizar(impuesto, porcentaje);
    if (!item || SelectListEntry(id, *item))
        return;
    AddListEntry(id, *item);
    SelectListEntry(id, *item);
    std::vector<std::string>& conservados = conservados_[static_cast<int>(impuesto)];
    if (!Contiene(conservados, *item))
        conservados.push_back(*item);
}
