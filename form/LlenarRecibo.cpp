#include "form/LlenarRecibo.h"

#include "receipt/Recibo.h"

void LlenarRecibo(const ReceiptFields& f, CRecibo& rec) {
    rec.m_Numero = f.m_Numero;
    rec.m_Cobrador1 = f.m_Cobrador1;
    rec.m_Cobrador2 = f.m_Cobrador2;
    rec.m_Direccion = f.m_Direccion;
    rec.m_Localidad = f.m_Localidad;
    rec.m_Vencimiento = f.m_Vencimiento;
    rec.m_Pagador1 = f.m_Pagador1;
    rec.m_Pagador2 = f.m_Pagador2;
    rec.m_Concepto1 = f.m_Concepto1;
    rec.m_Concepto2 = f.m_Concepto2;
    rec.m_Concepto3 = f.m_Concepto3;
    rec.m_Concepto4 = f.m_Concepto4;
    rec.m_Concepto5 = f.m_Concepto5;
    rec.m_Iva = f.m_Iva;
    rec.m_Re = f.m_Re;
    rec.m_Irpf = f.m_Irpf;
    rec.m_Importe1 = f.m_Importe1;
    rec.m_Importe2 = f.m_Importe2;
    rec.m_Importe3 = f.m_Importe3;
    rec.m_Importe4 = f.m_Importe4;
    rec.m_Importe5 = f.m_Importe5;
    rec.m_ImporteIva = f.m_ImporteIva;
    rec.m_ImporteIrpf = f.m_ImporteIrpf;
    rec.m_ImporteRe = f.m_ImporteRe;
    rec.m_Fecha = moneda::Fecha(f.m_Anio, moneda::MesANumero(f.m_Mes), f.m_Dia, 1, 1, 1);
    rec.m_Solido = EsRellenoSolido(f.m_Relleno) ? 1 : 0;
    rec.m_ColorFondo = ColorDeNombre(f.m_Color);
    rec.m_Logotipo = 0;
}
