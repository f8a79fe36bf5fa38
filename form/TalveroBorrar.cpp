// "&Borrar Todo": an empty receipt with the collector, place, due date, percentages,
// colour and fill as they were saved at the last close, and today's date. Asks nothing
// and writes nothing to the settings.
#include "form/SavedSettings.h"
#include "form/TalveroDlg.h"
#include "platform/SettingsStore.h"
#include "platform/Today.h"

void CTalveroDlg::OnBorrarTodo() {
    m_Cobrador1.clear();
    m_Cobrador2.clear();
    m_Concepto1.clear();
    m_Concepto2.clear();
    m_Concepto3.clear();
    m_Concepto4.clear();
    m_Direccion.clear();
    m_Anio = 0;
    m_Importe1 = m_Importe2 = m_Importe3 = m_Importe4 = moneda::Currency(0);

    m_Numero.clear();
    m_Pagador1.clear();
    m_Pagador2.clear();
    m_Mes.clear();
    m_Dia = 0;
    m_Localidad.clear();
    m_Vencimiento.clear();
    m_Concepto5.clear();
    m_Importe5 = moneda::Currency(0);
    m_Irpf.clear();
    m_Iva.clear();
    m_Re.clear();

    m_ImporteRe = m_ImporteIrpf = m_ImporteIva = m_Importe = m_Total = moneda::Currency(0);

    const platform::SettingsStore store;
    saved_settings::ReadForClearAll(store, *this);

    const platform::LocalDate today = platform::Today();
    m_Dia = today.dia;
    m_Mes = moneda::NumeroAMes(today.mes);
    m_Anio = today.anio;

    UpdateData(false);
    ConservarPorcentajesCargados(false);
    // Loading the edits can change the focused amount edit's pair, and that change
    // recalculates, which reads the old amounts on the form back into the members. The new
    // receipt's amounts are zero whichever edit has the focus.
    m_Importe1 = m_Importe2 = m_Importe3 = m_Importe4 = m_Importe5 = moneda::Currency(0);
    ShowAmounts();
    RefreshBanner();
}
