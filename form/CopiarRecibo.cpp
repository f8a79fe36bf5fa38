#include "form/CopiarRecibo.h"

#include "receipt/Recibo.h"
#include "register/NombreDeColor.h"

void CopiarAlFormulario(const CRecibo& rec, ReceiptFields& f) {
    f.m_Numero = rec.m_Numero;
    f.m_Localidad = rec.m_Localidad;
    f.m_Vencimiento = rec.m_Vencimiento;
    f.m_Concepto1 = rec.m_Concepto1;
    f.m_Concepto2 = rec.m_Concepto2;
    f.m_Concepto3 = rec.m_Concepto3;
    f.m_Concepto4 = rec.m_Concepto4;
    f.m_Concepto5 = rec.m_Concepto5;
    f.m_Importe1 = rec.m_Importe1;
    f.m_Importe2 = rec.m_Importe2;
    f.m_Importe3 = rec.m_Importe3;
    f.m_Importe4 = rec.m_Importe4;
    f.m_Importe5 = rec.m_Importe5;
    f.m_Iva = rec.m_Iva;
    f.m_Re = rec.m_Re;
    f.m_Irpf = rec.m_Irpf;
    f.m_Pagador1 = rec.m_Pagador1;
    f.m_Pagador2 = rec.m_Pagador2;
    f.m_Cobrador1 = rec.m_Cobrador1;
    f.m_Cobrador2 = rec.m_Cobrador2;
    f.m_Direccion = rec.m_Direccion;
    if (rec.m_Fecha.EsValida()) {
        f.m_Dia = rec.m_Fecha.Dia();
        f.m_Mes = moneda::NumeroAMes(rec.m_Fecha.Mes());
        f.m_Anio = rec.m_Fecha.Anio();
    }
    f.m_Color = registro::NombreDeColor(rec.m_ColorFondo);
    f.m_Relleno = registro::NombreDeRelleno(rec.m_Solido);
}
