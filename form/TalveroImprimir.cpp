// "&Imprimir": bring the members up to date, print them as one receipt, and show them
// again. The form stays open; nothing is saved or numbered.
#include "form/TalveroDlg.h"
#include "receipt/Recibo.h"

void CTalveroDlg::OnImprimir() {
    Recalculate();
    CollectAmounts();
    UpdateData(true); // a failed rule has shown its message; print what was read

    CRecibo rec;
    rec.m_Numero = m_Numero;
    rec.m_Cobrador1 = m_Cobrador1;
    rec.m_Cobrador2 = m_Cobrador2;
    rec.m_Direccion = m_Direccion;
    rec.m_Localidad = m_Localidad;
    rec.m_Vencimiento = m_Vencimiento;
    rec.m_Pagador1 = m_Pagador1;
    rec.m_Pagador2 = m_Pagador2;
    rec.m_Concepto1 = m_Concepto1;
    rec.m_Concepto2 = m_Concepto2;
    rec.m_Concepto3 = m_Concepto3;
    rec.m_Concepto4 = m_Concepto4;
    rec.m_Concepto5 = m_Concepto5;
    rec.m_Iva = m_Iva;
    rec.m_Re = m_Re;
    rec.m_Irpf = m_Irpf;
    rec.m_Importe1 = m_Importe1;
    rec.m_Importe2 = m_Importe2;
    rec.m_Importe3 = m_Importe3;
    rec.m_Importe4 = m_Importe4;
    rec.m_Importe5 = m_Importe5;
    rec.m_ImporteIva = m_ImporteIva;
    rec.m_ImporteIrpf = m_ImporteIrpf;
    rec.m_ImporteRe = m_ImporteRe;
    rec.m_Fecha = moneda::Fecha(m_Anio, moneda::MesANumero(m_Mes), m_Dia, 1, 1, 1);
    rec.m_Solido = EsRellenoSolido(m_Relleno) ? 1 : 0;
    rec.m_ColorFondo = ColorDeNombre(m_Color);
    rec.m_Logotipo = 0;

    rec.Imprimir();

    UpdateData(false);
    RefreshBanner();
}
