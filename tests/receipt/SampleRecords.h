// Records for the receipt tests, built the way the print command fills them.
#pragma once

#include "receipt/Recibo.h"

#include <cstdint>
#include <string>

namespace sample {

inline moneda::Currency Euros(std::int64_t cents) {
    return moneda::Currency(cents * 100);
}

// Concept lines 1..n, each with a text and an amount of k euros (k = 1..n).
inline void AddConcepts(CRecibo& r, int n) {
    std::string* textos[] = {&r.m_Concepto1, &r.m_Concepto2, &r.m_Concepto3, &r.m_Concepto4,
                             &r.m_Concepto5};
    moneda::Currency* importes[] = {&r.m_Importe1, &r.m_Importe2, &r.m_Importe3, &r.m_Importe4,
                                    &r.m_Importe5};
    for (int k = 0; k < n && k < 5; ++k) {
        *textos[k] = "Concepto " + std::to_string(k + 1);
        *importes[k] = Euros(100 * (k + 1));
    }
}

// The receipt used for the printed sample: two concepts, IVA and IRPF.
inline CRecibo Filled() {
    CRecibo r;
    r.m_Numero = "17";
    r.m_Localidad = "ZARAGOZA";
    r.m_Vencimiento = "A LA VISTA";
    r.m_Fecha = moneda::Fecha(2004, 3, 5, 1, 1, 1);
    r.m_Concepto1 = "Reparación de la caldera";
    r.m_Importe1 = Euros(12000);
    r.m_Concepto2 = "Piezas & material";
    r.m_Importe2 = Euros(3456);
    r.m_Iva = "16";
    r.m_ImporteIva = moneda::Currency(247296); // 16 % of 154,56 = 24,7296

    r.m_Irpf = "15";
    r.m_ImporteIrpf = moneda::Currency(-231840); // 15 % of 154,56 withheld = -23,184
    // Total: 154,56 + 24,7296 - 23,184 = 156,1056, printed 156,11.
    r.m_Direccion = "C/ Mayor, 12, 3º B - 50001 ZARAGOZA";
    r.m_Pagador1 = "COMUNIDAD DE PROPIETARIOS";
    r.m_Pagador2 = "C/ MAYOR, 12";
    r.m_Cobrador1 = "JUAN PÉREZ GARCÍA";
    r.m_Cobrador2 = "NIF 12345678-Z";
    return r;
}

} // namespace sample
