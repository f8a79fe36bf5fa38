#include "MuestrasFactura.h"

#include "receipt/Impuestos.h"

namespace muestra {

registro::Facturacion Emisor() {
    registro::Facturacion f;
    f.emisorNif = "12345678Z";
    f.emisorNombre = "TALLERES GIL SL";
    f.instalacion = "prueba-1";
    f.produccion = false;
    f.hoy = QDate(2026, 1, 20);
    return f;
}

CRecibo Factura(const std::string& numero, std::int64_t base, const std::string& iva,
                const std::string& re, const std::string& irpf, const std::string& pagador2) {
    CRecibo r;
    r.m_Numero = numero;
    r.m_Localidad = "HUESCA";
    r.m_Fecha = moneda::Fecha(2026, 1, 15, 1, 1, 1);
    r.m_Concepto1 = "Alquiler del local, enero";
    r.m_Importe1 = moneda::Currency(base * 100);
    r.m_Iva = iva;
    r.m_Re = re;
    r.m_Irpf = irpf;
    const recibo::Impuestos t = recibo::CalcularImpuestos(
        {r.m_Importe1, r.m_Importe2, r.m_Importe3, r.m_Importe4, r.m_Importe5}, iva, re, irpf);
    r.m_ImporteIva = recibo::AlCentimo(t.iva);
    r.m_ImporteRe = recibo::AlCentimo(t.re);
    r.m_ImporteIrpf = recibo::AlCentimo(t.irpf);
    r.m_Pagador1 = "ANA PÉREZ GIL";
    r.m_Pagador2 = pagador2;
    r.m_Cobrador1 = "TALLERES GIL SL";
    return r;
}

} // namespace muestra
